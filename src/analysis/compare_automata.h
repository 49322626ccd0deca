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
    // For a verdict that is ERROR, the character of the counterexample that
    // stopped that run (not a symbol there); empty when its start state is not
    // valid.
    QString thisStoppedAt;
    QString otherStoppedAt;

    // Why this automaton's verdict (or the other's) is ERROR, in the run's
    // words: "Invalid start state", or "Invalid alphabet '" + the character,
    // escaped, + "'". Empty when the verdict is not ERROR.
    QString thisErrorReason(const Escape &escape) const { return errorReason(thisVerdict, thisStoppedAt, escape); }
    QString otherErrorReason(const Escape &escape) const { return errorReason(otherVerdict, otherStoppedAt, escape); }

    // "equivalent", or the string and both verdicts ("0110  this: ACCEPTED  other: REJECTED").
    QString text(const Escape &escape) const;

private:
    static QString errorReason(Verdict verdict, const QString &stoppedAt, const Escape &escape);
};

class JointGraph;
class PairSearch;

// Compares `self` ("this") with `other`.
CompareResult compareAutomata(const modAll &self, const modAll &other);
// The same over the two automata already in one table, with a search whose
// arrays are kept from one comparison to the next.
CompareResult firstDifference(const JointGraph &graph, PairSearch &search);

} // namespace Analysis
