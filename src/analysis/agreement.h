#pragma once

#include <QString>

namespace Analysis {

class JointGraph;

// How much two automata agree: the mean, over the lengths 0 to 12, of the
// share of the strings of that length (over the characters of both alphabets)
// on which both give the same verdict. Without characters there are no
// strings but the empty one, and only its length counts.
//
// Counted exactly, string by string in effect, on the pairs of nodes the
// strings lead the two automata to. Two large automata that part early can
// reach hundreds of millions of pairs within twelve characters; past a bound
// on that work (far beyond any automaton drawn by hand) it is not counted.
struct Agreement
{
    static constexpr int longest = 12;

    bool counted = false;
    int tenths = 0; // tenths of a percent, 0 to 1000, rounded half up

    // "87.5", or "?" when not counted.
    QString text() const;
};

// Over the lengths 0 to `longest` (tests count fewer, to check against every string).
Agreement agreement(const JointGraph &graph, int longest = Agreement::longest);

} // namespace Analysis
