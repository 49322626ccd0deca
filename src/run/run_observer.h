#pragma once

#include "run/run_verdict.h"

#include <QString>
#include <QtGlobal>

// What a run tells those who follow it (the diagram, the stepping controls),
// beside the main window's displays. The run reports; an observer only watches
// and never changes the run or the model.
//
// States are positions as the run holds them (SimulationRun::current_state); a
// position may name no state when the automaton has none or was changed under a
// timed run, so an observer checks it against the model it draws.
//
// The run holds at most one observer, attached only while someone watches: with
// none attached, a run costs one pointer test per report. The reports, in the
// order a run makes them:
//
//   Play, timed run         runStarted(start state, the input box)
//   each tick with a step   stepTaken(the step), after the displays are updated
//   Step Back               stepUndone(the step taken back; a verdict or an
//                           error taken back is a step with no character)
//   tick on an empty box    runEnded(ACCEPTED or REJECTED, the state reached)
//   tick on an invalid      runEnded(ERROR, the state it stopped in, the character)
//     character
//   Play, immediate run     runEnded(verdict, end state, the characters consumed);
//                           nothing before it, not even runStarted, so the run
//                           costs the same with a follower as without
//   Play, invalid start     runEnded(ERROR, no state (-1), no character)
//   Pause, Step, Step Back  runPaused(true) when a timed run going on stands
//                           still after it; Pause again runPaused(false)
//
// SimulationRun calls these from play() (runStarted once a timed run is set up;
// runEnded for an invalid start and at the end of runImmediately()), from
// stepOnce() (stepTaken), from tick() (runEnded, for the verdict and the
// failed step), and from pause(), step() and stepBack() (runPaused).

// One step of a timed run: one character taken from the front of the input box.
struct RunStep
{
    QString character;    // the character consumed (one code point)
    qint16 from = 0;      // the state before the step
    qint16 to = 0;        // the state after it; equal to `from` when nothing was followed
    qint16 symbol = 0;    // 0-based column of the character's symbol in the alphabet
    bool followed = false; // a transition was followed; false when the cell is empty or
                           // names no state, and the run stayed where it was
    QString remaining;    // the input box after the step
};

struct RunEnd
{
    using Verdict = RunVerdict;

    Verdict verdict = Verdict::Rejected;
    qint16 state = -1;          // where the run ended (for ERROR, the state it stopped in);
                                // -1 when the start state was invalid
    QString invalidCharacter;   // ERROR at a character not in the alphabet: that character
    bool immediate = false;     // the run ended inside Play: an immediate run, or an
                                // invalid start
    QString consumed;           // immediate run: every character it took, in order;
                                // timed run: empty (its steps reported them)
};

class RunObserver
{
public:
    virtual ~RunObserver() = default;

    // A timed run begins in `start` with `input` in the input box; any highlight
    // of an earlier run is over.
    virtual void runStarted(qint16 start, const QString &input) = 0;
    virtual void stepTaken(const RunStep &step) = 0;
    // `step` was taken back: the run is in step.from again, and step.character is
    // back in front of the input box (step.remaining is what follows it). With no
    // character, the run's end was taken back and the run goes on where it stood.
    virtual void stepUndone(const RunStep &step) = 0;
    virtual void runEnded(const RunEnd &end) = 0;
    // A timed run going on stands still (Pause, or a Step that did not end it)
    // or goes on again. The next Play or end also ends a pause.
    virtual void runPaused(bool paused) = 0;
};
