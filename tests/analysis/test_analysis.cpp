// The analyses (minimize, compare, the string lists, check) on examples, and
// against brute force (analysis_cases.h) on thousands of small random automata.

#include "analysis/check_automaton.h"
#include "analysis/compare_automata.h"
#include "analysis/minimize_automaton.h"
#include "analysis/string_lists.h"
#include "analysis_cases.h"
#include "test_automata.h"

#include <QSet>
#include <QTest>
#include <vector>

using Analysis::compareAutomata;
using Analysis::minimizeAutomaton;

namespace {

// Moore's refinement of the given states by their final flag and their steps:
// the group of each state.
QList<int> mooreGroups(const modAll &m, const QList<int> &states)
{
    QList<int> group(m.state_count, -1);
    for (const int s : states)
        group[s] = m.states[s].is_final ? 1 : 0;
    for (qsizetype groups = 0;;) {
        QList<QList<int>> signatures;
        QList<int> refined = group;
        for (const int s : states) {
            QList<int> signature{group[s]};
            for (const QChar c : bruteAlphabet(m))
                signature.append(group[bruteStep(m, s, m.findSymbol(QString(c)))]);
            if (!signatures.contains(signature))
                signatures.append(signature);
            refined[s] = int(signatures.indexOf(signature));
        }
        group = refined;
        if (signatures.size() == groups)
            return group;
        groups = signatures.size();
    }
}

// The states some string of symbols reaches from the start.
QList<int> bruteReachable(const modAll &m)
{
    QList<int> reached;
    if (m.state_count > 0 && bruteHasState(m, m.start_state))
        reached.append(m.start_state);
    for (qsizetype i = 0; i < reached.size(); ++i)
        for (const QChar c : bruteAlphabet(m))
            if (const int next = bruteStep(m, reached[i], m.findSymbol(QString(c))); !reached.contains(next))
                reached.append(next);
    return reached;
}

QString listed(const QStringList &strings)
{
    QStringList shown;
    for (const QString &s : strings)
        shown.append(s.isEmpty() ? QStringLiteral("\"\"") : s);
    return strings.isEmpty() ? QStringLiteral("(none)") : shown.join(u' ');
}

char letter(Analysis::Verdict verdict)
{
    return verdict == Analysis::Verdict::Accepted ? 'A' : verdict == Analysis::Verdict::Rejected ? 'R' : 'E';
}

// The comparison as brute force sees it over strings up to `length`.
QString bruteComparison(const modAll &a, const modAll &b, int length)
{
    const QString order = bruteOrder(bruteAlphabet(a) + bruteAlphabet(b));
    const BruteRuns runsA = bruteForce(a, order, length), runsB = bruteForce(b, order, length);
    for (qsizetype i = 0; i < runsA.verdicts.size(); ++i)
        if (runsA.verdicts[i] != runsB.verdicts[i])
            return QStringLiteral("%1 %2 %3").arg(runsA.text(i)).arg(runsA.verdicts[i]).arg(runsB.verdicts[i]);
    return QStringLiteral("equivalent");
}

QString comparison(const modAll &a, const modAll &b)
{
    const Analysis::CompareResult result = compareAutomata(a, b);
    return result.equivalent ? QStringLiteral("equivalent")
                             : QStringLiteral("%1 %2 %3").arg(result.counterexample).arg(letter(result.thisVerdict))
                                   .arg(letter(result.otherVerdict));
}

QString positions(const QList<Analysis::NamedPosition> &items)
{
    QStringList at;
    for (const Analysis::NamedPosition &item : items)
        at.append(QString::number(item.position));
    return at.join(u',');
}

// The check's findings that brute force can confirm, as one line:
// "unreachable 3 | no final 2,3 | stay 1 | groups 1,2 | finite 2 [,a] | a | \"\"".
QString checkSummary(const Analysis::CheckReport &report)
{
    QStringList groups;
    for (const QList<Analysis::NamedPosition> &group : report.equivalentStates)
        groups.append(positions(group));
    const QString language = report.language == Analysis::LanguageSize::Empty      ? QStringLiteral("empty")
                             : report.language == Analysis::LanguageSize::Infinite ? QStringLiteral("infinite")
                                 : QStringLiteral("finite %1 [%2]").arg(report.acceptedCount).arg(report.acceptedStrings.join(u','));
    return QStringList{positions(report.unreachableStates), positions(report.statesWithoutFinal),
                       positions(report.symbolsThatStay), groups.join(u' '), language,
                       report.shortestAccepted.value_or("none"), report.shortestRejected.value_or("none")}
        .join(QStringLiteral(" | "));
}

QString bruteCheckSummary(const modAll &m)
{
    const int states = m.state_count;
    const QList<int> reachable = bruteReachable(m);
    QStringList unreachable, noFinal, stay, groups;
    QList<int> all;
    for (int s = 0; s < states; ++s) {
        all.append(s);
        if (!reachable.contains(s))
            unreachable.append(QString::number(s));
        modAll from = m;
        from.start_state = qint16(s);
        if (!bruteForce(from, bruteOrder(bruteAlphabet(m)), states).verdicts.contains('A'))
            noFinal.append(QString::number(s));
    }
    for (const QChar c : bruteAlphabet(m)) {
        bool stays = states > 0;
        for (int s = 0; s < states; ++s)
            stays = stays && bruteStep(m, s, m.findSymbol(QString(c))) == s;
        if (stays)
            stay.append(QString::number(m.findSymbol(QString(c)) - 1));
    }
    const QList<int> moore = mooreGroups(m, all);
    for (int s = 0; s < states; ++s) {
        QStringList group;
        for (int t = 0; t < states; ++t)
            if (moore[t] == moore[s])
                group.append(QString::number(t));
        if (group.size() > 1 && group.front() == QString::number(s))
            groups.append(group.join(u','));
    }
    // Every length up to twice the states is run: a longer accepted string than
    // the states would mean infinitely many.
    const BruteRuns runs = bruteForce(m, bruteOrder(bruteAlphabet(m)));
    const QStringList accepted = runs.with('A'), rejected = runs.with('R');
    const bool infinite = std::any_of(accepted.begin(), accepted.end(),
                                      [&](const QString &s) { return s.size() >= qMax(1, states); });
    const QString language = accepted.isEmpty() ? QStringLiteral("empty")
                             : infinite ? QStringLiteral("infinite")
                                        : QStringLiteral("finite %1 [%2]").arg(accepted.size()).arg(accepted.join(u','));
    return QStringList{unreachable.join(u','), noFinal.join(u','), stay.join(u','), groups.join(u' '), language,
                       accepted.value(0, "none"), rejected.value(0, "none")}
        .join(QStringLiteral(" | "));
}

} // namespace

