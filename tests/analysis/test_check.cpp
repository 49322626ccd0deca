#include "analysis/check_automaton.h"
#include "brute_force.h"
#include "test_automata.h"

#include <QTest>

using Analysis::CheckReport;

namespace {

QString positions(const QList<Analysis::NamedPosition> &items)
{
    QStringList at;
    for (const Analysis::NamedPosition &item : items)
        at.append(QString::number(item.position));
    return at.join(u',');
}

QString optionalText(const std::optional<QString> &text)
{
    return text ? QLatin1Char('"') + *text + QLatin1Char('"') : QStringLiteral("none");
}

// The findings brute force can confirm, as one line.
QString summary(const CheckReport &report)
{
    QStringList groups;
    for (const QList<Analysis::NamedPosition> &group : report.equivalentStates)
        groups.append(positions(group));
    const QString language = report.language == Analysis::LanguageSize::Empty      ? QStringLiteral("empty")
                             : report.language == Analysis::LanguageSize::Infinite ? QStringLiteral("infinite")
                                                                                    : QStringLiteral("finite %1 [%2]")
                                                                                          .arg(report.acceptedCount)
                                                                                          .arg(report.acceptedStrings.join(u','));
    return QStringLiteral("unreachable %1; no final %2; stay %3; groups %4; %5; accepted %6; rejected %7")
        .arg(positions(report.unreachableStates), positions(report.statesWithoutFinal),
             positions(report.symbolsThatStay), groups.join(u' '), language,
             optionalText(report.shortestAccepted), optionalText(report.shortestRejected));
}

QString bruteSummary(const modAll &m)
{
    const int states = m.state_count;
    const QString order = bruteOrder(bruteAlphabet(m));
    const QList<int> reachable = bruteReachable(m);
    QStringList unreachable, noFinal, stay, groups;
    for (int s = 0; s < states; ++s) {
        if (!reachable.contains(s))
            unreachable.append(QString::number(s));
        modAll from = m;
        from.start_state = qint16(s);
        if (!bruteForce(from, order, states).verdicts.contains('A'))
            noFinal.append(QString::number(s));
    }
    for (const QChar c : bruteAlphabet(m)) {
        bool stays = states > 0;
        for (int s = 0; s < states; ++s)
            stays = stays && bruteStep(m, s, m.findSymbol(QString(c))) == s;
        if (stays)
            stay.append(QString::number(m.findSymbol(QString(c)) - 1));
    }
    QList<int> all;
    for (int s = 0; s < states; ++s)
        all.append(s);
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
    const BruteRuns runs = bruteForce(m, order);
    const QStringList accepted = bruteWith(runs, 'A'), rejected = bruteWith(runs, 'R');
    bool infinite = false;
    for (const QString &s : accepted)
        infinite = infinite || s.size() >= qMax(1, states);
    const QString language = accepted.isEmpty() ? QStringLiteral("empty")
                             : infinite ? QStringLiteral("infinite")
                                        : QStringLiteral("finite %1 [%2]").arg(accepted.size()).arg(accepted.join(u','));
    const auto first = [](const QStringList &list) {
        return list.isEmpty() ? std::optional<QString>() : std::optional<QString>(list.front());
    };
    return QStringLiteral("unreachable %1; no final %2; stay %3; groups %4; %5; accepted %6; rejected %7")
        .arg(unreachable.join(u','), noFinal.join(u','), stay.join(u','), groups.join(u' '), language,
             optionalText(first(accepted)), optionalText(first(rejected)));
}

} // namespace

class TestCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void report_data();
    void report();
    void randomAutomata_data();
    void randomAutomata();
};

