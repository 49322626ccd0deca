// Step and Step Back: a timed run moved by hand, one tick at a time.

#include "run/simulation_run.h"

#include "model/characters.h"
#include "model/mod_all.h"
#include "run/run_panel.h"
#include "run/run_steps.h"
#include "run/run_texts.h"

#include <algorithm>

void SimulationRun::step()
{
    if (m_finished)
        return;
    m_stepped = true;
    if (!m_timedRun) {
        // As Play starts a run, except that even at 0 ms it goes one tick at a time.
        forgetSteps();
        chooseInterval();
        if (!startTimedRun())
            return;
    }
    tick();
    pauseAfterStep();
}

// Paused as Pause leaves a run; a run the step ended is over, and Play is
// available again as after any end.
void SimulationRun::pauseAfterStep()
{
    m_panel.setTimerEnabled(false);
    m_panel.setPlayEnabled(!m_timedRun);
    if (m_timedRun)
        reportPaused(true);
}

// Only a run that stands still can be stepped back: a paused one, or one that
// has just ended. Each tick changed the run only through what its record holds,
// so restoring that and the displays of a going run undoes it exactly.
void SimulationRun::stepBack()
{
    if (m_history.isEmpty() || m_panel.timerEnabled())
        return;
    const StepRecord record = m_history.last();
    m_history.dropLast();

    const qint16 to = current_state;
    current_state = record.from;
    if (m_model.isState(current_state))
        showCurrentState();
    if (record.kind == StepRecord::Kind::Step)
        m_panel.setInputText(record.characterView().toString() + m_panel.inputText());
    m_panel.setOutputText(RunTexts::pending());
    m_panel.setStatusText(RunTexts::running());
    m_panel.setProgressValue(record.progress);
    m_panel.setPauseEnabled(true);
    m_panel.setPlayEnabled(false);
    setGoing(true);
    m_stepped = true;
    m_finished = false;
    if (m_observer)
        m_observer->stepUndone(undoneStep(record, to));
    reportPaused(true);
}

// What a follower is told of a tick taken back. A verdict or an error taken
// back took no character: its step has none, and led nowhere.
RunStep SimulationRun::undoneStep(const StepRecord &record, qint16 to) const
{
    RunStep step;
    step.from = record.from;
    step.to = record.from;
    if (record.kind == StepRecord::Kind::Step) {
        step.character = record.characterView().toString();
        step.to = to;
        step.symbol = qint16(m_model.findSymbol(step.character) - 1);
        step.followed = to != record.from;
    }
    step.remaining = m_panel.inputText().sliced(step.character.size());
    return step;
}

void SimulationRun::forgetSteps()
{
    m_history.clear();
    m_finished = false;
}

// Noted before the tick acts: the tick's own lookup decides the same way, since
// nothing changes the model in between.
void SimulationRun::rememberTick(const QString &input)
{
    StepRecord record;
    record.from = current_state;
    record.progress = m_panel.progressValue();
    const QStringView character = Characters::first(input);
    if (!character.isEmpty()) {
        record.length = quint8(character.size());
        std::copy(character.utf16(), character.utf16() + character.size(), record.character);
        record.kind = m_model.findSymbol(character.toString()) == 0 ? StepRecord::Kind::Failure
                                                                      : StepRecord::Kind::Step;
    }
    m_history.push(record);
}

// The rest of the input box run as ticks would run it, the displays written
// once at the end, as Play at 0 ms does. Nothing of it can be stepped back.
void SimulationRun::finishAtOnce()
{
    forgetSteps();
    const QString input = m_panel.inputText();
    QStringView rest(input);
    QString invalid;
    while (!rest.isEmpty()) {
        const QString character = Characters::first(rest).toString();
        const qint16 symbol = m_model.findSymbol(character);
        if (symbol == 0) {
            invalid = character;
            break;
        }
        RunSteps::follow(m_model, current_state, qint16(symbol - 1));
        rest = rest.sliced(character.size());
    }
    if (m_model.isState(current_state))
        showCurrentState();
    if (rest.size() != input.size())
        m_panel.setInputText(rest.toString());
    if (invalid.isEmpty())
        giveVerdict();
    else
        failOn(invalid);
    endTimedRun();
}
