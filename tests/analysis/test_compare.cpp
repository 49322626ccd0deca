#include "analysis/compare_automata.h"
#include "analysis/minimize_automaton.h"
#include "brute_force.h"
#include "test_automata.h"

#include <QTest>

using Analysis::compareAutomata;

namespace {

char letter(Analysis::Verdict verdict)
{
    return verdict == Analysis::Verdict::Accepted ? 'A' : verdict == Analysis::Verdict::Rejected ? 'R' : 'E';
}

// The comparison as brute force sees it: "equivalent", or the first string on
// which they differ and both verdicts, over strings up to `length`.
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
    if (result.equivalent)
        return QStringLiteral("equivalent");
    return QStringLiteral("%1 %2 %3").arg(result.counterexample).arg(letter(result.thisVerdict)).arg(letter(result.otherVerdict));
}

// The same automaton with one cell of its table (or, without one, a final flag) changed.
modAll withOneChange(modAll m, QRandomGenerator &random)
{
    const int state = random.bounded(qMax(1, int(m.state_count)));
    if (state < m.transitions.size() && !m.transitions[state].isEmpty())
        m.transitions[state][random.bounded(int(m.transitions[state].size()))] = qint16(random.bounded(m.state_count + 2));
    else if (m.state_count > 0)
        m.states[state].is_final = !m.states[state].is_final;
    return m;
}

} // namespace

class TestCompare : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void compared_data();
    void compared();
    void randomPairs_data();
    void randomPairs();
};

void TestCompare::compared_data()
{
    QTest::addColumn<modAll>("self");
    QTest::addColumn<modAll>("other");
    QTest::addColumn<QString>("expected");

    const modAll ends = endsInA();
    modAll endsStartFinal = ends;
    endsStartFinal.start_state = 1;
    modAll noStart = ends;
    noStart.start_state = -1;
    const QStringList abc{"q0", "f", "t"};

    QTest::newRow("the same automaton") << ends << ends << "equivalent";
    QTest::newRow("merged states")
        << makeAutomaton({"q0", "q1", "q2"}, {"q1", "q2"}, {"a", "b"}, {{2, 3}, {2, 3}, {3, 2}})
        << makeAutomaton({"p", "f"}, {"f"}, {"b", "a"}, {{2, 2}, {2, 2}}) << "equivalent";
    QTest::newRow("differ on the empty string") << ends << endsStartFinal << "\"\"  this: REJECTED  other: ACCEPTED";
    QTest::newRow("first in this alphabet's order")
        << makeAutomaton(abc, {"f"}, {"b", "a"}, {{2, 2}, {3, 3}, {3, 3}})
        << makeAutomaton(abc, {}, {"b", "a"}, {{2, 2}, {3, 3}, {3, 3}}) << "b  this: ACCEPTED  other: REJECTED";
    QTest::newRow("the other's extra characters come after")
        << makeAutomaton({"s"}, {}, {"b"}, {{0}}) << makeAutomaton({"s", "f"}, {"f"}, {"a", "b"}, {{2, 2}, {2, 2}})
        << "b  this: REJECTED  other: ACCEPTED";
    QTest::newRow("a character only the other knows gives ERROR here")
        << ends << makeAutomaton({"q0", "q1"}, {"q1"}, {"a", "b", "c"}, {{2, 1, 0}, {2, 1, 0}})
        << "c  this: ERROR  other: REJECTED";
    QTest::newRow("invalid start against no states")
        << noStart << makeAutomaton({}, {}, {}, {}) << "\"\"  this: ERROR  other: REJECTED";
    QTest::newRow("both invalid starts") << noStart << makeAutomaton({"x"}, {}, {"z"}, {{1}}, -1) << "equivalent";
    QTest::newRow("no states and a rejecting loop")
        << makeAutomaton({}, {}, {"a"}, {}) << makeAutomaton({"s"}, {}, {"a"}, {{0}}) << "equivalent";
    QTest::newRow("counterexample escaped")
        << makeAutomaton({"q0", "q1"}, {"q1"}, {"\t"}, {{2}, {2}}) << makeAutomaton({"q0"}, {}, {"\t"}, {{1}})
        << "\\t  this: ACCEPTED  other: REJECTED";
}

void TestCompare::compared()
{
    QFETCH(modAll, self);
    QFETCH(modAll, other);
    QFETCH(QString, expected);

    QCOMPARE(compareAutomata(self, other).text(testEscape), expected);
}

void TestCompare::randomPairs_data()
{
    addSeedRows(3, 400);
}

// Each automaton against another, its minimization and itself with a cell
// changed. Brute force over every string up to the sum of the two sizes (each
// counted with its ERROR state) finds a difference whenever there is one.
void TestCompare::randomPairs()
{
    forRandomAutomata(400, [](const modAll &a, QRandomGenerator &random) {
        const Analysis::MinimizeResult minimized = Analysis::minimizeAutomaton(a);
        const QList<modAll> others{randomAutomaton(random), minimized.refused() ? a : minimized.automaton,
                                   withOneChange(a, random)};
        for (const modAll &b : others) {
            const QString name = dump(a) + QStringLiteral(" vs ") + dump(b) + QStringLiteral(": ");
            const int length = qMax(1, int(a.state_count)) + qMax(1, int(b.state_count));
            QCOMPARE(name + comparison(a, b), name + bruteComparison(a, b, length));
        }
    });
}

QTEST_GUILESS_MAIN(TestCompare)
#include "test_compare.moc"
