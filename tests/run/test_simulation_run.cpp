#include "plain_run_panel.h"
#include "run_script.h"
#include "run/simulation_run.h"
#include "test_automata.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

const QString ok = QStringLiteral("Successfully completed");

// q0 -a-> q1 -a-> q2 -a-> q2, q2 final.
modAll chain() { return makeAutomaton({"q0", "q1", "q2"}, {"q2"}, {"a"}, {{2}, {3}, {3}}); }

// Ticks until the timed run ends; bounded, so a run that never ends fails.
int tickToEnd(SimulationRun &run, PlainRunPanel &panel)
{
    int ticks = 0;
    while (panel.timerOn && ticks < 1000) {
        run.tick();
        ++ticks;
    }
    return ticks;
}

// Every report of a run as one line: "start 0 ab | step 0>1 a b | stay 1~1 0 b
// | end accepted 1", an empty text shown as "-".
class RecordingObserver final : public RunObserver
{
public:
    QStringList reports;
    QString read;  // the characters of the steps taken
    RunEnd last;   // the last end reported

    void runStarted(qint16 start, const QString &input) override
    {
        reports << QStringLiteral("start %1 %2").arg(start).arg(shown(input));
    }
    void stepTaken(const RunStep &step) override
    {
        read += step.character;
        reports << describe(QStringLiteral("step"), step);
    }
    void stepUndone(const RunStep &step) override { reports << describe(QStringLiteral("undo"), step); }
    void runEnded(const RunEnd &end) override
    {
        last = end;
        static const char *const verdicts[] = {"accepted", "rejected", "error"};
        QString line = QStringLiteral("end %1 %2").arg(QLatin1String(verdicts[int(end.verdict)])).arg(end.state);
        if (!end.invalidCharacter.isEmpty())
            line += u' ' + end.invalidCharacter;
        if (end.immediate)
            line += QStringLiteral(" immediate ") + shown(end.consumed);
        reports << line;
    }
    void runPaused(bool paused) override { reports << (paused ? QStringLiteral("paused") : QStringLiteral("going")); }
    QString text() const { return reports.join(QStringLiteral(" | ")); }

private:
    static QString shown(const QString &text) { return text.isEmpty() ? QStringLiteral("-") : text; }
    static QString describe(const QString &kind, const RunStep &step)
    {
        return QStringLiteral("%1 %2%3%4 %5/%6 %7")
            .arg(step.followed ? kind : QStringLiteral("stay"))
            .arg(step.from)
            .arg(QChar(step.followed ? u'>' : u'~'))
            .arg(step.to)
            .arg(step.character)
            .arg(step.symbol)
            .arg(shown(step.remaining));
    }
};

} // namespace

class TestSimulationRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void immediateAndTimedRunsEndAlike_data();
    void immediateAndTimedRunsEndAlike();
    void runStates_data();
    void runStates();
    void reportsToTheObserver_data();
    void reportsToTheObserver();
    void runGoing_data();
    void runGoing();
    void interval_data();
    void interval();
    void randomAutomataRunAlikeBothWays();
};

void TestSimulationRun::immediateAndTimedRunsEndAlike_data()
{
    QTest::addColumn<modAll>("model");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("outcome"); // output|status|input left|state shown

    const modAll ends = endsInA();
    const modAll emptyCell = makeAutomaton({"p", "f"}, {"f"}, {"0", "1"}, {{0, 2}, {1, 0}});
    const QString grin = QString::fromUcs4(U"\U0001F600"), other = QString::fromUcs4(U"\U0001F601");
    const modAll astral = makeAutomaton({"q0", "q1"}, {"q1"}, {grin, "a"}, {{2, 1}, {2, 1}});
    // Row of s1 short, row of s2 missing: states added after the table was sized.
    modAll ragged = makeAutomaton({"s0", "s1", "s2"}, {"s2"}, {"a", "b"}, {{2, 0}, {3}, {}});
    ragged.transitions.resize(2);

    QTest::newRow("accepted") << ends << "abba" << "ACCEPTED|" + ok + "||q1";
    QTest::newRow("third character invalid") << ends << "aaxab" << "ERROR|Invalid alphabet 'x'|xab|q1";
    QTest::newRow("empty cell stays") << emptyCell << "0001" << "ACCEPTED|" + ok + "||f";
    QTest::newRow("no states: symbols consumed")
        << makeAutomaton({}, {}, {"a"}, {}) << "aa" << "REJECTED|" + ok + "||";
    QTest::newRow("unknown pair named whole")
        << astral << "a" + other + "a" << "ERROR|Invalid alphabet '" + other + "'|" + other + "a|q0";
    QTest::newRow("short and missing rows: no transition") << ragged << "abaab" << "ACCEPTED|" + ok + "||s2";
}

