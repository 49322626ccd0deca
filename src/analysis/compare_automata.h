#pragma once

#include "analysis/report_text.h"
#include "analysis/verdict.h"
#include "model/mod_all.h"

namespace Analysis {

// Whether two automata give the same verdict (ACCEPTED, REJECTED or ERROR) on
// every string of characters from either alphabet, and if not, where they part.
struct CompareResult
{
    bool equivalent = true;
    // The first string on which they differ: shortest, then in the order of this
    // automaton's characters followed by the other's characters this one lacks.
    QString counterexample;
    Verdict thisVerdict = Verdict::Rejected;  // the counterexample's verdict in this automaton
    Verdict otherVerdict = Verdict::Rejected; // and in the other

    // "equivalent", or the string and both verdicts ("0110  this: ACCEPTED  other: REJECTED").
    QString text(const Escape &escape) const;
};

class JointGraph;
class PairSearch;

// Compares `self` ("this") with `other`.
CompareResult compareAutomata(const modAll &self, const modAll &other);
// The same over the two automata already in one table, with a search whose
// arrays are kept from one comparison to the next.
CompareResult firstDifference(const JointGraph &graph, PairSearch &search);

} // namespace Analysis
