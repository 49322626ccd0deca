#include "analysis/string_lists.h"

#include "analysis/word_search.h"

namespace Analysis {

namespace {

void forStringsEndingIn(const modAll &model, bool final, int limit, const TakeString &take)
{
    const DenseAutomaton automaton(model);
    const Predecessors predecessors(automaton);
    const LengthBounds bounds(automaton, predecessors, finalStates(automaton, final));
    forFirstStrings(automaton, bounds, limit, take);
}

QStringList firstStringsEndingIn(const modAll &model, bool final, int limit)
{
    QStringList found;
    forStringsEndingIn(model, final, limit, appendTo(found));
    return found;
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

void forAcceptedStrings(const modAll &model, int limit, const std::function<bool(const QString &)> &take)
{
    forStringsEndingIn(model, true, limit, take);
}

void forRejectedStrings(const modAll &model, int limit, const std::function<bool(const QString &)> &take)
{
    forStringsEndingIn(model, false, limit, take);
}

} // namespace Analysis