void TestSimulationRun::immediateAndTimedRunsEndAlike()
{
    QFETCH(modAll, model);
    QFETCH(QString, input);
    QFETCH(QString, outcome);

    PlainRunPanel immediate, timed;
    immediate.preset(2);
    immediate.input = timed.input = input;
    SimulationRun a(model, immediate), b(model, timed);
    a.play();
    QCOMPARE(immediate.outcome(), outcome);
    QCOMPARE(immediate.controls(), QStringLiteral("- - play 0/100")); // bar, timer and Pause untouched

    b.play();
    tickToEnd(b, timed);
    QCOMPARE(timed.outcome(), outcome);
}

// A script of actions on one run of ends-in-a (chain() for shrink), and how the
// run stands after it (see actOnRun for the script's words).
void TestSimulationRun::runStates_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("controls"); // timer, Pause, Play, bar value/maximum

    QTest::newRow("last step leaves the run going") << "abba" << "play tick tick tick tick"
                                                    << "PENDING|Running ...||q1" << "timer pause play 5/5";
    QTest::newRow("verdict on the next tick") << "abba" << "play tick tick tick tick tick"
                                              << "ACCEPTED|" + ok + "||q1" << "- - play 0/5";
    QTest::newRow("failed step ends the run") << "abcab" << "play tick tick tick"
                                              << "ERROR|Invalid alphabet 'c'|cab|q0" << "- - play 0/6";
    QTest::newRow("typing is read by the next ticks") << "b" << "play type:a tick tick"
                                                      << "PENDING|Running ...||q1" << "timer pause play 2/2";
    const QString pair = QString::fromUcs4(U"\U0001F600");
    QTest::newRow("bar counts characters") << pair + pair << "play" << "PENDING|Running ...|" + pair + pair + "|q0"
                                           << "timer pause play 1/3";
    QTest::newRow("play restarts from the start state") << "bab" << "play tick tick play"
                                                        << "PENDING|Running ...|b|q0" << "timer pause play 1/2";
    QTest::newRow("play at 0 during a timed run") << "bba" << "play tick fast play"
                                                  << "ACCEPTED|" + ok + "||q1" << "timer pause play 2/4";
    QTest::newRow("start state removed") << "ab" << "start:2 fast play" << "ERROR|Invalid start state|ab|"
                                         << "- - play 0/100";
    // Play at 0 ms keeps the automaton it compiled only while the model holds it.
    QTest::newRow("play at 0 after the start state changed") << "" << "fast play start:1 play"
                                                            << "ACCEPTED|" + ok + "||q1" << "- - play 0/100";
    QTest::newRow("play at 0 after a final flag changed") << "a" << "fast play type:a final:1 play"
                                                          << "REJECTED|" + ok + "||q1" << "- - play 0/100";
    // The states editor removed q1 while the run stood there: a state without transitions.
    QTest::newRow("current state removed") << "aaa" << "play tick shrink:1 tick tick tick"
                                           << "REJECTED|" + ok + "||q1" << "- - play 0/4";
    // New empties the model and the input box; the next tick gives the verdict.
    QTest::newRow("new during a run") << "ab" << "play tick new tick" << "REJECTED|" + ok + "||q1"
                                      << "- - play 0/3";
}

