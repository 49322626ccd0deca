#include "analysis/least_edits.h"

#include "analysis/pair_search.h"

#include <algorithm>
#include <unordered_set>

namespace Analysis {

namespace {

// Searching for a least fix, fewest edits first.
//
// Any fix must change the verdict of every counterexample, so it must change
// the run of each: a cell on its path, the final mark of the state it ends in,
// the start state, or the symbol it holds at the point where it meets ERROR
// because this automaton lacks it (a new state changes a run only once a cell
// on the path or the start leads to it, so it comes with that edit, as two).
// One of the edits of a least fix of n edits therefore touches the shortest
// counterexample, and the rest is a least fix of n - 1 for what that edit
// leaves; trying those edits alone at each level keeps the search exact.
//
// At the last edit, the edit must touch every counterexample at once: the
// checks collect as many as they meet, and only edits common to all of them are
// tried, a new target or start only where it already agrees with the solution
// on the strings of at most one character. A try edits the table in place,
// checks, and undoes the edit.
class EditSearch
{
    // Counterexamples whose paths narrow the last edit: enough to leave few
    // edits to try, few enough that long paths cost little.
    static constexpr size_t counterexamplesUsed = 64;

public:
    EditSearch(JointGraph &graph, const EditRules &rules)
        : m_graph(graph)
        , m_rules(rules)
        , m_standIn(rules.standIn)
    {
    }

    LeastEdits run()
    {
        LeastEdits result;
        for (int edits = 0; edits <= m_rules.most; ++edits) {
            if (fixWith(edits))
                return result.edits = m_found, result;
            if (tooLong())
                return result.outcome = LeastEdits::Outcome::TooLarge, result;
        }
        result.outcome = LeastEdits::Outcome::MoreThanMost;
        return result;
    }

private:
    // The path of a counterexample through this automaton: its cells (node *
    // width + column) in the order first stepped on, with the other's node
    // right after that first step; the node it ends in; and the column at which
    // it met ERROR for want of a symbol (-1 when it did not).
    struct Path
    {
        std::vector<int> cells;
        std::vector<int> otherAfter;
        int end = -1;
        int missing = -1;
    };

    // What undoes one edit.
    struct Undo
    {
        JointEdit edit;
        int before = -1;        // the cell's target, the start, the final mark
        bool wasStandIn = false;
    };

    bool tooLong() const { return m_search.steps() + m_filterSteps > m_rules.stepLimit; }
    bool equivalent() { return !tooLong() && !m_search.run(m_graph); }

    // Whether `edits` edits (exactly; fewer were tried first) fix the automaton;
    // the fix is then in m_found.
    bool fixWith(int edits)
    {
        if (edits == 0)
            return equivalent();
        if (edits == 1)
            return lastEdit();
        if (tooLong() || !m_search.run(m_graph))
            return false;
        const Path path = pathOf(m_search.differing().front());
        for (const JointEdit &edit : touching(path, false))
            if (tryEdit(edit, edits - 1))
                return true;
        if (m_standIn)
            return false;
        // A new state, reached by a cell on the path or as the start.
        JointEdit added{JointEdit::Kind::AddState, m_graph.nodeCount()};
        const Undo adding = apply(added);
        bool fixed = false;
        for (const int cell : path.cells)
            if (!fixed && tryEdit({JointEdit::Kind::SetCell, cell / m_graph.width(), cell % m_graph.width(), added.node}, edits - 2))
                fixed = true;
        if (!fixed)
            fixed = tryEdit({JointEdit::Kind::SetStart, added.node}, edits - 2);
        undo(adding);
        if (fixed)
            m_found.insert(m_found.begin(), added);
        return fixed;
    }

    // Makes `edit`, looks for the rest of a fix in `rest` edits, and undoes it.
    bool tryEdit(const JointEdit &edit, int rest)
    {
        if (tooLong())
            return false;
        const Undo undone = apply(edit);
        const bool fixed = fixWith(rest);
        undo(undone);
        if (fixed)
            m_found.insert(m_found.begin(), edit);
        return fixed;
    }

    // The one edit left: common to every counterexample the check meets.
    bool lastEdit()
    {
        if (tooLong() || !m_search.run(m_graph, false))
            return false;
        const std::vector<int> &differing = m_search.differing();
        Path common = pathOf(differing.front());
        const size_t used = std::min(differing.size(), counterexamplesUsed);
        for (size_t i = 1; i < used; ++i)
            if (!narrow(common, pathOf(differing[i])))
                break;
        for (const JointEdit &edit : touching(common, true))
            if (tryEdit(edit, 0))
                return true;
        return false;
    }

    // Keeps in `common` what `other` shares with it; gives whether anything
    // of a path is left to narrow (start states always remain).
    static bool narrow(Path &common, const Path &other)
    {
        const std::unordered_set<int> shared(other.cells.begin(), other.cells.end());
        size_t kept = 0;
        for (size_t i = 0; i < common.cells.size(); ++i)
            if (shared.contains(common.cells[i])) {
                common.cells[kept] = common.cells[i];
                common.otherAfter[kept++] = common.otherAfter[i];
            }
        common.cells.resize(kept);
        common.otherAfter.resize(kept);
        if (common.end != other.end)
            common.end = -1;
        if (common.missing != other.missing)
            common.missing = -1;
        return !common.cells.empty() || common.end >= 0 || common.missing >= 0;
    }

