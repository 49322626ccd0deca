#include "cli/automaton_answers.h"

#include "analysis/automaton_regex.h"
#include "analysis/check_automaton.h"
#include "analysis/compare_automata.h"
#include "analysis/dot_text.h"
#include "analysis/minimize_automaton.h"
#include "analysis/regex_automaton.h"
#include "analysis/string_lists.h"
#include "cli/buffered_output.h"
#include "cli/run_options.h"
#include "document/escaped_line.h"
#include "document/jff_writer.h"
#include "document/tw_writer.h"

namespace {

// One result line: the escaped string, then each column after a tab.
QByteArray resultLine(const QString &string, const QStringList &columns)
{
    QByteArray line;
    EscapedLine::append(line, string.toUtf8());
    for (const QString &column : columns)
        line += '\t' + column.toUtf8();
    return line + '\n';
}

// Writes each string found as a result line with `verdict`, as it is found.
std::function<bool(const QString &)> listedAs(Analysis::Verdict verdict, BufferedOutput &out)
{
    return [verdict, &out](const QString &string) { return out.put(resultLine(string, {verdictText(verdict)})); };
}

AutomatonAnswer refused(const QString &why)
{
    return {why, 2};
}

} // namespace

AutomatonAnswer answerFromRegex(const RunOptions &options, BufferedOutput &out)
{
    const QString expression = QString::fromLocal8Bit(options.expression);
    // An empty --alphabet gives none: the expression's own characters are the alphabet.
    std::optional<QString> alphabet;
    if (options.alphabet && !options.alphabet->isEmpty())
        alphabet = QString::fromLocal8Bit(*options.alphabet);
    const Analysis::RegexAutomaton made = Analysis::automatonFromRegex(expression, alphabet);
    if (made.error)
        return refused(made.error->message());
    out.put(automatonBytes(made.automaton));
    return {};
}

AutomatonAnswer answerAbout(const RunOptions &options, const modAll &automaton, const modAll &other, BufferedOutput &out)
{
    const Analysis::Escape escape = qOverload<QStringView>(&EscapedLine::escape);
    AutomatonAnswer answer;
    switch (options.action) {
    case RunOptions::Action::Check:
        out.put(Analysis::checkReportText(Analysis::checkAutomaton(automaton), escape).toUtf8());
        break;
    case RunOptions::Action::Compare: {
        const Analysis::CompareResult compared = Analysis::compareAutomata(automaton, other);
        if (!compared.equivalent) {
            // At most one of the two verdicts is ERROR, so its reason has the
            // fourth column to itself, as --expect gives it.
            QStringList columns{verdictText(compared.otherVerdict), verdictText(compared.thisVerdict)};
            if (const QString reason = compared.otherErrorReason(escape) + compared.thisErrorReason(escape); !reason.isEmpty())
                columns.append(reason);
            out.put(resultLine(compared.counterexample, columns));
            answer.status = 1;
        }
        break;
    }
    case RunOptions::Action::Minimize: {
        const Analysis::MinimizeResult minimized = Analysis::minimizeAutomaton(automaton);
        if (minimized.refused())
            return refused(minimized.refusal);
        out.put(automatonBytes(minimized.automaton));
        break;
    }
    case RunOptions::Action::Accepted:
        Analysis::forAcceptedStrings(automaton, options.count, listedAs(Analysis::Verdict::Accepted, out));
        break;
    case RunOptions::Action::Rejected:
        Analysis::forRejectedStrings(automaton, options.count, listedAs(Analysis::Verdict::Rejected, out));
        break;
    case RunOptions::Action::Dot:
        DotText::writeDotText(automaton, [&out](const QString &text) { return out.put(text.toUtf8()); });
        break;
    case RunOptions::Action::ToRegex: {
        const Analysis::AutomatonRegex regex = Analysis::automatonRegex(automaton);
        if (regex.refused())
            return refused(regex.refusal);
        out.put(regex.expression.toUtf8() + '\n');
        break;
    }
    case RunOptions::Action::ToJff: {
        const TwResult<QByteArray> written = jffBytes(automaton);
        if (!written.ok())
            return refused(written.failure().message());
        out.put(written.value());
        break;
    }
    case RunOptions::Action::FromRegex:
    case RunOptions::Action::RunStrings:
    case RunOptions::Action::Expect:
    case RunOptions::Action::Grade:
    case RunOptions::Action::Count:
    case RunOptions::Action::Only:
    case RunOptions::Action::Help:
    case RunOptions::Action::Version:
    case RunOptions::Action::Refuse:
        break;
    }
    return answer;
}
