#include "cli/automaton_answers.h"

#include "analysis/automaton_regex.h"
#include "analysis/check_automaton.h"
#include "analysis/compare_automata.h"
#include "analysis/dot_text.h"
#include "analysis/minimize_automaton.h"
#include "analysis/regex_automaton.h"
#include "analysis/string_lists.h"
#include "cli/run_options.h"
#include "document/escaped_line.h"
#include "document/jff_writer.h"
#include "document/tw_writer.h"

namespace {

// One result line: the escaped string, then each verdict after a tab.
void appendResultLine(QByteArray &out, const QString &string, std::initializer_list<Analysis::Verdict> verdicts)
{
    EscapedLine::append(out, string.toUtf8());
    for (const Analysis::Verdict verdict : verdicts)
        out += '\t' + verdictText(verdict).toLatin1();
    out += '\n';
}

QByteArray stringList(const QStringList &strings, Analysis::Verdict verdict)
{
    QByteArray out;
    for (const QString &string : strings)
        appendResultLine(out, string, {verdict});
    return out;
}

AutomatonAnswer refused(const QString &why)
{
    return {{}, why, 2};
}

} // namespace

AutomatonAnswer answerFromRegex(const RunOptions &options)
{
    const QString expression = QString::fromLocal8Bit(options.expression);
    // An empty --alphabet gives none: the expression's own characters are the alphabet.
    std::optional<QString> alphabet;
    if (options.alphabet && !options.alphabet->isEmpty())
        alphabet = QString::fromLocal8Bit(*options.alphabet);
    const Analysis::RegexAutomaton made = Analysis::automatonFromRegex(expression, alphabet);
    if (made.error)
        return refused(made.error->message());
    return {automatonBytes(made.automaton), {}, 0};
}

AutomatonAnswer answerAbout(const RunOptions &options, const modAll &automaton, const modAll &other)
{
    const Analysis::Escape escape = qOverload<QStringView>(&EscapedLine::escape);
    AutomatonAnswer answer;
    switch (options.action) {
    case RunOptions::Action::Check:
        answer.output = Analysis::checkReportText(Analysis::checkAutomaton(automaton), escape).toUtf8();
        break;
    case RunOptions::Action::Compare: {
        const Analysis::CompareResult compared = Analysis::compareAutomata(automaton, other);
        if (!compared.equivalent) {
            appendResultLine(answer.output, compared.counterexample, {compared.thisVerdict, compared.otherVerdict});
            answer.status = 1;
        }
        break;
    }
    case RunOptions::Action::Minimize: {
        const Analysis::MinimizeResult minimized = Analysis::minimizeAutomaton(automaton);
        if (minimized.refused())
            return refused(minimized.refusal);
        answer.output = automatonBytes(minimized.automaton);
        break;
    }
    case RunOptions::Action::Accepted:
        answer.output = stringList(Analysis::acceptedStrings(automaton, options.count), Analysis::Verdict::Accepted);
        break;
    case RunOptions::Action::Rejected:
        answer.output = stringList(Analysis::rejectedStrings(automaton, options.count), Analysis::Verdict::Rejected);
        break;
    case RunOptions::Action::Dot:
        answer.output = DotText::dotText(automaton).toUtf8();
        break;
    case RunOptions::Action::ToRegex: {
        const Analysis::AutomatonRegex regex = Analysis::automatonRegex(automaton);
        if (regex.refused())
            return refused(regex.refusal);
        answer.output = regex.expression.toUtf8() + '\n';
        break;
    }
    case RunOptions::Action::ToJff: {
        const TwResult<QByteArray> written = jffBytes(automaton);
        if (!written.ok())
            return refused(written.failure().message());
        answer.output = written.value();
        break;
    }
    case RunOptions::Action::FromRegex:
    case RunOptions::Action::RunStrings:
    case RunOptions::Action::Expect:
    case RunOptions::Action::Help:
    case RunOptions::Action::Refuse:
        break;
    }
    return answer;
}
