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

// How the run of a whole string ended, with the reason for ERROR.
enum class StringVerdict : quint8 {
    Accepted,
    Rejected,
    InvalidCharacter,   // stopped at a character that is not a symbol, or a byte that is no character
    InvalidStart,       // states exist but the start state is none of them: nothing ran
};

inline RunVerdict runVerdict(StringVerdict verdict)
{
    switch (verdict) {
    case StringVerdict::Accepted:
        return RunVerdict::Accepted;
    case StringVerdict::Rejected:
        return RunVerdict::Rejected;
    case StringVerdict::InvalidCharacter:
    case StringVerdict::InvalidStart:
        break;
    }
    return RunVerdict::Error;
}

// The status bar's text after the run of a whole string: "Successfully
// completed", "Invalid start state", or the invalid alphabet message naming
// `shownCharacter` (the character that stopped it, as the caller shows it).
inline QString statusText(StringVerdict verdict, const QString &shownCharacter)
{
    switch (verdict) {
    case StringVerdict::InvalidCharacter:
        return RunTexts::invalidAlphabet(shownCharacter);
    case StringVerdict::InvalidStart:
        return RunTexts::invalidStartState();
    case StringVerdict::Accepted:
    case StringVerdict::Rejected:
        break;
    }
    return RunTexts::completed();
}
