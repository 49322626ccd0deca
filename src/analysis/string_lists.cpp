#include "analysis/string_lists.h"

#include "analysis/word_search.h"

namespace Analysis {

namespace {

QStringList firstStringsEndingIn(const modAll &model, bool final, int limit)
{
    const DenseAutomaton automaton(model);
    const Predecessors predecessors(automaton);
    const LengthBounds bounds(automaton, predecessors, finalStates(automaton, final));
    return firstStrings(automaton, bounds, limit);
}

} // namespace

QStringList acceptedStrings(const modAll &model, int limit)
{
    return firstStringsEndingIn(model, true, limit);
}

QStringList rejectedStrings(const modAll &model, int limit)
{
    return firstStringsEndingIn(model, false, limit);
}

} // namespace Analysis
