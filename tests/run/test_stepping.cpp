#include "plain_run_panel.h"
#include "run_script.h"
#include "run/simulation_run.h"
#include "test_automata.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// Every field the run shows, and every control it sets, in one line.
QString snapshot(const PlainRunPanel &panel, const SimulationRun &run)
{
    return panel.outcome() + u'|' + panel.controls() + QStringLiteral(" @%1").arg(run.current_state);
}

// The fields a user reads (output, status, input box, state, bar), not the controls.
QString fields(const PlainRunPanel &panel)
{
    return panel.outcome() + QStringLiteral(" %1/%2").arg(panel.value).arg(panel.maximum);
}

// Steps until the run ends; bounded, so a run that never ends fails.
QStringList stepToEnd(SimulationRun &run, PlainRunPanel &panel)
{
    QStringList seen;
    do {
        run.step();
        seen.append(snapshot(panel, run));
    } while (panel.pauseOn && seen.size() < 10000);
    return seen;
}

// A string over the random automata's symbols 0, 1, 2, now and then with a
// character that is no symbol.
QString randomString(QRandomGenerator &random, int length, bool invalid)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text += QChar(u'0' + random.bounded(3));
    if (invalid && length > 0)
        text[random.bounded(length)] = u'x';
    return text;
}

const QString grin = QString::fromUcs4(U"\U0001F600");

} // namespace

class TestStepping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stepsEqualTicks_data();
    void stepsEqualTicks();
    void stepBackInvertsStep_data();
    void stepBackInvertsStep();
    void stepBackInvertsStepOnRandomAutomata();
    void stepBackUndoesTimerTicks();
    void stepBackStopsAtTheStart();
    void nothingToStepBack_data();
    void nothingToStepBack();
    void stepDuringTimedRunPauses();
    void resumeAfterStepping_data();
    void resumeAfterStepping();
    void playAfterSteppingStartsAfresh();
    void stepAfterTheEnd_data();
    void stepAfterTheEnd();
    void historyKeepsOneEntryPerTick();
};

void TestStepping::stepsEqualTicks_data()
{
    QTest::addColumn<modAll>("model");
    QTest::addColumn<QString>("input");

    const modAll astral = makeAutomaton({"q0", "q1"}, {"q1"}, {grin, "a"}, {{2, 1}, {2, 1}});
    QTest::newRow("accepted") << endsInA() << "abba";
    QTest::newRow("rejected") << endsInA() << "ab";
    QTest::newRow("empty input") << endsInA() << "";
    QTest::newRow("third character invalid") << endsInA() << "abxa";
    QTest::newRow("first character invalid") << endsInA() << "xa";
    QTest::newRow("empty cell stays") << makeAutomaton({"p", "f"}, {"f"}, {"0", "1"}, {{0, 2}, {1, 0}}) << "0001";
    QTest::newRow("no states") << makeAutomaton({}, {}, {"a"}, {}) << "aa";
    QTest::newRow("surrogate pair is one step") << astral << "a" + grin + grin;
    QTest::newRow("random automaton") << randomAutomaton(7, 11) << "0120210122";
}

// Step n times gives what n ticks of a timed run give, field by field.
void TestStepping::stepsEqualTicks()
{
    QFETCH(modAll, model);
    QFETCH(QString, input);

    PlainRunPanel timedPanel;
    timedPanel.input = input;
    SimulationRun timed(model, timedPanel);
    timed.play();
    QStringList ticks;
    while (timedPanel.timerOn && ticks.size() < 1000) {
        timed.tick();
        ticks.append(fields(timedPanel) + QStringLiteral(" @%1").arg(timed.current_state));
    }

    PlainRunPanel steppedPanel;
    steppedPanel.input = input;
    SimulationRun stepped(model, steppedPanel);
    QStringList steps;
    do {
        stepped.step();
        steps.append(fields(steppedPanel) + QStringLiteral(" @%1").arg(stepped.current_state));
    } while (steppedPanel.pauseOn && steps.size() < 1000);

    QCOMPARE(steps, ticks);
    QCOMPARE(steppedPanel.controls(), timedPanel.controls());
}

void TestStepping::stepBackInvertsStep_data()
{
    stepsEqualTicks_data();
}

