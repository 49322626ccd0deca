#include "analysis/minimize_automaton.h"
#include "brute_force.h"
#include "test_automata.h"

#include <QTest>

using Analysis::minimizeAutomaton;

class TestMinimize : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void minimized_data();
    void minimized();
    void refusedWithoutValidStart_data();
    void refusedWithoutValidStart();
    void resultIsANewDocument();
    void randomAutomata_data();
    void randomAutomata();
};

void TestMinimize::minimized_data()
{
    QTest::addColumn<modAll>("model");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("status");

    QTest::newRow("equivalent states merge, named after both")
        << makeAutomaton({"q0", "q1", "q2"}, {"q1", "q2"}, {"a", "b"}, {{2, 3}, {2, 3}, {3, 2}})
        << "q0 q1,q2* | start 0 | a b | 2 2 0/2 2 0/ | sizes 3 3 3" << "Minimized: 3 states to 2";
    QTest::newRow("unreachable state goes")
        << makeAutomaton({"p", "u", "f", "g"}, {"f", "g"}, {"a"}, {{4}, {1}, {4}, {3}})
        << "p f,g* | start 0 | a | 2 0/2 0/ | sizes 3 2 3" << "Minimized: 4 states to 2";
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
    QTest::newRow("target naming no state becomes empty")
        << makeAutomaton({"q0"}, {}, {"a"}, {{5}}) << "q0 | start 0 | a | 0 0/ | sizes 2 2 2"
        << "Minimized: 1 states to 1";
    QTest::newRow("no states: unchanged")
        << makeAutomaton({}, {}, {"a"}, {}) << " | start 0 | a |  | sizes 1 2 1" << "Minimized: 0 states to 0";
}

void TestMinimize::minimized()
{
    QFETCH(modAll, model);
    QFETCH(QString, expected);
    QFETCH(QString, status);

    const Analysis::MinimizeResult result = minimizeAutomaton(model);
    QVERIFY(!result.refused());
    QCOMPARE(dump(result.automaton), expected);
    QCOMPARE(result.statusText(), status);
}

void TestMinimize::refusedWithoutValidStart_data()
{
    QTest::addColumn<int>("start");
    QTest::newRow("no start chosen") << -1;
    QTest::newRow("start past the states") << 2;
}

void TestMinimize::refusedWithoutValidStart()
{
    QFETCH(int, start);
    const Analysis::MinimizeResult result = minimizeAutomaton(
        makeAutomaton({"q0", "q1"}, {"q1"}, {"a"}, {{2}, {1}}, qint16(start)));
    QVERIFY(result.refused());
    QVERIFY(result.refusal.contains(QStringLiteral("start state is not valid")));
    QCOMPARE(result.automaton.state_count, qint16(0));
}

void TestMinimize::resultIsANewDocument()
{
    modAll model = endsInA();
    model.is_untitled = false;
    model.file_name = QStringLiteral("/tmp/ends.tw");
    model.is_saved = true;
    model.comment = QStringLiteral("ends in a\r\nsecond line");
    model.ttable_top = 1200;
    model.ttable_left = 900;

    const modAll &result = minimizeAutomaton(model).automaton;
    QCOMPARE(result.is_untitled, true);
    QCOMPARE(result.file_name, QStringLiteral("NoName"));
    QCOMPARE(result.is_saved, false);
    QCOMPARE(result.comment, model.comment);
    QCOMPARE(result.ttable_top, 1200);
    QCOMPARE(result.ttable_left, 900);
}

void TestMinimize::randomAutomata_data()
{
    addSeedRows(4, 500);
}

// Every verdict up to the length that tells any two of these states apart is
// kept, and the result has as many states as Moore's refinement of the reachable
// states has groups, none of them unreachable.
void TestMinimize::randomAutomata()
{
    forRandomAutomata(500, [](const modAll &model, QRandomGenerator &) {
        const Analysis::MinimizeResult result = minimizeAutomaton(model);
        const QString name = dump(model) + QStringLiteral(": ");
        if (model.state_count != 0 && !bruteHasState(model, model.start_state)) {
            QVERIFY2(result.refused(), qPrintable(name));
            return;
        }
        QCOMPARE(name + bruteForce(result.automaton, pool).verdicts, name + bruteForce(model, pool).verdicts);
        const QList<int> reachable = bruteReachable(model);
        QCOMPARE(name + QString::number(result.automaton.state_count),
                 name + QString::number(groupCount(mooreGroups(model, reachable), reachable)));
        QCOMPARE(bruteReachable(result.automaton).size(), qsizetype(result.automaton.state_count));
    });
}

QTEST_GUILESS_MAIN(TestMinimize)
#include "test_minimize.moc"
