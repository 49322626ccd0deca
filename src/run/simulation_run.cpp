#include "run/simulation_run.h"

#include "model/characters.h"
#include "model/leading_number.h"
#include "model/limits.h"
#include "model/mod_all.h"
#include "run/byte_engine.h"
#include "run/run_panel.h"
#include "run/run_steps.h"
#include "run/run_texts.h"

namespace {

// Milliseconds per step of the presets "Slow (2 sec)", "Normal (500 ms)" and
// "RealTime (0 ms)", in the order of the preset list.
constexpr int presetIntervals[] = {2000, 500, 0};

} // namespace

struct SimulationRun::Compiled
{
    modAll from;   // shares the model's lists, so a change of the model leaves it as it was
    ByteEngine engine;
};

SimulationRun::SimulationRun(const modAll &model, RunPanel &panel)
    : m_model(model)
    , m_panel(panel)
{
}

SimulationRun::~SimulationRun() = default;

// Compiling a large automaton takes longer than running a short input through
// it, so the compiled one is kept while the model holds the same automaton.
// Comparing is cheap while nothing changed: the lists are still shared.
const ByteEngine &SimulationRun::engine()
{
    if (!m_compiled || !m_compiled->from.sameAutomaton(m_model)) {
        m_compiled.reset();   // the old table goes before the new one is built
        m_compiled = std::make_unique<Compiled>(Compiled{m_model, ByteEngine(m_model)});
    }
    return m_compiled->engine;
}

// The interval goes into the timer at once and stays until the next Play, so a
// paused run resumes at it. With no preset selected the timer keeps its interval.
void SimulationRun::chooseInterval()
{
    const RunPanel::SpeedChoice choice = m_panel.speedChoice();
    if (choice.custom) {
        // A custom value the timer cannot take is brought into its range: a
        // negative one runs immediately.
        const qint64 wanted = leadingNumber(choice.customText);
        m_panel.setTimerInterval(int(qBound(qint64(0), wanted, qint64(Limits::mostInterval))));
    } else if (choice.presetIndex >= 0 && choice.presetIndex < int(std::size(presetIntervals))) {
        m_panel.setTimerInterval(presetIntervals[choice.presetIndex]);
    }
}

void SimulationRun::play()
{
    forgetSteps();
    m_stepped = false;
    chooseInterval();
    if (m_panel.timerInterval() < 1) {
        runImmediately();
        return;
    }
    if (startTimedRun())
        m_panel.setTimerEnabled(true);
}

// Sets up a timed run from the start state, the timer not yet enabled; false
// when the start state is invalid and nothing can run.
bool SimulationRun::startTimedRun()
{
    if (!RunSteps::startIsValid(m_model)) {
        refuseInvalidStart();
        return false;
    }

    current_state = m_model.start_state;
    if (m_model.state_count > 0)
        showCurrentState();
    m_panel.setOutputText(RunTexts::pending());
    m_panel.setStatusText(RunTexts::running());
    m_panel.setProgressMaximum(double(Characters::count(m_panel.inputText())) + 1);
    m_panel.setProgressValue(m_panel.progressMinimum() + 1);
    m_panel.setPauseEnabled(true);
    setGoing(true);
    if (m_observer)
        m_observer->runStarted(current_state, m_panel.inputText());
    return true;
}

// States exist but none is the start (the start state chooser was confirmed
// empty, or the start state was removed): nothing can run, and a timed run
// going on ends.
void SimulationRun::refuseInvalidStart()
{
    m_panel.setOutputText(RunTexts::error());
    m_panel.setStatusText(RunTexts::invalidStartState());
    endTimedRun();
    if (m_observer)
        m_observer->runEnded({RunVerdict::Error, -1, QString(), true, QString()});
}

