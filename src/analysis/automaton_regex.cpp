#include "analysis/automaton_regex.h"

#include "analysis/dense_automaton.h"
#include "analysis/predecessors.h"
#include "analysis/regex_terms.h"
#include "analysis/state_classes.h"
#include "analysis/word_search.h"
#include "model/characters.h"

#include <QLocale>

#include <queue>
#include <unordered_map>

namespace Analysis {

namespace {

using Term = RegexTerms::Term;

// What eliminating may cost before it is given up: terms made (their memory)
// and arcs and parts of terms gone through (their time: about a second). A
// large automaton whose states are joined in many ways has no expression of a
// usable length, and eliminating its states costs up to the cube of their
// number, so it is stopped early rather than worked out for minutes.
constexpr size_t mostTerms = size_t(1) << 22;
constexpr quint64 mostWork = quint64(1) << 23;
// An automaton with more arcs than this (pairs of states a symbol joins) is
// not even begun.
constexpr quint64 mostArcs = mostWork / 8;

// The automaton as a graph whose arcs carry expressions, with a start node
// that reaches the start state on ε and an end node that every final state
// reaches on ε; eliminating every state but those two leaves one arc whose
// expression is the language.
class EliminationGraph
{
public:
    EliminationGraph(int nodes, RegexTerms &terms) : m_out(size_t(nodes)), m_in(size_t(nodes)), m_terms(terms) {}

    void addArc(int from, int to, Term term)
    {
        ++m_work;
        Term &arc = m_out[size_t(from)].try_emplace(to, m_terms.nothing()).first->second;
        arc = m_terms.alternative(arc, term);
        m_in[size_t(to)][from] = arc;
    }

    Term arc(int from, int to) const
    {
        const auto found = m_out[size_t(from)].find(to);
        return found == m_out[size_t(from)].end() ? m_terms.nothing() : found->second;
    }

    // What eliminating `node` would add to the text (how much its arcs'
    // expressions get copied), and its number of arcs for ties.
    std::pair<double, size_t> weight(int node)
    {
        m_work += m_in[size_t(node)].size() + m_out[size_t(node)].size();
        const Term loop = arc(node, node);
        const bool looped = loop != m_terms.nothing();
        const double ins = double(m_in[size_t(node)].size()) - looped;
        const double outs = double(m_out[size_t(node)].size()) - looped;
        double weight = looped ? double(m_terms.length(loop)) * (ins * outs - 1) : 0;
        for (const auto &[from, term] : m_in[size_t(node)])
            if (from != node)
                weight += double(m_terms.length(term)) * (outs - 1);
        for (const auto &[to, term] : m_out[size_t(node)])
            if (to != node)
                weight += double(m_terms.length(term)) * (ins - 1);
        return {weight, size_t(ins + outs)};
    }

    // Joins every arc into `node` with every arc out of it, through its loop,
    // then drops it. Gives the nodes whose arcs changed.
    std::vector<int> eliminate(int node)
    {
        const Term loop = m_terms.star(arc(node, node));
        std::vector<std::pair<int, Term>> ins, outs;
        for (const auto &[from, term] : m_in[size_t(node)])
            if (from != node)
                ins.emplace_back(from, term);
        for (const auto &[to, term] : m_out[size_t(node)])
            if (to != node)
                outs.emplace_back(to, term);
        std::vector<int> neighbours;
        m_work += quint64(ins.size()) * quint64(outs.size() + 1);
        for (const auto &[from, into] : ins) {
            m_out[size_t(from)].erase(node);
            const Term through = m_terms.concat(into, loop);
            for (const auto &[to, onward] : outs)
                addArc(from, to, m_terms.concat(through, onward));
            neighbours.push_back(from);
        }
        for (const auto &[to, onward] : outs) {
            m_in[size_t(to)].erase(node);
            neighbours.push_back(to);
        }
        m_out[size_t(node)].clear();
        m_in[size_t(node)].clear();
        return neighbours;
    }

    // Arcs visited and joined so far.
    quint64 work() const { return m_work; }

