#pragma once

#include "run/run_observer.h"

#include <QList>

struct modAll;

// The way one string's run goes: the start state, then each step with the
// character taken and the state it led to, up to the first character that is
// not a symbol. It is what a list of test strings shows of the string chosen,
// not the run that decides its verdict (ByteEngine does), and it follows
// the same steps (RunSteps).
struct RunPath
{
    qint16 start = -1;       // -1: the start state is invalid and nothing ran
    QList<RunStep> steps;    // each step's character, from, to, symbol and followed;
                             // `remaining` is left empty
    bool stopped = false;    // ended at a character that is not a symbol (the rest not run)
};

RunPath runPath(const modAll &model, QStringView text);
