#pragma once

#include "run/run_observer.h"

#include <QtGlobal>

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
class SimulationRun
{
public:
    SimulationRun(const modAll &model, RunPanel &panel);

    // The one follower of the run (see RunObserver), nullptr for none.
    void setObserver(RunObserver *observer) { m_observer = observer; }

    void play();
    void pause();
    void tick();

    // Index of the state the automaton is in; 0 until the first Play.
    qint16 current_state = 0;

private:
    void chooseInterval();
    void runImmediately();
    void refuseInvalidStart();
    bool stepOnce(const QString &input);
    void giveVerdict();
    void endTimedRun();
    void showCurrentState();
    void failOn(const QString &character);
    void reportEnd(RunVerdict verdict, const QString &invalidCharacter = QString());

    const modAll &m_model;
    RunPanel &m_panel;
    RunObserver *m_observer = nullptr;
};
