#pragma once

#include "run/run_verdict.h"

namespace Analysis {

// What a run of Play at 0 ms ends with: the run's own verdict.
using Verdict = RunVerdict;

} // namespace Analysis