    bool anyTooLong(const std::vector<int> &nodes) const
    {
        for (const int node : nodes)
            for (const auto &[to, term] : m_out[size_t(node)])
                if (m_terms.length(term) > AutomatonRegex::mostLength)
                    return true;
        return false;
    }

private:
    std::vector<std::unordered_map<int, Term>> m_out, m_in;
    RegexTerms &m_terms;
    quint64 m_work = 0;
};

QString tooLong()
{
    QLocale grouped = QLocale::c();
    grouped.setNumberOptions(QLocale::DefaultNumberOptions);
    return QStringLiteral("the expression would be longer than %1 characters").arg(grouped.toString(AutomatonRegex::mostLength));
}

// By state: whether some string leads from it to a final state (never for the
// stand-in of an automaton without states).
std::vector<char> leadingToFinal(const DenseAutomaton &automaton, const Predecessors &predecessors)
{
    std::vector<char> leading(size_t(automaton.stateCount()), 0);
    std::vector<int> queue;
    for (int state = 0; state < automaton.stateCount(); ++state)
        if (automaton.isFinal(state) && !automaton.isStandIn()) {
            leading[size_t(state)] = 1;
            queue.push_back(state);
        }
    for (size_t done = 0; done < queue.size(); ++done)
        for (const int source : predecessors.of(queue[done]))
            if (!leading[size_t(source)]) {
                leading[size_t(source)] = 1;
                queue.push_back(source);
            }
    return leading;
}

// The pairs of nodes some symbol joins: `members` holds a state of each node,
// `nodeOf` gives a state's node, or -1.
template <typename NodeOf>
quint64 countArcs(const DenseAutomaton &automaton, const std::vector<int> &members, NodeOf &&nodeOf)
{
    quint64 arcs = 0;
    std::vector<int> counted(members.size(), -1);
    for (size_t node = 0; node < members.size(); ++node)
        for (int column = 0; column < automaton.width(); ++column)
            if (const int to = nodeOf(automaton.next(members[node], column)); to >= 0 && counted[size_t(to)] != int(node)) {
                counted[size_t(to)] = int(node);
                ++arcs;
            }
    return arcs;
}

QString tooTangled()
{
    return QStringLiteral("the automaton's states are joined in too many ways for an expression of a usable length");
}

} // namespace

AutomatonRegex automatonRegex(const modAll &model)
{
    AutomatonRegex result;
    const DenseAutomaton automaton(model);
    if (automaton.start() == DenseAutomaton::noStart) {
        result.refusal = QStringLiteral("The start state is not valid, so every string gives ERROR and no expression "
                                        "describes what the automaton accepts. Choose a start state first.");
        return result;
    }
    QList<char32_t> alphabet;
    for (int column = 0; column < automaton.width(); ++column)
        alphabet.append(Characters::codePoint(automaton.character(column)));
    RegexTerms terms(alphabet);

    // The minimized automaton without the states that lead to no final state:
    // a node per group of equivalent states that some string reaches and
    // from which some string is accepted.
    const Predecessors predecessors(automaton);
    const ForwardSearch reached(automaton);
    const std::vector<char> useful = leadingToFinal(automaton, predecessors);
    if (!useful[size_t(automaton.start())]) {
        result.expression = terms.text(terms.nothing());
        return result;
    }
    const std::vector<int> groups = equivalentStateClasses(automaton, predecessors);
    std::vector<int> nodeOfGroup(groups.size(), -1);
    std::vector<int> members; // by node: one state of its group
    for (const int state : reached.order())
        if (useful[size_t(state)] && nodeOfGroup[size_t(groups[size_t(state)])] < 0) {
            nodeOfGroup[size_t(groups[size_t(state)])] = int(members.size());
            members.push_back(state);
        }
    const int nodes = int(members.size());
    const int begin = nodes, end = nodes + 1;
    const auto nodeOf = [&](int state) { return useful[size_t(state)] ? nodeOfGroup[size_t(groups[size_t(state)])] : -1; };
    if (countArcs(automaton, members, nodeOf) > mostArcs) {
        result.refusal = tooTangled();
        return result;
    }
    EliminationGraph graph(nodes + 2, terms);
    for (int node = 0; node < nodes; ++node) {
        std::unordered_map<int, std::vector<int>> columnsTo;
        for (int column = 0; column < automaton.width(); ++column)
            if (const int to = nodeOf(automaton.next(members[size_t(node)], column)); to >= 0)
                columnsTo[to].push_back(column);
        for (auto &[to, columns] : columnsTo)
            graph.addArc(node, to, terms.characters(std::move(columns)));
        if (automaton.isFinal(members[size_t(node)]))
            graph.addArc(node, end, terms.empty());
    }
    graph.addArc(begin, nodeOf(automaton.start()), terms.empty());

    // The node that adds the least text goes first; a node whose arcs changed
    // since its weight was taken is weighed again.
    using Entry = std::tuple<double, size_t, int, unsigned>; // weight, arcs, node, version
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> next;
    std::vector<unsigned> version(size_t(nodes), 0);
    std::vector<char> eliminated(size_t(nodes), 0);
    const auto weigh = [&](int node) {
        const auto [weight, arcs] = graph.weight(node);
        next.emplace(weight, arcs, node, ++version[size_t(node)]);
    };
    for (int node = 0; node < nodes; ++node)
        weigh(node);
    while (!next.empty()) {
        const auto [weight, arcs, node, seen] = next.top();
        next.pop();
        if (eliminated[size_t(node)] || seen != version[size_t(node)])
            continue;
        eliminated[size_t(node)] = 1;
        const std::vector<int> changed = graph.eliminate(node);
        if (graph.anyTooLong(changed)) {
            result.refusal = tooLong();
            return result;
        }
        if (terms.count() > mostTerms || graph.work() + terms.work() > mostWork) {
            result.refusal = tooTangled();
            return result;
        }
        for (const int neighbour : changed)
            if (neighbour < nodes && !eliminated[size_t(neighbour)])
                weigh(neighbour);
    }
    result.expression = terms.text(graph.arc(begin, end));
    return result;
}

} // namespace Analysis
