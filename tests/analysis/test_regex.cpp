// Regular expressions: the automaton of an expression against std::regex
// (ECMAScript, the whole string matched) on every short string, the
// expression of an automaton read back and run against the automaton itself
// on every short string, the exact automata and expressions of chosen cases,
// and each refusal with its message.

#include "analysis/automaton_regex.h"
#include "analysis/regex_automaton.h"
#include "analysis/subset_construction.h"
#include "brute_runs.h"
#include "test_automata.h"

#include <QRandomGenerator>
#include <QTest>

#include <regex>

using Analysis::automatonFromRegex;
using Analysis::automatonRegex;

namespace {

QString refusal(const QString &expression, const QString &alphabet = {}, int stateLimit = 32767)
{
    const Analysis::RegexAutomaton made =
        automatonFromRegex(expression, alphabet.isEmpty() ? std::nullopt : std::optional<QStringView>(alphabet), stateLimit);
    return made.error ? made.error->message() : QStringLiteral("(built)");
}

// (a|b)*a followed by n times (a|b): the (n+1)-th symbol from the end is a.
QString fromTheEnd(int n)
{
    return QStringLiteral("(a|b)*a") + QStringLiteral("(a|b)").repeated(n);
}

// A random expression of what std::regex reads alike: a, b and c, |, groups,
// (), and one postfix operator at most on an item.
QString randomExpression(QRandomGenerator &random, int depth)
{
    QString text;
    const int alternatives = 1 + random.bounded(depth > 0 ? 3 : 2);
    for (int a = 0; a < alternatives; ++a) {
        if (a > 0)
            text += u'|';
        const int items = random.bounded(4);
        for (int i = 0; i < items; ++i) {
            const int kind = random.bounded(depth > 0 ? 6 : 4);
            if (kind < 3)
                text += QChar(u'a' + kind);
            else if (kind == 3)
                text += QStringLiteral("()");
            else
                text += u'(' + randomExpression(random, depth - 1) + u')';
            const int postfix = random.bounded(6);
            if (postfix < 3)
                text += QStringLiteral("*+?")[postfix];
        }
    }
    return text;
}

// An automaton as users leave them: up to `most` states (none at times), symbols
// drawn from `pool` with repeats and now and then one of two characters, cells
// that stay (0), and targets outside the states.
modAll randomAutomaton(QRandomGenerator &random, const QString &pool, int most)
{
    const int states = random.bounded(most + 1);
    QStringList names, finals, symbols;
    for (int s = 0; s < states; ++s) {
        names.append(QStringLiteral("s%1").arg(s));
        if (random.bounded(3) == 0)
            finals.append(names.last());
    }
    const int symbolCount = 1 + random.bounded(4);
    for (int j = 0; j < symbolCount; ++j)
        symbols.append(random.bounded(8) == 0 ? pool.left(2) : QString(pool[random.bounded(int(pool.size()))]));
    QList<QList<qint16>> rows;
    for (int s = 0; s < states; ++s) {
        QList<qint16> row;
        for (int j = 0; j < symbolCount; ++j)
            row.append(qint16(random.bounded(-1, states + 3)));
        rows.append(row);
    }
    return makeAutomaton(names, finals, symbols, rows, qint16(states > 0 && random.bounded(10) == 0 ? states : 0));
}

// libstdc++'s backtracking matcher takes exponential time on stars inside
// stars; its breadth-first one gives the same answers in polynomial time.
#ifdef __GLIBCXX__
constexpr std::regex::flag_type referenceSyntax = std::regex::ECMAScript | std::regex_constants::__polynomial;
#else
constexpr std::regex::flag_type referenceSyntax = std::regex::ECMAScript;
#endif

} // namespace