void TestCheck::report_data()
{
    QTest::addColumn<modAll>("model");
    QTest::addColumn<QString>("expected"); // whole lines the report holds, in this order

    modAll noStart = endsInA();
    noStart.start_state = -1;
    const QStringList four{"q0", "q1", "q2", "t"};

    QTest::newRow("nothing to report")
        << endsInA()
        << "Start state: q0\n"
           "Unreachable states: none\n"
           "States from which no final state can be reached: none\n"
           "Symbols that keep every state where it is: none\n"
           "Repeated symbols (only the last column is used): none\n"
           "Repeated state names (the table can only name the last): none\n"
           "Symbols that are not one character (they never match): none\n"
           "Equivalent states (the automaton is not minimal): none\n"
           "Language: infinite\n"
           "Shortest accepted string: a\n"
           "Shortest rejected string: \"\"\n";
    // The first "a" column is never read; "c" keeps every state; u and the second f are unreachable.
    QTest::newRow("every finding")
        << makeAutomaton({"s", "f", "t", "u", "f"}, {"f"}, {"a", "b", "a", "xy", "c"},
                         {{0, 3, 2, 0, 0}, {0, 2, 2, 0, 0}, {0, 3, 3, 0, 0}, {0, 1, 5, 0, 0}, {0, 5, 5, 0, 0}})
        << "Start state: s\n"
           "Unreachable states:\n  u (state 4)\n  f (state 5)\n"
           "States from which no final state can be reached:\n  t (state 3)\n"
           "Symbols that keep every state where it is:\n  c (symbol 5)\n"
           "Repeated symbols (only the last column is used):\n  a (symbols 1, 3)\n"
           "Repeated state names (the table can only name the last):\n  f (states 2, 5)\n"
           "Symbols that are not one character (they never match):\n  xy (symbol 4)\n"
           "Equivalent states (the automaton is not minimal):\n  f (state 2), f (state 5)\n"
           "Language: infinite\n"
           "Shortest accepted string: a\n"
           "Shortest rejected string: \"\"\n";
    QTest::newRow("finite language listed")
        << makeAutomaton(four, {"q0", "q1", "q2"}, {"a", "b"}, {{2, 4}, {4, 3}, {4, 4}, {4, 4}})
        << "Language: finite, 3 strings:\n  \"\"\n  a\n  ab\nShortest accepted string: \"\"\n"
           "Shortest rejected string: b\n";
    QTest::newRow("finite language too large to list")
        << makeAutomaton(four, {"q0", "q1", "q2"}, {"a", "b", "c", "d", "e"},
                         {{2, 2, 2, 2, 2}, {3, 3, 3, 3, 3}, {4, 4, 4, 4, 4}, {4, 4, 4, 4, 4}})
        << "Language: finite, 31 strings\nShortest accepted string: \"\"\nShortest rejected string: aaa\n";
    QTest::newRow("empty language")
        << makeAutomaton({"q0"}, {}, {"a"}, {{1}})
        << "Language: empty\nShortest accepted string: none\nShortest rejected string: \"\"\n";
    QTest::newRow("invalid start")
        << noStart
        << "Start state: not valid, so every string gives ERROR.\n"
           "Unreachable states:\n  q0 (state 1)\n  q1 (state 2)\n"
           "States from which no final state can be reached: none\n"
           "Symbols that keep every state where it is: none\n";
    QTest::newRow("invalid start: no strings")
        << noStart << "Language: empty\nShortest accepted string: none\nShortest rejected string: none\n";
    QTest::newRow("no states")
        << makeAutomaton({}, {}, {"a"}, {})
        << "No states: every string of symbols is REJECTED.\n"
           "Unreachable states: none\n"
           "States from which no final state can be reached: none\n"
           "Symbols that keep every state where it is: none\n";
    QTest::newRow("names and strings escaped, empty ones seen")
        << makeAutomaton({"a\\b", "", "\tf"}, {"\tf"}, {"\t"}, {{3}, {2}, {3}})
        << "Start state: a\\\\b\nUnreachable states:\n  \"\" (state 2)\n"
           "States from which no final state can be reached:\n  \"\" (state 2)\n";
    QTest::newRow("escaped shortest string")
        << makeAutomaton({"a\\b", "", "\tf"}, {"\tf"}, {"\t"}, {{3}, {2}, {3}})
        << "Shortest accepted string: \\t\nShortest rejected string: \"\"\n";
}

void TestCheck::report()
{
    QFETCH(modAll, model);
    QFETCH(QString, expected);

    const QString text = Analysis::checkReportText(Analysis::checkAutomaton(model), testEscape);
    QVERIFY2((u'\n' + text).contains(u'\n' + expected), qPrintable(text));
}

void TestCheck::randomAutomata_data()
{
    addSeedRows(3, 400);
}

void TestCheck::randomAutomata()
{
    forRandomAutomata(400, [](const modAll &model, QRandomGenerator &) {
        const QString name = dump(model) + QStringLiteral(": ");
        QCOMPARE(name + summary(Analysis::checkAutomaton(model)), name + bruteSummary(model));
    });
}

QTEST_GUILESS_MAIN(TestCheck)
#include "test_check.moc"
