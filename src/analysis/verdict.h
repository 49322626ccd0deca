#pragma once

#include "run/run_texts.h"

#include <QString>

namespace Analysis {

// What a run of Play at 0 ms ends with.
enum class Verdict { Accepted, Rejected, Error };

inline QString verdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Accepted:
        return RunTexts::accepted();
    case Verdict::Rejected:
        return RunTexts::rejected();
    case Verdict::Error:
        break;
    }
    return RunTexts::error();
}

} // namespace Analysis
