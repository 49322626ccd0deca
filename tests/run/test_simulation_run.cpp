#include "run/run_panel.h"
#include "run/simulation_run.h"
#include "test_automata.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// The window's run elements as plain fields.
struct FakePanel final : RunPanel
{
    QString input, state, output, status;
    double minimum = 0, maximum = 100, value = 0;
    int interval = 0;
    bool timerOn = false, playOn = true, pauseOn = false;
    SpeedChoice speed{false, 1, {}};

    QString inputText() const override { return input; }
    void setInputText(const QString &t) override { input = t; }
    void setStateText(const QString &t) override { state = t; }
    void setOutputText(const QString &t) override { output = t; }
    void setStatusText(const QString &t) override { status = t; }
    double progressMinimum() const override { return minimum; }
    double progressMaximum() const override { return maximum; }
    double progressValue() const override { return value; }
    void setProgressMaximum(double m) override { maximum = m; }
    void setProgressValue(double v) override { value = v; }
    int timerInterval() const override { return interval; }
    void setTimerInterval(int ms) override { interval = ms; }
    bool timerEnabled() const override { return timerOn; }
    void setTimerEnabled(bool on) override { timerOn = on; }
    void setPlayEnabled(bool on) override { playOn = on; }
    void setPauseEnabled(bool on) override { pauseOn = on; }
    SpeedChoice speedChoice() const override { return speed; }

    void preset(int index) { speed = {false, index, {}}; }
    void custom(const QString &text) { speed = {true, 1, text}; }
};

struct Outcome
{
    QString output, status, input, state;
    bool operator==(const Outcome &) const = default;
};

QDebug operator<<(QDebug d, const Outcome &o)
{
    return d << o.output << o.status << o.input << o.state;
}

Outcome outcomeOf(const FakePanel &p) { return {p.output, p.status, p.input, p.state}; }

// Ticks until the timed run ends, with a bound so a run that never ends fails.
int tickToEnd(SimulationRun &run, FakePanel &panel)
{
    int ticks = 0;
    while (panel.timerOn && ticks < 100000) {
        run.tick();
        ++ticks;
    }
    return ticks;
}

// Three states in a row: s0 -a-> s1 -a-> s2; b keeps s0, row of s1 is short
// and row of s2 is missing (states added after the table was last sized),
// s2 is final.
modAll raggedAutomaton()
{
    modAll m = makeAutomaton({"s0", "s1", "s2"}, {"s2"}, {"a", "b"}, {{2, 0}, {3}, {}});
    m.transitions.resize(2); // the last state has no row at all
    return m;
}

} // namespace

class TestSimulationRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void immediateRun_data();
    void immediateRun();
    void timedRunTakesOneTickPerCharacterAndOneForTheVerdict();
    void timedRunStopsAtAnInvalidCharacter();
    void pauseAndResume();
    void playDuringTimedRunRestartsFromTheStart();
    void playAtZeroDuringTimedRunLeavesTimerAndPause();
    void interval_data();
    void interval();
    void invalidStartStateRunsNothing_data();
    void invalidStartStateRunsNothing();
    void modelChangedUnderATimedRun();
    void typingDuringATimedRunIsReadByTheNextTick();
    void timedAndImmediateRunsAgree();
};

