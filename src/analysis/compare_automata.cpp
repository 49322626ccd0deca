#include "analysis/compare_automata.h"

#include "analysis/dense_automaton.h"
#include "analysis/joint_graph.h"
#include "analysis/pair_search.h"

namespace Analysis {

CompareResult firstDifference(const JointGraph &graph, PairSearch &search)
{
    CompareResult result;
    if (!search.run(graph))
        return result;
    const int found = search.differing().front();
    const PairSearch::Visit &visit = search.visits()[size_t(found)];
    result.equivalent = false;
    result.counterexample = search.stringTo(graph, found);
    result.thisVerdict = graph.verdict(visit.selfNode);
    result.otherVerdict = graph.verdict(visit.otherNode);
    return result;
}

CompareResult compareAutomata(const modAll &self, const modAll &other)
{
    PairSearch search;
    return firstDifference(JointGraph(DenseAutomaton(self), DenseAutomaton(other)), search);
}

QString CompareResult::text(const Escape &escape) const
{
    if (equivalent)
        return QStringLiteral("equivalent");
    return shown(counterexample, escape) + QStringLiteral("  this: ") + verdictText(thisVerdict)
           + QStringLiteral("  other: ") + verdictText(otherVerdict);
}

} // namespace Analysis