class TestAnalysis : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void minimized_data();
    void minimized();
    void compared_data();
    void compared();
    void lists_data();
    void lists();
    void checked_data();
    void checked();
    void randomAutomata_data();
    void randomAutomata();
};

void TestAnalysis::minimized_data()
{
    QTest::addColumn<modAll>("model");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("status");

    QTest::newRow("equivalent states merge, named after both")
        << makeAutomaton({"q0", "q1", "q2"}, {"q1", "q2"}, {"a", "b"}, {{2, 3}, {2, 3}, {3, 2}})
        << "q0 q1,q2* | start 0 | a b | 2 2 0/2 2 0/ | sizes 3 3 3" << "Minimized: 3 states to 2";
    QTest::newRow("ordered by first member; start follows its state")
        << makeAutomaton({"f1", "s", "f2"}, {"f1", "f2"}, {"x", "y"}, {{1, 3}, {1, 3}, {3, 1}}, 1)
        << "f1,f2* s | start 1 | x y | 1 1 0/1 1 0/ | sizes 3 3 3" << "Minimized: 3 states to 2";
    QTest::newRow("empty cell stays empty, explicit loop stays")
        << makeAutomaton({"q0", "q1"}, {"q1"}, {"a", "b"}, {{0, 2}, {2, 0}})
        << "q0 q1* | start 0 | a b | 0 2 0/2 0 0/ | sizes 3 3 3" << "Minimized: 2 states to 2";
    // Only the last "a" is read: q2 is unreachable, and the unused columns lose their targets there.
    QTest::newRow("repeated and long symbols kept")
        << makeAutomaton({"q0", "q1", "q2"}, {"q1", "q2"}, {"a", "ab", "a"}, {{3, 2, 2}, {1, 3, 2}, {1, 1, 3}})
        << "q0 q1* | start 0 | a ab a | 0 2 2 0/1 0 2 0/ | sizes 3 4 3" << "Minimized: 3 states to 2";
}

// The result is a new document: untitled and unsaved, with the comment and the
// table window's place of the original.
void TestAnalysis::minimized()
{
    QFETCH(modAll, model);
    QFETCH(QString, expected);
    QFETCH(QString, status);
    model.is_untitled = false;
    model.file_name = QStringLiteral("/tmp/ends.tw");
    model.comment = QStringLiteral("ends in a\r\nsecond line");
    model.ttable_top = 1200;

    const Analysis::MinimizeResult result = minimizeAutomaton(model);
    QCOMPARE(dump(result.automaton) + u' ' + result.statusText(), expected + u' ' + status);
    const modAll &out = result.automaton;
    QCOMPARE(QStringList({out.file_name, out.comment, QString::number(out.ttable_top)}),
             QStringList({"NoName", model.comment, "1200"}));
    QVERIFY(out.is_untitled && !out.is_saved);
    QVERIFY(minimizeAutomaton(withStart(model, -1)).refusal.contains(QStringLiteral("start state is not valid")));
}