void TestSimulationRun::immediateRun_data()
{
    QTest::addColumn<modAll>("model");
    QTest::addColumn<QString>("input");
    QTest::addColumn<Outcome>("expected");

    const QString ok = QStringLiteral("Successfully completed");
    const modAll ends = endsInA();

    QTest::newRow("accepted") << ends << "abba" << Outcome{"ACCEPTED", ok, "", "q1"};
    QTest::newRow("rejected") << ends << "ab" << Outcome{"REJECTED", ok, "", "q0"};
    QTest::newRow("empty input, start not final") << ends << "" << Outcome{"REJECTED", ok, "", "q0"};
    modAll startFinal = ends;
    startFinal.start_state = 1;
    QTest::newRow("empty input, start final") << startFinal << "" << Outcome{"ACCEPTED", ok, "", "q1"};
    QTest::newRow("third character invalid")
        << ends << "aaxab" << Outcome{"ERROR", "Invalid alphabet 'x'", "xab", "q1"};
    QTest::newRow("case counts") << ends << "A" << Outcome{"ERROR", "Invalid alphabet 'A'", "A", "q0"};
    QTest::newRow("blank is a character") << ends << "a b" << Outcome{"ERROR", "Invalid alphabet ' '", " b", "q1"};

    modAll withEmptyCell = makeAutomaton({"p", "f"}, {"f"}, {"0", "1"}, {{0, 2}, {1, 0}});
    QTest::newRow("empty cell stays") << withEmptyCell << "0001" << Outcome{"ACCEPTED", ok, "", "f"};
    QTest::newRow("empty cell after move") << withEmptyCell << "11" << Outcome{"ACCEPTED", ok, "", "f"};

    modAll noStates = makeAutomaton({}, {}, {"a"}, {});
    QTest::newRow("no states consumes symbols") << noStates << "aa" << Outcome{"REJECTED", ok, "", ""};
    modAll noSymbols = makeAutomaton({"q"}, {"q"}, {}, {{}});
    QTest::newRow("no symbols fails at once") << noSymbols << "a" << Outcome{"ERROR", "Invalid alphabet 'a'", "a", "q"};

    const QString grin = QString::fromUcs4(U"\U0001F600");
    modAll astral = makeAutomaton({"q0", "q1"}, {"q1"}, {grin, "a"}, {{2, 1}, {2, 1}});
    QTest::newRow("surrogate pair is one symbol") << astral << grin + "a" + grin << Outcome{"ACCEPTED", ok, "", "q1"};
    const QString other = QString::fromUcs4(U"\U0001F601");
    QTest::newRow("unknown surrogate pair shown whole")
        << astral << "a" + other + "a" << Outcome{"ERROR", "Invalid alphabet '" + other + "'", other + "a", "q0"};

    modAll repeated = makeAutomaton({"q0", "q1"}, {"q1"}, {"a", "a"}, {{1, 2}, {1, 1}});
    QTest::newRow("repeated symbol, last wins") << repeated << "a" << Outcome{"ACCEPTED", ok, "", "q1"};
    modAll longSymbol = makeAutomaton({"q0"}, {}, {"ab"}, {{1}});
    QTest::newRow("multi-character symbol never matches") << longSymbol << "ab" << Outcome{"ERROR", "Invalid alphabet 'a'", "ab", "q0"};

    const modAll ragged = raggedAutomaton();
    QTest::newRow("short row stays") << ragged << "ab" << Outcome{"REJECTED", ok, "", "s1"};
    QTest::newRow("missing row stays") << ragged << "aaab" << Outcome{"ACCEPTED", ok, "", "s2"};
    modAll outOfRange = makeAutomaton({"q0", "q1"}, {"q1"}, {"a"}, {{3}, {-1}});
    QTest::newRow("target past the states stays") << outOfRange << "a" << Outcome{"REJECTED", ok, "", "q0"};
    outOfRange.start_state = 1;
    QTest::newRow("negative target stays") << outOfRange << "aa" << Outcome{"ACCEPTED", ok, "", "q1"};
}

void TestSimulationRun::immediateRun()
{
    QFETCH(modAll, model);
    QFETCH(QString, input);
    QFETCH(Outcome, expected);

    FakePanel panel;
    panel.preset(2);
    panel.input = input;
    SimulationRun run(model, panel);
    run.play();
    QCOMPARE(outcomeOf(panel), expected);
    // An immediate run leaves the timer, Pause and the bar alone.
    QCOMPARE(panel.timerOn, false);
    QCOMPARE(panel.pauseOn, false);
    QCOMPARE(panel.value, 0.0);

    // The same run, a tick at a time, ends the same way.
    FakePanel timed;
    timed.preset(0);
    timed.input = input;
    SimulationRun stepped(model, timed);
    stepped.play();
    tickToEnd(stepped, timed);
    QCOMPARE(outcomeOf(timed), expected);
}

void TestSimulationRun::timedRunTakesOneTickPerCharacterAndOneForTheVerdict()
{
    const modAll model = endsInA();
    FakePanel panel;
    panel.input = QStringLiteral("abba");
    SimulationRun run(model, panel);
    run.play();

    QCOMPARE(panel.interval, 500);
    QCOMPARE(panel.output, QStringLiteral("PENDING"));
    QCOMPARE(panel.status, QStringLiteral("Running ..."));
    QCOMPARE(panel.state, QStringLiteral("q0"));
    QCOMPARE(panel.maximum, 5.0);
    QCOMPARE(panel.value, 1.0);
    QVERIFY(panel.timerOn && panel.pauseOn && panel.playOn);

    const QStringList states{"q1", "q0", "q0", "q1"};
    for (int i = 0; i < 4; ++i) {
        run.tick();
        QCOMPARE(panel.state, states[i]);
        QCOMPARE(panel.input, QStringLiteral("abba").mid(i + 1));
        QCOMPARE(panel.value, double(i + 2));
        QCOMPARE(panel.output, QStringLiteral("PENDING"));
        QVERIFY(panel.timerOn);
    }
    run.tick();
    QCOMPARE(panel.output, QStringLiteral("ACCEPTED"));
    QCOMPARE(panel.status, QStringLiteral("Successfully completed"));
    QCOMPARE(panel.value, 0.0);
    QVERIFY(!panel.timerOn && !panel.pauseOn && panel.playOn);
}