class TestRegex : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusals_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("alphabet");
        QTest::addColumn<QString>("message");

        QTest::newRow(") without (") << "(ab|c))" << "" << "Position 7: ')' without '('";
        QTest::newRow("( without ): the one still open") << "a((b)" << "" << "Position 2: '(' without ')'";
        QTest::newRow("* first") << "*a" << "" << "Position 1: '*' has nothing before it to repeat";
        QTest::newRow("+ after |") << "a|+b" << "" << "Position 3: '+' has nothing before it to repeat";
        QTest::newRow("? after (") << "(?a)" << "" << "Position 2: '?' has nothing before it to repeat";
        QTest::newRow("\\ last") << "ab\\" << "" << "Position 3: '\\' at the end has no character to make literal";
        QTest::newRow("\\ last in a class") << "[a\\" << "" << "Position 3: '\\' at the end has no character to make literal";
        QTest::newRow("[ without ]") << "x[ab" << "" << "Position 2: '[' without ']'";
        QTest::newRow("an empty class") << "x[]" << "" << "Position 2: the class names no character";
        QTest::newRow("an empty negated class") << "[^]" << "ab" << "Position 1: the class names no character";
        QTest::newRow("a backward range") << "a[xc-a]" << "" << "Position 4: the range c-a runs backwards";
        QTest::newRow(". without an alphabet") << "a.b" << ""
            << "Position 2: '.' stands for any symbol of the alphabet, so it needs an alphabet to be given";
        QTest::newRow("[^ without an alphabet") << "b[^a]" << ""
            << "Position 2: '[^' stands for the symbols of the alphabet outside the class, so it needs an alphabet "
               "to be given";
        QTest::newRow("a character outside the alphabet") << "a(b|c)" << "ab" << "Position 5: 'c' is not in the alphabet";
        QTest::newRow("an escaped one in a class") << "[a\\z]" << "ab" << "Position 4: 'z' is not in the alphabet";
        QTest::newRow("the position counts characters") << "😀😀)" << "" << "Position 3: ')' without '('";
        QTest::newRow("10,001 characters") << QString(10001, u'a') << ""
                                           << "the expression has 10001 characters, more than the 10000 Tarnwell reads";
        QTest::newRow("a class of too many characters") << QStringLiteral("[\u0100-\uffff]") << ""
            << "the expression names more than 32767 characters, the most an alphabet can have";
        QString alphabet;
        for (char16_t c = 0x100; c < 0x100 + 32768; ++c)
            alphabet += QChar(c);
        QTest::newRow("an alphabet of too many characters") << "a" << alphabet
                                                            << "the alphabet has more than 32767 characters, the most it can have";
        QTest::newRow("65,536 states: past the limit") << fromTheEnd(15) << ""
            << "the automaton would need more than 32767 states, the most a Tarnwell automaton can have";
    }

    void refusals()
    {
        QFETCH(QString, expression);
        QFETCH(QString, alphabet);
        QFETCH(QString, message);
        QCOMPARE(refusal(expression, alphabet), message);
    }

    void limitsBuild()
    {
        // 10,000 characters are read; 2^14 states are built; a lower limit is kept.
        QCOMPARE(refusal(QString(10000, u'a')), QStringLiteral("(built)"));
        QCOMPARE(automatonFromRegex(fromTheEnd(13)).automaton.state_count, qint16(16384));
        QCOMPARE(refusal(fromTheEnd(7), {}, 255),
                 QStringLiteral("the automaton would need more than 255 states, the most a Tarnwell automaton can have"));
        QCOMPARE(refusal(fromTheEnd(7), {}, 256), QStringLiteral("(built)"));
    }

    // The subset construction stops at each of its limits with its reason.
    void constructionLimits_data()
    {
        QTest::addColumn<int>("states");
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("moves");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("states") << 100 << (1 << 24) << (1 << 30)
                                << "the automaton would need more than 100 states, the most a Tarnwell automaton can have";
        QTest::newRow("memory") << 32767 << 1024 << (1 << 30) << "the automaton would take more than 4 KiB of memory to build";
        QTest::newRow("time") << 32767 << (1 << 24) << 1000
                              << "the automaton would take too long to build: its states are joined in too many ways";
        QTest::newRow("none reached") << 32767 << (1 << 24) << (1 << 30) << "";
    }

    void constructionLimits()
    {
        QFETCH(int, states);
        QFETCH(int, cells);
        QFETCH(int, moves);
        QFETCH(QString, refusal);
        std::vector<int> classOf;
        const Analysis::Nfa nfa = Analysis::regexNfa(Analysis::parseRegex(fromTheEnd(7)).regex, classOf);
        const Analysis::Determinized dfa = Analysis::determinize(nfa, states, size_t(cells), quint64(moves));
        QCOMPARE(dfa.refusal, refusal);
        QCOMPARE(dfa.stateCount, refusal.isEmpty() ? 256 : 0);
    }

    void automata_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("alphabet");
        QTest::addColumn<QString>("automaton");

        QTest::newRow("divisible by 3, states breadth-first") << "(0|1(01*0)*1)*" << ""
                                                              << "01 | start 0 | q0*: q0 q1 | q1: q2 q0 | q2: q1 q2";
        QTest::newRow("a dead state when the language needs one") << "a*" << "ab" << "ab | start 0 | q0*: q0 q1 | q1: q1 q1";
        QTest::newRow("none when it does not") << "(a|b)*" << "" << "ab | start 0 | q0*: q0 q0";
        QTest::newRow("breadth-first in the given alphabet's order") << "ab*" << "ba"
                                                                     << "ba | start 0 | q0: q1 q2 | q1: q1 q1 | q2*: q2 q1";
        QTest::newRow("the empty language") << "∅" << "" << " | start 0 | q0:";
        QTest::newRow("the empty string over an alphabet") << "ε" << "a" << "a | start 0 | q0*: q1 | q1: q1";
        QTest::newRow("() is the empty string, | alone too") << "a(|())" << "" << "a | start 0 | q0: q1 | q1*: q2 | q2: q2";
        QTest::newRow("operators in a row: the loosest") << "a+?b**" << "" << "ab | start 0 | q0*: q0 q1 | q1*: q2 q1 | q2: q2 q2";
        QTest::newRow("a class, a range, an escape, code point order") << "[a-c]x|\\*" << ""
            << "*abcx | start 0 | q0: q1 q2 q2 q2 q3 | q1*: q3 q3 q3 q3 q3 | q2: q3 q3 q3 q3 q1 | q3: q3 q3 q3 q3 q3";
        QTest::newRow("a range takes the alphabet's characters in it") << "[a-z]" << "a1z" << "a1z | start 0 | q0: q1 q2 q1 | q1*: q2 q2 q2 | q2: q2 q2 q2";
        QTest::newRow("a negated class and any symbol") << "[^a]." << "abc"
            << "abc | start 0 | q0: q1 q2 q2 | q1: q1 q1 q1 | q2: q3 q3 q3 | q3*: q1 q1 q1";
        QTest::newRow("special characters escaped in a class") << "[\\]\\-^]+" << ""
                                                               << "-]^ | start 0 | q0: q1 q1 q1 | q1*: q1 q1 q1";
        QTest::newRow("ε and ∅ inside an expression") << "a(ε|∅b)c∅?" << "" << "abc | start 0 | q0: q1 q2 q2 | q1: q2 q2 q3 | q2: q2 q2 q2 | q3*: q2 q2 q2";
        QTest::newRow("a character beyond 16 bits is one symbol") << "😀+" << "" << "😀 | start 0 | q0: q1 | q1*: q1";
    }

    void automata()
    {
        QFETCH(QString, expression);
        QFETCH(QString, alphabet);
        QFETCH(QString, automaton);
        const Analysis::RegexAutomaton made =
            automatonFromRegex(expression, alphabet.isEmpty() ? std::nullopt : std::optional<QStringView>(alphabet));
        QCOMPARE(made.error ? made.error->message() : QString(), QString());
        QCOMPARE(tableLine(made.automaton), automaton);
        QCOMPARE(made.automaton.comment, QStringLiteral("From the expression ") + expression);
        QVERIFY(made.automaton.is_untitled && !made.automaton.is_saved);
    }

    // Every string of a, b and c up to 6 characters, for random expressions:
    // ACCEPTED exactly when std::regex matches the whole string.
    void againstStdRegex()
    {
        QRandomGenerator random(20240601);
        for (int round = 0; round < 250; ++round) {
            const QString expression = randomExpression(random, 3);
            const std::regex reference(expression.toStdString(), referenceSyntax);
            const Analysis::RegexAutomaton made = automatonFromRegex(expression, QStringView(u"abc"));
            QVERIFY2(!made.error, qPrintable(expression));
            const BruteRuns runs = bruteForce(made.automaton, QStringLiteral("abc"), 6);
            QByteArray expected;
            for (qsizetype i = 0; i < runs.verdicts.size(); ++i)
                expected += std::regex_match(runs.text(i).toStdString(), reference) ? 'A' : 'R';
            QCOMPARE(expression + u' ' + runs.verdicts, expression + u' ' + expected);
        }
    }

    // Without an alphabet, a character the expression does not name gives ERROR.
    void ownCharactersOnly()
    {
        const modAll m = automatonFromRegex(u"(ab|c)*").automaton;
        QCOMPARE(bruteForce(m, QStringLiteral("abcd"), 2).verdicts, QByteArray("ARRAERARERRRERRAEEEEE"));
    }

    void expressions_data()
    {
        QTest::addColumn<modAll>("automaton");
        QTest::addColumn<QString>("expression");

        const auto built = [](const char *expression, const char *alphabet) {
            return automatonFromRegex(QString::fromUtf8(expression), QString::fromUtf8(alphabet)).automaton;
        };
        QTest::newRow("divisible by 3") << built("(0|1(01*0)*1)*", "01") << "(0|1(01*0)*1)*";
        QTest::newRow("even number of a") << built("(b|ab*a)*", "ab") << "(b|ab*a)*";
        QTest::newRow("no states: nothing") << modAll() << "∅";
        QTest::newRow("nothing final") << built("∅", "ab") << "∅";
        QTest::newRow("the empty string") << built("ε", "ab") << "ε";
        QTest::newRow("every string: .*") << built("(a|b)*", "ab") << ".*";
        QTest::newRow("a range of neighbours") << built("[a-c]x", "abcdx") << "[a-c]x";
        QTest::newRow("the shorter class: negated") << built("[b-f]", "abcdef") << "[^a]";
        QTest::newRow("x x* is x+") << built("(ab)(ab)*", "ab") << "(ab)+";
        QTest::newRow("optional") << built("ab?", "ab") << "ab?";
        QTest::newRow("operators escaped") << built("\\*(\\.|\\|)", "*.|") << "\\*[.|]";
        QTest::newRow("class characters escaped in a class") << built("[\\]\\-^]", "-]^acegik") << "[\\-\\]\\^]";
        QTest::newRow("ε and ∅ as symbols, not special in a class") << built("\\ε|\\∅", "ε∅a") << "[ε∅]";
        QTest::newRow("ε as a symbol escaped") << built("\\εa", "εa") << "\\εa";
    }

    void expressions()
    {
        QFETCH(modAll, automaton);
        QFETCH(QString, expression);
        const Analysis::AutomatonRegex regex = automatonRegex(automaton);
        QCOMPARE(regex.refusal, QString());
        QCOMPARE(regex.expression, expression);
    }

    void expressionRefusals_data()
    {
        QTest::addColumn<modAll>("automaton");
        QTest::addColumn<QString>("refusal");

        modAll noStart = endsInA();
        noStart.start_state = -1;
        QTest::newRow("no valid start state") << noStart
            << "The start state is not valid, so every string gives ERROR and no expression describes what the "
               "automaton accepts. Choose a start state first.";
        QTest::newRow("too long") << randomAutomaton(60, 1) << "the expression would be longer than 1,000,000 characters";
        // 11,000 states by 100 symbols, each cell a random state: over a million arcs.
        modAll tangled;
        tangled.state_count = 11000;
        tangled.symbol_count = 100;
        QRandomGenerator random(9);
        for (int s = 0; s <= tangled.state_count; ++s) {
            tangled.states.append({QStringLiteral("s%1").arg(s), random.bounded(2) == 0});
            QList<qint16> row;
            for (int j = 0; j <= tangled.symbol_count; ++j)
                row.append(qint16(random.bounded(1, tangled.state_count + 1)));
            tangled.transitions.append(row);
        }
        for (int j = 0; j <= tangled.symbol_count; ++j)
            tangled.symbols.append(QString(QChar(0x100 + j)));
        QTest::newRow("states joined in too many ways") << tangled
            << "the automaton's states are joined in too many ways for an expression of a usable length";
    }

    void expressionRefusals()
    {
        QFETCH(modAll, automaton);
        QFETCH(QString, refusal);
        QCOMPARE(automatonRegex(automaton).refusal, refusal);
    }

    // Random automata, their expressions read back over their alphabet: the
    // same verdict on every string up to 7 characters, a character outside
    // the alphabet included.
    void readBack_data()
    {
        QTest::addColumn<QString>("pool");
        QTest::addColumn<quint32>("seed");
        QTest::newRow("letters") << "abc" << 1u;
        QTest::newRow("operators as symbols") << "*(|" << 2u;
        QTest::newRow("class characters as symbols") << "]-^" << 3u;
        QTest::newRow("ε, ∅ and . as symbols") << "ε∅." << 4u;
    }

    void readBack()
    {
        QFETCH(QString, pool);
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        const QString strings = pool + u'z';
        for (int round = 0; round < 150; ++round) {
            const modAll m = randomAutomaton(random, pool, 6);
            const Analysis::AutomatonRegex regex = automatonRegex(m);
            if (m.state_count > 0 && !m.isState(m.start_state)) {
                QVERIFY(regex.refused());
                continue;
            }
            QCOMPARE(regex.refusal, QString());
            const Analysis::RegexAutomaton back = automatonFromRegex(regex.expression, QString(bruteAlphabet(m)));
            QCOMPARE(back.error ? back.error->message() : QString(), QString());
            QCOMPARE(regex.expression + u' ' + bruteForce(back.automaton, strings, 7).verdicts,
                     regex.expression + u' ' + bruteForce(m, strings, 7).verdicts);
        }
    }
};

QTEST_GUILESS_MAIN(TestRegex)
#include "test_regex.moc"