void TestAnalysis::compared_data()
{
    QTest::addColumn<modAll>("self");
    QTest::addColumn<modAll>("other");
    QTest::addColumn<QString>("expected");

    QTest::newRow("the other's extra characters come after")
        << makeAutomaton({"s"}, {}, {"b"}, {{0}}) << makeAutomaton({"s", "f"}, {"f"}, {"a", "b"}, {{2, 2}, {2, 2}})
        << "b  this: REJECTED  other: ACCEPTED";
    QTest::newRow("a character only the other knows gives ERROR here")
        << endsInA() << makeAutomaton({"q0", "q1"}, {"q1"}, {"a", "b", "c"}, {{2, 1, 0}, {2, 1, 0}})
        << "c  this: ERROR  other: REJECTED";
    QTest::newRow("counterexample escaped")
        << makeAutomaton({"q0", "q1"}, {"q1"}, {"\t"}, {{2}, {2}}) << makeAutomaton({"q0"}, {}, {"\t"}, {{1}})
        << "\\t  this: ACCEPTED  other: REJECTED";
}

void TestAnalysis::compared()
{
    QFETCH(modAll, self);
    QFETCH(modAll, other);
    QFETCH(QString, expected);
    QCOMPARE(compareAutomata(self, other).text(testEscape), expected);
}

void TestAnalysis::lists_data()
{
    QTest::addColumn<modAll>("model");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("expected");

    // States c0 .. c999: "0" moves on, "1" stays; the last is final.
    QStringList names;
    QList<QList<qint16>> chain;
    for (int s = 0; s < 1000; ++s) {
        names.append(QStringLiteral("c%1").arg(s));
        chain.append({qint16(s + 1 < 1000 ? s + 2 : 0), 0});
    }
    const QString zeros(999, u'0');
    QTest::newRow("shortest first, then by the alphabet") << endsInA() << true << 6 << "a aa ba aaa aba baa";
    QTest::newRow("repeated symbol: first place orders, last column moves")
        << makeAutomaton({"q0", "q1"}, {"q1"}, {"b", "a", "b"}, {{1, 1, 2}, {1, 1, 2}}) << true << 3 << "b bb ab";
    QTest::newRow("invalid start: none") << withStart(endsInA(), -1) << false << 4 << "(none)";
    QTest::newRow("a chain whose shortest accepted string is long")
        << makeAutomaton(names, {names.back()}, {"0", "1"}, chain) << true << 3
        << zeros + u' ' + zeros + u'0' + u' ' + zeros + u'1';
}

void TestAnalysis::lists()
{
    QFETCH(modAll, model);
    QFETCH(bool, accepted);
    QFETCH(int, limit);
    QFETCH(QString, expected);
    QCOMPARE(listed(accepted ? Analysis::acceptedStrings(model, limit) : Analysis::rejectedStrings(model, limit)), expected);
}

void TestAnalysis::checked_data()
{
    QTest::addColumn<modAll>("model");
    QTest::addColumn<QString>("expected"); // whole lines the report holds, in this order

    QTest::newRow("nothing to report")
        << endsInA()
        << "Start state: q0\nUnreachable states: none\nStates from which no final state can be reached: none\n"
           "Symbols that keep every state where it is: none\nRepeated symbols (only the last column is used): none\n"
           "Repeated state names (the table can only name the last): none\n"
           "Symbols that are not one character (they never match): none\n"
           "Equivalent states (the automaton is not minimal): none\nLanguage: infinite\n"
           "Shortest accepted string: a\nShortest rejected string: \"\"\n";
    // The first "a" column is never read; "c" keeps every state; u and the second f are unreachable.
    QTest::newRow("every finding")
        << makeAutomaton({"s", "f", "t", "u", "f"}, {"f"}, {"a", "b", "a", "xy", "c"},
                         {{0, 3, 2, 0, 0}, {0, 2, 2, 0, 0}, {0, 3, 3, 0, 0}, {0, 1, 5, 0, 0}, {0, 5, 5, 0, 0}})
        << "Start state: s\nUnreachable states:\n  u (state 4)\n  f (state 5)\n"
           "States from which no final state can be reached:\n  t (state 3)\n"
           "Symbols that keep every state where it is:\n  c (symbol 5)\n"
           "Repeated symbols (only the last column is used):\n  a (symbols 1, 3)\n"
           "Repeated state names (the table can only name the last):\n  f (states 2, 5)\n"
           "Symbols that are not one character (they never match):\n  xy (symbol 4)\n"
           "Equivalent states (the automaton is not minimal):\n  f (state 2), f (state 5)\n";
    QTest::newRow("finite language listed")
        << makeAutomaton({"q0", "q1", "q2", "t"}, {"q0", "q1", "q2"}, {"a", "b"}, {{2, 4}, {4, 3}, {4, 4}, {4, 4}})
        << "Language: finite, 3 strings:\n  \"\"\n  a\n  ab\nShortest accepted string: \"\"\nShortest rejected string: b\n";
    QTest::newRow("invalid start")
        << withStart(endsInA(), -1)
        << "Start state: not valid, so every string gives ERROR.\nUnreachable states:\n  q0 (state 1)\n  q1 (state 2)\n";
    QTest::newRow("no states") << makeAutomaton({}, {}, {"a"}, {})
                               << "No states: every string of symbols is REJECTED.\nUnreachable states: none\n";
    QTest::newRow("names and strings escaped, empty ones seen")
        << makeAutomaton({"a\\b", "", "\tf"}, {"\tf"}, {"\t"}, {{3}, {2}, {3}})
        << "Start state: a\\\\b\nUnreachable states:\n  \"\" (state 2)\n";
}