void TestSimulationRun::timedRunStopsAtAnInvalidCharacter()
{
    const modAll model = endsInA();
    FakePanel panel;
    panel.input = QStringLiteral("abcab");
    SimulationRun run(model, panel);
    run.play();
    QCOMPARE(tickToEnd(run, panel), 3);
    QCOMPARE(outcomeOf(panel), (Outcome{"ERROR", "Invalid alphabet 'c'", "cab", "q0"}));
    QCOMPARE(panel.value, 0.0);
    QVERIFY(!panel.pauseOn);
}

void TestSimulationRun::pauseAndResume()
{
    const modAll model = endsInA();
    FakePanel panel;
    panel.input = QStringLiteral("aab");
    SimulationRun run(model, panel);
    run.play();
    run.tick();

    run.pause();
    QVERIFY(!panel.timerOn && !panel.playOn && panel.pauseOn);
    QCOMPARE(panel.input, QStringLiteral("ab"));
    QCOMPARE(panel.value, 2.0);

    run.pause();
    QVERIFY(panel.timerOn && panel.playOn && panel.pauseOn);
    QCOMPARE(tickToEnd(run, panel), 3);
    QCOMPARE(panel.output, QStringLiteral("REJECTED"));
}

void TestSimulationRun::playDuringTimedRunRestartsFromTheStart()
{
    modAll model = makeAutomaton({"q0", "q1", "q2"}, {"q2"}, {"a"}, {{2}, {3}, {3}});
    FakePanel panel;
    panel.input = QStringLiteral("aaa");
    SimulationRun run(model, panel);
    run.play();
    run.tick();
    run.tick();
    QCOMPARE(panel.state, QStringLiteral("q2"));

    run.play();
    QCOMPARE(panel.state, QStringLiteral("q0"));
    QCOMPARE(panel.maximum, 2.0);
    QCOMPARE(panel.value, 1.0);
    QCOMPARE(tickToEnd(run, panel), 2);
    QCOMPARE(panel.state, QStringLiteral("q1"));
    QCOMPARE(panel.output, QStringLiteral("REJECTED"));
}

void TestSimulationRun::playAtZeroDuringTimedRunLeavesTimerAndPause()
{
    const modAll model = endsInA();
    FakePanel panel;
    panel.input = QStringLiteral("bba");
    SimulationRun run(model, panel);
    run.play();
    run.tick();

    panel.preset(2);
    run.play();
    QCOMPARE(outcomeOf(panel), (Outcome{"ACCEPTED", "Successfully completed", "", "q1"}));
    QCOMPARE(panel.interval, 0);
    QVERIFY(panel.timerOn);   // enabled, but an interval of 0 never ticks
    QVERIFY(panel.pauseOn);
    QCOMPARE(panel.value, 2.0);
}