void TestSimulationRun::runStates()
{
    QFETCH(QString, input);
    QFETCH(QString, script);
    QFETCH(QString, outcome);
    QFETCH(QString, controls);

    modAll model = script.contains("shrink") ? chain() : endsInA();
    PlainRunPanel panel;
    panel.input = input;
    SimulationRun run(model, panel);
    actOnRun(script, run, model, panel);
    QCOMPARE(panel.outcome(), outcome);
    QCOMPARE(panel.controls(), controls);
}

// What a follower of the run hears, for the scripts of runStates.
void TestSimulationRun::reportsToTheObserver_data()
{
    QTest::addColumn<modAll>("model");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("reports");

    const modAll ends = endsInA();
    const modAll emptyCell = makeAutomaton({"p", "f"}, {"f"}, {"0", "1"}, {{0, 2}, {1, 0}});
    const QString grin = QString::fromUcs4(U"\U0001F600");
    const modAll astral = makeAutomaton({"q0", "q1"}, {"q1"}, {grin, "a"}, {{2, 1}, {2, 1}});

    QTest::newRow("timed: the start, each step, the verdict on the tick after")
        << ends << "ab" << "play tick tick tick" << "start 0 ab | step 0>1 a/0 b | step 1>0 b/1 - | end rejected 0";
    QTest::newRow("an empty cell is a stay") << emptyCell << "01" << "play tick tick tick"
                                             << "start 0 01 | stay 0~0 0/0 1 | step 0>1 1/1 - | end accepted 1";
    QTest::newRow("a character outside the alphabet: ERROR where the run stopped")
        << ends << "ax" << "play tick tick" << "start 0 ax | step 0>1 a/0 x | end error 1 x";
    QTest::newRow("a surrogate pair is one step") << astral << grin + "a" << "play tick"
                                                  << "start 0 " + grin + "a | step 0>1 " + grin + "/0 a";
    QTest::newRow("Pause: standing still and going on") << ends << "a" << "play pause pause tick"
                                                         << "start 0 a | paused | going | step 0>1 a/0 -";
    QTest::newRow("Pause after the end reports nothing") << ends << "" << "play tick pause pause"
                                                         << "start 0 - | end rejected 0";
    QTest::newRow("Play again starts over") << ends << "ab" << "play tick play"
                                            << "start 0 ab | step 0>1 a/0 b | start 0 b";
    QTest::newRow("0 ms: only the end, with what was consumed") << ends << "aba" << "fast play"
                                                               << "end accepted 1 immediate aba";
    QTest::newRow("0 ms, a character outside the alphabet: consumed up to it")
        << ends << "abxa" << "fast play" << "end error 0 x immediate ab";
    QTest::newRow("0 ms during a timed run") << ends << "bba" << "play tick fast play"
                                             << "start 0 bba | step 0>0 b/1 ba | end accepted 1 immediate ba";
    QTest::newRow("invalid start, timed: ERROR in no state") << ends << "ab" << "start:2 play"
                                                            << "end error -1 immediate -";
    QTest::newRow("invalid start at 0 ms") << ends << "ab" << "start:-1 fast play" << "end error -1 immediate -";
    QTest::newRow("a detached observer hears nothing more") << ends << "ab" << "play tick detach tick tick"
                                                           << "start 0 ab | step 0>1 a/0 b";
}

void TestSimulationRun::reportsToTheObserver()
{
    QFETCH(modAll, model);
    QFETCH(QString, input);
    QFETCH(QString, script);
    QFETCH(QString, reports);

    PlainRunPanel panel;
    panel.input = input;
    SimulationRun run(model, panel);
    RecordingObserver observer;
    run.setObserver(&observer);
    actOnRun(script, run, model, panel);
    QCOMPARE(observer.text(), reports);
}