void TestAnalysis::checked()
{
    QFETCH(modAll, model);
    QFETCH(QString, expected);
    const QString text = Analysis::checkReportText(Analysis::checkAutomaton(model), testEscape);
    QVERIFY2((u'\n' + text).contains(u'\n' + expected), qPrintable(text));
}

void TestAnalysis::randomAutomata_data()
{
    QTest::addColumn<int>("seed");
    for (int seed = 1; seed <= 4; ++seed)
        QTest::addRow("300 random automata, seed %d", seed) << seed;
}

// Each random automaton, minimized: every verdict is kept, and it has as many
// states as Moore's refinement of the reachable states has groups, all of them
// reachable. Compared with another, with its minimization and with itself with
// a cell changed: brute force over every string up to the sum of the sizes
// (each with its ERROR state) finds the same first difference. Its string
// lists agree with brute force as far as brute force runs, and a list shorter
// than asked is the whole language. Its check says what brute force finds.
void TestAnalysis::randomAutomata()
{
    QFETCH(int, seed);
    QRandomGenerator random{quint32(seed)};
    for (int i = 0; i < 300 && !QTest::currentTestFailed(); ++i) {
        const modAll model = randomAutomaton(random);
        const QString name = dump(model) + QStringLiteral(": ");
        const BruteRuns runs = bruteForce(model, pool);

        const Analysis::MinimizeResult minimized = minimizeAutomaton(model);
        if (model.state_count != 0 && !bruteHasState(model, model.start_state)) {
            QVERIFY2(minimized.refused(), qPrintable(name));
        } else {
            QCOMPARE(name + bruteForce(minimized.automaton, pool).verdicts, name + runs.verdicts);
            const QList<int> reachable = bruteReachable(model);
            QSet<int> groups;
            for (const int group : mooreGroups(model, reachable))
                groups.insert(group);
            groups.remove(-1);
            QCOMPARE(name + QString::number(minimized.automaton.state_count), name + QString::number(groups.size()));
            QCOMPARE(bruteReachable(minimized.automaton).size(), qsizetype(minimized.automaton.state_count));
        }

        for (const modAll &other : {randomAutomaton(random), minimized.refused() ? model : minimized.automaton,
                                    withOneChange(model, random)}) {
            const int length = qMax(1, int(model.state_count)) + qMax(1, int(other.state_count));
            QCOMPARE(name + comparison(model, other), name + bruteComparison(model, other, length));
        }

        const BruteRuns ordered = bruteForce(model, bruteOrder(bruteAlphabet(model)));
        for (const char verdict : {'A', 'R'}) {
            const QStringList strings = verdict == 'A' ? Analysis::acceptedStrings(model, 5)
                                                       : Analysis::rejectedStrings(model, 5);
            QStringList withinReach;
            for (const QString &s : strings)
                if (s.size() <= bruteLength)
                    withinReach.append(s);
            const QStringList brute = ordered.with(verdict, 5);
            QCOMPARE(name + listed(withinReach), name + listed(brute));
            if (strings.size() < 5)
                QCOMPARE(name + listed(strings), name + listed(ordered.with(verdict)));
        }

        QCOMPARE(name + checkSummary(Analysis::checkAutomaton(model)), name + bruteCheckSummary(model));
    }
}

QTEST_GUILESS_MAIN(TestAnalysis)
#include "test_analysis.moc"
