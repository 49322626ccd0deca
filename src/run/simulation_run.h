#pragma once

#include "run/run_observer.h"
#include "run/step_history.h"

#include <QtGlobal>

#include <memory>

class ByteEngine;
struct modAll;
class RunPanel;

// The run of the input string through the automaton, driven by the main window's
// Play and Pause buttons and its timer.
//
// The input box is the tape: each step removes its first character, and the run
// is over when the box is empty. A timed run takes one step per tick and reads
// the box afresh each time, so what the user types meanwhile is what the next
// ticks read; n characters take n ticks and one more for the verdict. At an
// interval of 0 Play runs the whole input at once. The run only reads the model.
//
//   state    timer     Pause     Play      left by
//   Idle     disabled  disabled  enabled   Play
//   Running  enabled   enabled   enabled   verdict or failed step -> Idle,
//                                          Pause -> Paused, Play -> Running anew
//   Paused   disabled  enabled   disabled  Pause -> Running
//
// Step and Step Back move a timed run by hand: Step takes one tick's worth and
// leaves the run Paused (starting it first as Play does when none is going), at
// any speed; Step Back undoes the last tick, whether Step or the timer made it,
// back to the start of the run and no further. Every tick of a timed run is
// kept for that (16 bytes each) until Play, or forgetSteps() on New, Open and
// any change of the model. A run made at once by Play keeps nothing.
//
// Once a timed run has ended, Step does nothing (a new run would drop the steps
// Step Back can still walk back) until the input box is edited, Play is
// pressed, the model changes or Step Back goes back into the run.
//
// A timed run is going from the Play or Step that starts it to its end, paused
// included; the panel is told (setRunGoing). Play at 0 ms ends it too, though
// it leaves the timer and Pause as they were.
class SimulationRun
{
public:
    SimulationRun(const modAll &model, RunPanel &panel);
    ~SimulationRun();

    // The one follower of the run (see RunObserver), nullptr for none.
    void setObserver(RunObserver *observer) { m_observer = observer; }

    void play();
    void pause();
    void tick();
    void step();
    void stepBack();
    // The steps taken so far can no longer be taken back.
    void forgetSteps();
    // The user changed the input box: Step may start a new run.
    void inputEdited() { m_finished = false; }
    // The ticks Step Back can still take back.
    const StepHistory &history() const { return m_history; }

    // Index of the state the automaton is in; 0 until the first Play.
    qint16 current_state = 0;

private:
    void chooseInterval();
    bool startTimedRun();
    void rememberTick(const QString &input);
    void pauseAfterStep();
    RunStep undoneStep(const StepRecord &record, qint16 to) const;
    void finishAtOnce();
    void runImmediately();
    const ByteEngine &engine();
    void refuseInvalidStart();
    bool stepOnce(const QString &input);
    void giveVerdict();
    void endTimedRun();
    void showCurrentState();
    void failOn(const QString &character);
    void reportEnd(RunVerdict verdict, const QString &invalidCharacter = QString());
    void setGoing(bool going);
    void reportPaused(bool paused);

    const modAll &m_model;
    RunPanel &m_panel;
    RunObserver *m_observer = nullptr;
    bool m_timedRun = false;   // a timed run is going or paused
    bool m_stepped = false;    // Step or Step Back moved the timed run
    bool m_finished = false;   // a timed run ended and its steps are kept: Step waits
    StepHistory m_history;
    // The automaton compiled for Play at 0 ms, with the version it was
    // compiled from: Play after Play on the same automaton compiles nothing.
    struct Compiled;
    std::unique_ptr<Compiled> m_compiled;
};
