#pragma once

#include "run/run_observer.h"
#include "run/run_verdict.h"

#include <QList>

struct modAll;

// One move of a run, from a state on a symbol: where it led, or that the run
// stayed (no transition, or one that names no state).
struct RunMove
{
    qint16 from = 0;
    qint16 to = 0;
    bool followed = false;
};

// The way one string's run goes: the start state, then each step with the
// character taken and the state it led to, up to the first character that is
// not a symbol, and how the run ends. It is what a list of test strings shows
// of the string chosen. The verdict that list shows comes from ByteEngine;
// this walk follows the same rules (RunSteps) and ends the same way, which the
// tests check against it.
//
// However long the string, the path holds a bounded part of it: the first and
// the last `keptSteps` steps (a line shows no more), and each move the run
// made once (a drawing shows no more).
struct RunPath
{
    static constexpr qsizetype keptSteps = 50;

    bool invalidStart = false;    // states exist but none is the start: nothing ran
    qint16 start = -1;            // the start state as the model holds it; -1 when nothing ran
    QList<RunStep> firstSteps;    // the first steps, at most keptSteps; `remaining` is left empty
    QList<RunStep> lastSteps;     // the steps after those, the last keptSteps of them
    qsizetype stepCount = 0;      // every step taken
    qsizetype consumed = 0;       // UTF-16 units of the string the steps took
    qint16 end = -1;              // the state the run ended in, or stopped in
    bool stopped = false;         // ended at a character that is not a symbol (the rest not run)
    RunVerdict verdict = RunVerdict::Error;
    QList<RunMove> moves;         // every move made, each once, in no particular order

    // Steps taken between firstSteps and lastSteps and not kept.
    qsizetype leftOut() const { return stepCount - firstSteps.size() - lastSteps.size(); }
};

RunPath runPath(const modAll &model, QStringView text);