    Path pathOf(int visit)
    {
        const std::vector<PairSearch::Visit> &visits = m_search.visits();
        std::vector<const PairSearch::Visit *> steps;
        for (const PairSearch::Visit *at = &visits[size_t(visit)]; at->from >= 0; at = &visits[size_t(at->from)])
            steps.push_back(at);
        m_filterSteps += steps.size();
        std::unordered_set<int> seen;
        Path path;
        path.end = m_graph.isSelf(visits[size_t(visit)].selfNode) ? visits[size_t(visit)].selfNode : -1;
        for (auto step = steps.crbegin(); step != steps.crend(); ++step) {
            const int from = visits[size_t((*step)->from)].selfNode;
            if (!m_graph.isSelf(from))
                break;
            if (!m_graph.selfHas((*step)->column)) {
                path.missing = (*step)->column;
                break;
            }
            const int cell = from * m_graph.width() + (*step)->column;
            if (seen.insert(cell).second) {
                path.cells.push_back(cell);
                path.otherAfter.push_back((*step)->otherNode);
            }
        }
        return path;
    }

    // Whether this automaton's `node` gives the verdict of the other's `other`
    // on the empty string and on each one-character string, with the cell
    // `cell` (-1 for none) leading to `node` itself: what a state must do to be
    // the state a last edit leads a counterexample to.
    bool agreesAtOnce(int node, int other, int cell)
    {
        const int width = m_graph.width();
        m_filterSteps += quint64(width) + 1;
        if (m_graph.verdict(node) != m_graph.verdict(other))
            return false;
        for (int column = 0; column < width; ++column) {
            const int next = node * width + column == cell ? node : m_graph.next(node, column);
            if (m_graph.verdict(next) != m_graph.verdict(m_graph.next(other, column)))
                return false;
        }
        return true;
    }

    // The edits that change the run of a counterexample along `path`. As the
    // `last` edit, only those whose new state gives at once what the other
    // gives there: a cell's new target and a new start must agree with the
    // other on the strings of at most one character.
    std::vector<JointEdit> touching(const Path &path, bool last)
    {
        std::vector<JointEdit> edits;
        const int width = m_graph.width();
        const int firstNode = m_graph.selfNode(0), nodes = m_graph.nodeCount();
        if (!m_standIn) {
            if (path.end >= 0)
                edits.push_back({m_graph.verdict(path.end) == Verdict::Accepted ? JointEdit::Kind::MakeNotFinal
                                                                                 : JointEdit::Kind::MakeFinal,
                                 path.end});
            for (size_t i = 0; i < path.cells.size(); ++i) {
                const int cell = path.cells[i], node = cell / width, column = cell % width;
                for (int target = firstNode; target < nodes; ++target)
                    if (target != m_graph.next(node, column)
                        && (!last || agreesAtOnce(target, path.otherAfter[i], target == node ? cell : -1)))
                        edits.push_back({JointEdit::Kind::SetCell, node, column, target});
            }
            for (int start = firstNode; start < nodes; ++start)
                if (start != m_graph.selfStart() && (!last || agreesAtOnce(start, m_graph.otherStart(), -1)))
                    edits.push_back({JointEdit::Kind::SetStart, start});
        }
        if (path.missing >= 0)
            edits.push_back({JointEdit::Kind::AddSymbol, -1, path.missing});
        if (m_standIn)
            edits.push_back({JointEdit::Kind::AddState, firstNode});
        return edits;
    }

    Undo apply(const JointEdit &edit)
    {
        Undo undo{edit, -1, m_standIn};
        switch (edit.kind) {
        case JointEdit::Kind::MakeFinal:
        case JointEdit::Kind::MakeNotFinal:
            m_graph.setFinal(edit.node, edit.kind == JointEdit::Kind::MakeFinal);
            break;
        case JointEdit::Kind::SetCell:
            undo.before = m_graph.next(edit.node, edit.column);
            m_graph.setNext(edit.node, edit.column, edit.target);
            break;
        case JointEdit::Kind::SetStart:
            undo.before = m_graph.selfStart();
            m_graph.setSelfStart(edit.node);
            break;
        case JointEdit::Kind::AddState:
            if (m_standIn) {
                // The stand-in becomes the state; only the start can change.
                undo.before = m_graph.selfStart();
                m_graph.setSelfStart(m_rules.startOnceAdded);
                m_standIn = false;
            } else {
                m_graph.addSelfState();
            }
            break;
        case JointEdit::Kind::AddSymbol:
            m_graph.addSelfColumn(edit.column);
            break;
        }
        return undo;
    }

    void undo(const Undo &undo)
    {
        const JointEdit &edit = undo.edit;
        switch (edit.kind) {
        case JointEdit::Kind::MakeFinal:
        case JointEdit::Kind::MakeNotFinal:
            m_graph.setFinal(edit.node, edit.kind != JointEdit::Kind::MakeFinal);
            break;
        case JointEdit::Kind::SetCell:
            m_graph.setNext(edit.node, edit.column, undo.before);
            break;
        case JointEdit::Kind::SetStart:
            m_graph.setSelfStart(undo.before);
            break;
        case JointEdit::Kind::AddState:
            if (undo.wasStandIn) {
                m_graph.setSelfStart(undo.before);
                m_standIn = true;
            } else {
                m_graph.removeLastSelfState();
            }
            break;
        case JointEdit::Kind::AddSymbol:
            m_graph.removeSelfColumn(edit.column);
            break;
        }
    }

    JointGraph &m_graph;
    const EditRules &m_rules;
    bool m_standIn;
    PairSearch m_search;
    quint64 m_filterSteps = 0; // columns looked at outside the checks
    std::vector<JointEdit> m_found;
};

} // namespace

LeastEdits leastEdits(JointGraph &graph, const EditRules &rules)
{
    return EditSearch(graph, rules).run();
}

} // namespace Analysis