// Snapshot k is the run after k steps; Step Back from k + 1 gives it again,
// the verdict and the invalid-symbol stop included, and the first Step Back
// after one step gives the run as Play then Pause leave it.
void TestStepping::stepBackInvertsStep()
{
    QFETCH(modAll, model);
    QFETCH(QString, input);

    PlainRunPanel panel;
    panel.input = input;
    SimulationRun run(model, panel);
    run.play();
    run.pause();
    const QString start = snapshot(panel, run);

    PlainRunPanel fresh;
    fresh.input = input;
    SimulationRun stepped(model, fresh);
    QStringList seen{start};
    seen.append(stepToEnd(stepped, fresh));
    for (qsizetype k = seen.size() - 1; k > 0; --k) {
        QCOMPARE(snapshot(fresh, stepped), seen[k]);
        stepped.stepBack();
        QCOMPARE(snapshot(fresh, stepped), seen[k - 1]);
    }
    QVERIFY(stepped.history().isEmpty());
}

void TestStepping::stepBackInvertsStepOnRandomAutomata()
{
    QRandomGenerator random(2024);
    for (int round = 0; round < 60; ++round) {
        const modAll model = randomAutomaton(1 + random.bounded(9), random.generate());
        const QString input = randomString(random, random.bounded(25), round % 3 == 0);
        PlainRunPanel panel;
        panel.input = input;
        SimulationRun run(model, panel);
        QStringList seen = stepToEnd(run, panel);
        // Back and forth at a random point, then all the way back.
        const qsizetype back = random.bounded(int(seen.size()));
        for (qsizetype i = 0; i < back; ++i)
            run.stepBack();
        QCOMPARE(snapshot(panel, run), seen[seen.size() - 1 - back]);
        for (qsizetype i = 0; i < back; ++i)
            run.step();
        QCOMPARE(snapshot(panel, run), seen.last());
        for (qsizetype k = seen.size() - 1; k > 0; --k) {
            run.stepBack();
            QCOMPARE(snapshot(panel, run), seen[k - 1]);
        }
        run.stepBack();
        QCOMPARE(panel.input, input);
        QCOMPARE(panel.output, QStringLiteral("PENDING"));
    }
}

void TestStepping::stepBackUndoesTimerTicks()
{
    const modAll model = endsInA();
    PlainRunPanel panel;
    panel.input = QStringLiteral("abab");
    SimulationRun run(model, panel);
    run.play();
    run.tick();
    run.tick();
    run.pause();
    const QString afterTwo = snapshot(panel, run);
    run.pause();
    run.tick();
    run.pause();
    run.stepBack();
    QCOMPARE(snapshot(panel, run), afterTwo);
    QCOMPARE(panel.input, QStringLiteral("ab"));
}

void TestStepping::stepBackStopsAtTheStart()
{
    const modAll model = endsInA();
    PlainRunPanel panel;
    panel.input = QStringLiteral("ab");
    SimulationRun run(model, panel);
    run.step();
    run.stepBack();
    const QString start = snapshot(panel, run);
    run.stepBack();
    run.stepBack();
    QCOMPARE(snapshot(panel, run), start);
    QCOMPARE(panel.input, QStringLiteral("ab"));
    QCOMPARE(panel.output, QStringLiteral("PENDING"));
}

void TestStepping::nothingToStepBack_data()
{
    QTest::addColumn<int>("preset");
    QTest::addColumn<bool>("pauseFirst");
    QTest::addColumn<bool>("forget");

    QTest::newRow("after Play at 0 ms") << 2 << false << false;
    QTest::newRow("while a timed run goes") << 1 << false << false;
    QTest::newRow("after the model changed") << 1 << true << true;
}

void TestStepping::nothingToStepBack()
{
    QFETCH(int, preset);
    QFETCH(bool, pauseFirst);
    QFETCH(bool, forget);

    const modAll model = endsInA();
    PlainRunPanel panel;
    panel.input = QStringLiteral("aba");
    panel.preset(preset);
    SimulationRun run(model, panel);
    run.play();
    if (panel.timerOn)
        run.tick();
    if (pauseFirst)
        run.pause();
    if (forget)
        run.forgetSteps();
    const QString before = snapshot(panel, run);
    run.stepBack();
    QCOMPARE(snapshot(panel, run), before);
}

void TestStepping::stepDuringTimedRunPauses()
{
    const modAll model = endsInA();
    PlainRunPanel panel;
    panel.input = QStringLiteral("aba");
    SimulationRun run(model, panel);
    run.play();
    run.tick();
    run.step();
    QCOMPARE(panel.input, QStringLiteral("a"));
    QCOMPARE(panel.controls(), QStringLiteral("- pause - 3/4"));
    run.pause();
    QCOMPARE(panel.controls(), QStringLiteral("timer pause play 3/4"));
}