void TestSimulationRun::runGoing_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("going");
    QTest::addColumn<QString>("controls");

    QTest::newRow("paused") << "play pause" << true << "- pause - 1/3";
    QTest::newRow("ended by its verdict") << "play tick tick tick" << false << "- - play 0/3";
    QTest::newRow("Play at 0 ms during a timed run") << "play tick fast play" << false << "timer pause play 2/3";
    QTest::newRow("then Pause twice") << "play tick fast play pause pause" << false << "timer pause play 2/3";
    QTest::newRow("invalid start during a run") << "play start:5 play" << false << "- - play 0/3";
}

// A timed run is going from its start to its end, paused or not; Play at 0 ms
// ends it, though the timer and Pause stay as they were.
void TestSimulationRun::runGoing()
{
    QFETCH(QString, script);
    QFETCH(bool, going);
    QFETCH(QString, controls);

    modAll model = endsInA();
    PlainRunPanel panel;
    panel.input = QStringLiteral("ab");
    SimulationRun run(model, panel);
    actOnRun(script, run, model, panel);
    QCOMPARE(panel.going, going);
    QCOMPARE(panel.controls(), controls);
}

void TestSimulationRun::interval_data()
{
    QTest::addColumn<bool>("custom");
    QTest::addColumn<int>("preset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("no preset: the timer keeps its own") << false << -1 << "" << 1234;
    QTest::newRow("custom 250") << true << 1 << "250" << 250;
    QTest::newRow("custom 2.5, half to even") << true << 1 << "2.5" << 2;
    QTest::newRow("custom negative runs at once") << true << 1 << "-5" << 0;
    QTest::newRow("custom above the timer's range") << true << 1 << "99999" << 65535;
}

void TestSimulationRun::interval()
{
    QFETCH(bool, custom);
    QFETCH(int, preset);
    QFETCH(QString, text);
    QFETCH(int, expected);

    const modAll model = endsInA();
    PlainRunPanel panel;
    panel.interval = 1234;
    panel.speed = {custom, preset, text};
    panel.input = QStringLiteral("a");
    SimulationRun run(model, panel);
    run.play();
    QCOMPARE(panel.interval, expected);
    QCOMPARE(panel.output, expected == 0 ? QStringLiteral("ACCEPTED") : QStringLiteral("PENDING"));
}

// Random automata (with holes, short rows and stray targets) and random words
// (with characters outside the alphabet) end alike run at once and tick by tick,
// on the displays and to a follower: the same end, and the immediate run's
// characters are those the timed run stepped through.
void TestSimulationRun::randomAutomataRunAlikeBothWays()
{
    QRandomGenerator random(20261206);
    const QStringList letters{"a", "b", "c", "d", "x"};
    for (int round = 0; round < 300; ++round) {
        const int states = random.bounded(0, 6), symbols = random.bounded(0, 5);
        QStringList names;
        QList<QList<qint16>> table(states);
        for (QList<qint16> &row : table) {
            names << QStringLiteral("s%1").arg(names.size());
            for (int k = random.bounded(0, symbols + 1); k > 0; --k)
                row << qint16(random.bounded(-1, states + 2));
        }
        const modAll model = makeAutomaton(names, names.mid(random.bounded(0, states + 1)), letters.first(symbols), table);
        PlainRunPanel immediate, timed;
        for (int i = random.bounded(0, 12); i > 0; --i)
            timed.input += letters[random.bounded(letters.size())];
        immediate.input = timed.input;
        immediate.preset(2);
        SimulationRun a(model, immediate), b(model, timed);
        RecordingObserver atOnce, byTicks;
        a.setObserver(&atOnce);
        b.setObserver(&byTicks);
        a.play();
        b.play();
        tickToEnd(b, timed);
        QCOMPARE(timed.outcome(), immediate.outcome());
        const auto end = [](const RunEnd &e) {
            return QStringLiteral("%1 %2 %3").arg(int(e.verdict)).arg(e.state).arg(e.invalidCharacter);
        };
        QCOMPARE(end(byTicks.last), end(atOnce.last));
        QCOMPARE(byTicks.read, atOnce.last.consumed);
    }
}

QTEST_GUILESS_MAIN(TestSimulationRun)
#include "test_simulation_run.moc"
