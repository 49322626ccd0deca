#include "analysis/compare_automata.h"

#include "analysis/dense_automaton.h"
#include "analysis/joint_graph.h"
#include "analysis/pair_search.h"
#include "run/run_texts.h"

#include <vector>

namespace Analysis {

namespace {

// The character of the path `columns` from `start` that stopped a run with
// ERROR: the first that leads into the ERROR node, since only a character an
// automaton lacks leads there. Empty when the run never started (its start
// state is no state), for then the start state is what is wrong.
QString stoppedAt(const JointGraph &graph, int start, const std::vector<int> &columns)
{
    int node = start;
    if (node == graph.error())
        return {};
    for (const int column : columns) {
        node = graph.next(node, column);
        if (node == graph.error())
            return graph.character(column);
    }
    return {};
}

} // namespace

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
    if (result.thisVerdict == Verdict::Error || result.otherVerdict == Verdict::Error) {
        std::vector<int> columns;
        for (int at = found; search.visits()[size_t(at)].column >= 0; at = search.visits()[size_t(at)].from)
            columns.insert(columns.begin(), search.visits()[size_t(at)].column);
        if (result.thisVerdict == Verdict::Error)
            result.thisStoppedAt = stoppedAt(graph, graph.selfStart(), columns);
        if (result.otherVerdict == Verdict::Error)
            result.otherStoppedAt = stoppedAt(graph, graph.otherStart(), columns);
    }
    return result;
}

CompareResult compareAutomata(const modAll &self, const modAll &other)
{
    PairSearch search;
    return firstDifference(JointGraph(DenseAutomaton(self), DenseAutomaton(other)), search);
}

QString CompareResult::errorReason(Verdict verdict, const QString &stoppedAt, const Escape &escape)
{
    if (verdict != Verdict::Error)
        return {};
    return stoppedAt.isEmpty() ? RunTexts::invalidStartState() : RunTexts::invalidAlphabet(escape(stoppedAt));
}

QString CompareResult::text(const Escape &escape) const
{
    if (equivalent)
        return QStringLiteral("equivalent");
    return shown(counterexample, escape) + QStringLiteral("  this: ") + verdictText(thisVerdict)
           + QStringLiteral("  other: ") + verdictText(otherVerdict);
}

} // namespace Analysis