void TestStepping::resumeAfterStepping_data()
{
    QTest::addColumn<int>("preset");
    QTest::addColumn<QString>("input");

    QTest::newRow("500 ms, accepted") << 1 << "abba";
    QTest::newRow("500 ms, invalid symbol") << 1 << "abxa";
    QTest::newRow("0 ms, accepted") << 2 << "abba";
    QTest::newRow("0 ms, invalid symbol") << 2 << "abxa";
    QTest::newRow("0 ms, astral invalid") << 2 << "ab" + grin;
}

// Pause resumes a stepped run at the chosen speed, and at 0 ms runs the rest at
// once: either way it ends as Play alone would have.
void TestStepping::resumeAfterStepping()
{
    QFETCH(int, preset);
    QFETCH(QString, input);

    const modAll model = endsInA();
    PlainRunPanel plain;
    plain.input = input;
    SimulationRun alone(model, plain);
    alone.play();
    while (plain.timerOn)
        alone.tick();

    PlainRunPanel panel;
    panel.input = input;
    panel.preset(preset);
    SimulationRun run(model, panel);
    run.step();
    run.step();
    QVERIFY2(panel.controls().startsWith(QStringLiteral("- pause - 3/")), qPrintable(panel.controls()));
    run.pause();
    int ticks = 0;
    while (panel.timerOn && ticks++ < 100)
        run.tick();
    QCOMPARE(panel.outcome(), plain.outcome());
    QCOMPARE(panel.controls(), plain.controls());
}

void TestStepping::playAfterSteppingStartsAfresh()
{
    const modAll model = endsInA();
    PlainRunPanel panel;
    panel.input = QStringLiteral("ab");
    SimulationRun run(model, panel);
    run.step();
    run.pause(); // resumed: Play is available again
    run.play();
    QVERIFY(run.history().isEmpty());
    QCOMPARE(snapshot(panel, run), QStringLiteral("PENDING|Running ...|b|q0|timer pause play 1/2 @0"));
    run.tick();
    run.tick();
    QCOMPARE(panel.outcome(), QStringLiteral("REJECTED|Successfully completed||q0"));
}

void TestStepping::stepAfterTheEnd_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("outcome");   // output|status|input|state, the ticks kept, a run going

    const QString rejected = QStringLiteral("REJECTED|Successfully completed||q0");
    QTest::newRow("the end stands") << "ab" << "step step step step step" << rejected + " 3 -";
    QTest::newRow("Step Back still walks back") << "ab" << "step step step step back"
                                                << "PENDING|Running ...||q0 2 going";
    QTest::newRow("back into the run, then to its end again") << "ab" << "step step step back step step"
                                                              << rejected + " 3 -";
    QTest::newRow("an error end stands") << "axb" << "step step step"
                                         << "ERROR|Invalid alphabet 'x'|xb|q1 2 -";
    QTest::newRow("a run the timer ended") << "ab" << "play tick tick tick step" << rejected + " 3 -";
    QTest::newRow("the input edited: a new run") << "ab" << "step step step type:a step"
                                                 << "PENDING|Running ...||q1 1 going";
    QTest::newRow("Play: a new run") << "ab" << "step step step play step" << rejected + " 1 -";
    QTest::newRow("the model changed: a new run") << "ab" << "step step step forget step" << rejected + " 1 -";
    QTest::newRow("after Play at 0 ms Step starts anew") << "ab" << "fast play step" << rejected + " 1 -";
}

// Once a run has ended, Step waits for something new to run, so that Step
// Back can still go back into the run that ended (see actOnRun for the words).
void TestStepping::stepAfterTheEnd()
{
    QFETCH(QString, input);
    QFETCH(QString, script);
    QFETCH(QString, outcome);

    modAll model = endsInA();
    PlainRunPanel panel;
    panel.input = input;
    SimulationRun run(model, panel);
    actOnRun(script, run, model, panel);
    QCOMPARE(panel.outcome() + QStringLiteral(" %1 %2").arg(run.history().size()).arg(panel.going ? "going" : "-"),
             outcome);
}

void TestStepping::historyKeepsOneEntryPerTick()
{
    const modAll model = endsInA();
    PlainRunPanel panel;
    panel.input = QString(500, u'a');
    SimulationRun run(model, panel);
    stepToEnd(run, panel);
    QCOMPARE(run.history().size(), 501);
    run.play();
    QCOMPARE(run.history().size(), 0);
}

QTEST_GUILESS_MAIN(TestStepping)
#include "test_stepping.moc"
