#include "analysis/grade_automaton.h"

#include "analysis/joint_graph.h"
#include "analysis/least_edits.h"
#include "analysis/minimize_automaton.h"
#include "analysis/pair_search.h"
#include "model/characters.h"

#include <QHash>
#include <QSet>

namespace Analysis {

namespace {

modAll minimizedOrAsIs(const modAll &solution)
{
    MinimizeResult minimized = minimizeAutomaton(solution);
    return minimized.refused() ? solution : std::move(minimized.automaton);
}

// The file's positions and names for the nodes and columns of the joint
// table, and for the states and symbols the fixes add (taken in the order of
// the fixes, which add before they use).
class FixNames
{
public:
    FixNames(const modAll &file, const DenseAutomaton &automaton, const JointGraph &graph)
        : m_file(file)
        , m_automaton(automaton)
        , m_graph(graph)
        , m_states(automaton.isStandIn() ? 0 : automaton.stateCount())
        , m_nextSymbol(qMax<int>(0, file.symbol_count))
    {
        for (int state = 0; state < m_states; ++state)
            m_taken.insert(file.states[state].name);
    }

    GradeFix fix(const JointEdit &edit)
    {
        GradeFix fix;
        switch (edit.kind) {
        case JointEdit::Kind::MakeFinal:
            fix.kind = GradeFix::Kind::MakeFinal;
            break;
        case JointEdit::Kind::MakeNotFinal:
            fix.kind = GradeFix::Kind::MakeNotFinal;
            break;
        case JointEdit::Kind::SetCell:
            fix.kind = edit.target == edit.node ? GradeFix::Kind::EmptyCell : GradeFix::Kind::SendCell;
            break;
        case JointEdit::Kind::SetStart:
            fix.kind = GradeFix::Kind::ChooseStart;
            break;
        case JointEdit::Kind::AddState:
            fix.kind = GradeFix::Kind::AddState;
            nameNewState(m_graph.selfState(edit.node));
            break;
        case JointEdit::Kind::AddSymbol:
            fix.kind = GradeFix::Kind::AddSymbol;
            m_addedSymbols.insert(edit.column, m_nextSymbol++);
            break;
        }
        if (edit.node >= 0) {
            fix.state = m_graph.selfState(edit.node);
            fix.stateName = stateName(fix.state);
        }
        if (fix.kind == GradeFix::Kind::SendCell) {
            fix.target = m_graph.selfState(edit.target);
            fix.targetName = stateName(fix.target);
        }
        if (edit.column >= 0) {
            fix.symbolText = m_graph.character(edit.column);
            const int own = m_automaton.columnOf(Characters::codePoint(fix.symbolText));
            fix.symbol = own >= 0 ? m_automaton.symbolPosition(own) : m_addedSymbols.value(edit.column, -1);
        }
        return fix;
    }

private:
    QString stateName(int position) const
    {
        return position < m_states ? m_file.states[position].name : m_newNames.value(position);
    }

    // A new state is named q and a number, its position unless that is taken.
    void nameNewState(int position)
    {
        QString name;
        for (int number = position; name.isEmpty() || m_taken.contains(name); ++number)
            name = QStringLiteral("q%1").arg(number);
        m_taken.insert(name);
        m_newNames.insert(position, name);
    }

    const modAll &m_file;
    const DenseAutomaton &m_automaton;
    const JointGraph &m_graph;
    const int m_states;        // the file's states (none when its node stands in)
    int m_nextSymbol;          // the position the next added symbol takes
    QSet<QString> m_taken;
    QHash<int, QString> m_newNames;   // by position
    QHash<int, int> m_addedSymbols;   // by column: the position
};

} // namespace

GradeSolution::GradeSolution(const modAll &solution)
    : m_automaton(minimizedOrAsIs(solution))
{
}

QString GradeResult::editsText() const
{
    switch (editsFound) {
    case Edits::Found:
        return QString::number(edits);
    case Edits::MoreThanTwo:
        return QStringLiteral("3+");
    case Edits::NotSearched:
        break;
    }
    return QStringLiteral("?");
}

int gradeScore(bool equivalent, const Agreement &agreement, GradeResult::Edits editsFound, int edits)
{
    if (equivalent)
        return 100;
    const int byEdits = editsFound != GradeResult::Edits::Found ? 0 : edits == 1 ? 80 : edits == 2 ? 60 : 0;
    const int byAgreement = agreement.counted ? agreement.tenths / 10 : 0;
    return qMin(99, qMax(byEdits, byAgreement));
}

GradeResult gradeAutomaton(const modAll &file, const GradeSolution &solution)
{
    GradeResult grade;
    const DenseAutomaton automaton(file);
    JointGraph graph(automaton, solution.automaton());
    PairSearch search;
    grade.compared = firstDifference(graph, search);
    grade.agreement = agreement(graph);
    if (!grade.compared.equivalent) {
        EditRules rules;
        rules.standIn = automaton.isStandIn();
        rules.startOnceAdded = file.start_state == 0 ? graph.selfNode(0) : graph.error();
        const LeastEdits least = leastEdits(graph, rules);
        grade.editsFound = least.outcome == LeastEdits::Outcome::Found          ? GradeResult::Edits::Found
                           : least.outcome == LeastEdits::Outcome::MoreThanMost ? GradeResult::Edits::MoreThanTwo
                                                                                : GradeResult::Edits::NotSearched;
        grade.edits = int(least.edits.size());
        FixNames names(file, automaton, graph);
        for (const JointEdit &edit : least.edits)
            grade.fixes.append(names.fix(edit));
    }
    grade.score = gradeScore(grade.compared.equivalent, grade.agreement, grade.editsFound, grade.edits);
    return grade;
}

QString gradeReportText(const GradeResult &grade, const Escape &escape)
{
    QString text = QStringLiteral("Graded against the other as the solution:\nScore: %1 of 100\n").arg(grade.score);
    text += grade.agreement.counted
                ? QStringLiteral("Agreement: %1% (the same verdict, mean over the lengths 0 to 12)\n")
                      .arg(grade.agreement.text())
                : QStringLiteral("Agreement: not counted (too many pairs of states to count)\n");
    switch (grade.editsFound) {
    case GradeResult::Edits::Found:
        text += QStringLiteral("Fewest edits: %1\n").arg(grade.edits);
        break;
    case GradeResult::Edits::MoreThanTwo:
        text += QStringLiteral("Fewest edits: more than 2\n");
        break;
    case GradeResult::Edits::NotSearched:
        text += QStringLiteral("Fewest edits: not known (too large to search)\n");
        break;
    }
    for (const GradeFix &fix : grade.fixes)
        text += QStringLiteral("  ") + fix.sentence(escape) + u'\n';
    return text;
}

} // namespace Analysis
