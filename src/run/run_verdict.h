#pragma once

#include "run/run_texts.h"

// How a run ends: the state it stops in is final (ACCEPTED) or not (REJECTED),
// or it could not go on (ERROR: an invalid start state, or a character that is
// not a symbol).
enum class RunVerdict { Accepted, Rejected, Error };

inline QString verdictText(RunVerdict verdict)
{
    switch (verdict) {
    case RunVerdict::Accepted:
        return RunTexts::accepted();
    case RunVerdict::Rejected:
        return RunTexts::rejected();
    case RunVerdict::Error:
        break;
    }
    return RunTexts::error();
}