// Runs the whole input inside Play. The text is read once and the displays are
// written once at the end: nothing is redrawn between steps, so the user sees
// the same end result as stepping through the box, at a cost linear in the input.
// The timer, Pause and the bar are left as they are.
void SimulationRun::runImmediately()
{
    const QString input = m_panel.inputText();
    const ByteEngine::TextRun end = engine().runText(input);
    if (end.verdict == ByteEngine::Verdict::InvalidStart) {
        refuseInvalidStart();
        return;
    }
    // A timed run going on is over: this run took the rest of its input.
    setGoing(false);

    current_state = end.state;
    if (m_model.state_count > 0)
        showCurrentState();
    const QStringView rest = QStringView(input).sliced(end.consumed);
    if (end.consumed > 0)
        m_panel.setInputText(rest.toString());
    const RunVerdict verdict = runVerdict(end.verdict);
    const QString invalidCharacter = Characters::first(rest).toString();
    m_panel.setOutputText(verdictText(verdict));
    m_panel.setStatusText(statusText(end.verdict, invalidCharacter));
    // Only the end is reported, so a follower costs the run nothing per
    // character; a run that took the whole input shares its text.
    if (m_observer)
        m_observer->runEnded({verdict, end.state, verdict == RunVerdict::Error ? invalidCharacter : QString(), true,
                              input.left(end.consumed)});
}

void SimulationRun::tick()
{
    const QString input = m_panel.inputText();
    rememberTick(input);
    if (input.isEmpty())
        giveVerdict();
    else if (stepOnce(input))
        return;   // a step leaves the run going, even when it took the last character
    endTimedRun();
    m_finished = true;
}

// One step of a timed run, against the model as it is now.
bool SimulationRun::stepOnce(const QString &input)
{
    const QString character = Characters::first(input).toString();
    const qint16 symbol = m_model.findSymbol(character);
    if (symbol == 0) {
        failOn(character);
        return false;
    }
    const qint16 from = current_state;
    const bool followed = RunSteps::follow(m_model, current_state, qint16(symbol - 1));
    if (followed)
        showCurrentState();
    if (m_panel.progressValue() < m_panel.progressMaximum())
        m_panel.setProgressValue(m_panel.progressValue() + 1);
    const QString remaining = input.sliced(character.size());
    m_panel.setInputText(remaining);
    if (m_observer)
        m_observer->stepTaken({character, from, current_state, qint16(symbol - 1), followed, remaining});
    return true;
}

// The offending character stays first in the input box.
void SimulationRun::failOn(const QString &character)
{
    m_panel.setOutputText(RunTexts::error());
    m_panel.setStatusText(RunTexts::invalidAlphabet(character));
    reportEnd(RunVerdict::Error, character);
}

void SimulationRun::giveVerdict()
{
    const bool accepting = RunSteps::isAccepting(m_model, current_state);
    m_panel.setOutputText(RunTexts::verdict(accepting));
    m_panel.setStatusText(RunTexts::completed());
    reportEnd(accepting ? RunVerdict::Accepted : RunVerdict::Rejected);
}

// The end of a timed run, in the state it reached.
void SimulationRun::reportEnd(RunVerdict verdict, const QString &invalidCharacter)
{
    if (m_observer)
        m_observer->runEnded({verdict, current_state, invalidCharacter, false, QString()});
}

void SimulationRun::endTimedRun()
{
    setGoing(false);
    m_panel.setTimerEnabled(false);
    m_panel.setPauseEnabled(false);
    m_panel.setProgressValue(m_panel.progressMinimum());
}

void SimulationRun::pause()
{
    const bool pausing = m_panel.timerEnabled();
    m_panel.setTimerEnabled(!pausing);
    m_panel.setPlayEnabled(!pausing);
    if (m_timedRun)
        reportPaused(pausing);
    // A timer of 0 ms never ticks: a stepped run resumed at that speed runs
    // the rest at once, as Play would have.
    if (!pausing && m_stepped && m_timedRun && m_panel.timerInterval() < 1)
        finishAtOnce();
}

void SimulationRun::setGoing(bool going)
{
    m_timedRun = going;
    m_panel.setRunGoing(going);
}

void SimulationRun::reportPaused(bool paused)
{
    if (m_observer)
        m_observer->runPaused(paused);
}

void SimulationRun::showCurrentState()
{
    m_panel.setStateText(m_model.states[current_state].name);
}