void TestSimulationRun::interval_data()
{
    QTest::addColumn<bool>("custom");
    QTest::addColumn<int>("preset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("Slow") << false << 0 << "" << 2000;
    QTest::newRow("Normal") << false << 1 << "" << 500;
    QTest::newRow("RealTime") << false << 2 << "" << 0;
    QTest::newRow("no preset keeps the timer's") << false << -1 << "" << 1234;
    QTest::newRow("custom 250") << true << 1 << "250" << 250;
    QTest::newRow("custom 2.5 to even") << true << 1 << "2.5" << 2;
    QTest::newRow("custom 3.5 to even") << true << 1 << "3.5" << 4;
    QTest::newRow("custom letters") << true << 1 << "abc" << 0;
    QTest::newRow("custom empty") << true << 1 << "" << 0;
    QTest::newRow("custom leading blanks") << true << 1 << "  75" << 75;
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
    FakePanel panel;
    panel.interval = 1234;
    panel.speed = {custom, preset, text};
    panel.input = QStringLiteral("a");
    SimulationRun run(model, panel);
    run.play();
    QCOMPARE(panel.interval, expected);
    // Interval 0 runs at once; any other starts a timed run.
    QCOMPARE(panel.output, expected == 0 ? QStringLiteral("ACCEPTED") : QStringLiteral("PENDING"));
    QCOMPARE(panel.timerOn, expected != 0);
}

void TestSimulationRun::invalidStartStateRunsNothing_data()
{
    QTest::addColumn<int>("start");
    QTest::newRow("none chosen") << -1;
    QTest::newRow("start state removed") << 2;
}

void TestSimulationRun::invalidStartStateRunsNothing()
{
    QFETCH(int, start);
    modAll model = endsInA();
    FakePanel panel;
    panel.input = QStringLiteral("ab");
    panel.state = QStringLiteral("before");
    SimulationRun run(model, panel);
    run.play(); // a timed run is going when the start state goes bad
    model.start_state = qint16(start);
    run.play();
    QCOMPARE(outcomeOf(panel), (Outcome{"ERROR", "Invalid start state", "ab", "q0"}));
    QVERIFY(!panel.timerOn && !panel.pauseOn && panel.playOn);
    QCOMPARE(panel.value, 0.0);

    panel.preset(2);
    run.play();
    QCOMPARE(outcomeOf(panel), (Outcome{"ERROR", "Invalid start state", "ab", "q0"}));
}

void TestSimulationRun::modelChangedUnderATimedRun()
{
    // The run reached q2; then the states editor removed q1 and q2.
    modAll model = makeAutomaton({"q0", "q1", "q2"}, {"q2"}, {"a"}, {{2}, {3}, {3}});
    FakePanel panel;
    panel.input = QStringLiteral("aaa");
    SimulationRun run(model, panel);
    run.play();
    run.tick();
    run.tick();
    model.state_count = 1;
    model.states.resize(2);
    run.tick(); // no state to move from: the symbol is consumed, nothing moves
    QCOMPARE(panel.state, QStringLiteral("q2"));
    run.tick();
    QCOMPARE(panel.output, QStringLiteral("REJECTED"));

    // New empties the model and the input box: the next tick gives the verdict.
    panel.input = QStringLiteral("a");
    run.play();
    model = modAll();
    panel.input.clear();
    run.tick();
    QCOMPARE(panel.output, QStringLiteral("REJECTED"));
    QVERIFY(!panel.timerOn);
}

void TestSimulationRun::typingDuringATimedRunIsReadByTheNextTick()
{
    const modAll model = endsInA();
    FakePanel panel;
    panel.input = QStringLiteral("b");
    SimulationRun run(model, panel);
    run.play();
    panel.input += QStringLiteral("a");
    QCOMPARE(tickToEnd(run, panel), 3);
    QCOMPARE(panel.output, QStringLiteral("ACCEPTED"));
}

// Random automata (with holes, short rows and stray targets) and random words
// (with characters outside the alphabet): the timed run and the immediate run
// must end alike.
void TestSimulationRun::timedAndImmediateRunsAgree()
{
    QRandomGenerator random(20261206);
    const QString letters = QStringLiteral("abcdx");
    for (int round = 0; round < 300; ++round) {
        const int states = random.bounded(0, 6);
        const int symbols = random.bounded(0, 5);
        QStringList names, finals, alphabet;
        QList<QList<qint16>> table;
        for (int s = 0; s < states; ++s) {
            names << QStringLiteral("s%1").arg(s);
            if (random.bounded(2))
                finals << names.constLast();
            QList<qint16> row;
            const int width = random.bounded(0, symbols + 1);
            for (int k = 0; k < width; ++k)
                row << qint16(random.bounded(-1, states + 2));
            table << row;
        }
        for (int k = 0; k < symbols; ++k)
            alphabet << letters.mid(k, 1);
        const modAll model = makeAutomaton(names, finals, alphabet, table);

        QString word;
        for (int i = random.bounded(0, 12); i > 0; --i)
            word += letters[random.bounded(letters.size())];

        FakePanel immediate, timed;
        immediate.preset(2);
        immediate.input = timed.input = word;
        SimulationRun a(model, immediate), b(model, timed);
        a.play();
        b.play();
        const int ticks = tickToEnd(b, timed);
        QVERIFY(ticks <= word.size() + 1);
        QCOMPARE(outcomeOf(timed), outcomeOf(immediate));
        QCOMPARE(b.current_state, a.current_state);
    }
}

QTEST_GUILESS_MAIN(TestSimulationRun)
#include "test_simulation_run.moc"
