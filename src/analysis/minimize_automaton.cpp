#include "analysis/minimize_automaton.h"

#include "analysis/dense_automaton.h"
#include "analysis/state_classes.h"
#include "analysis/word_search.h"

namespace Analysis {

namespace {

// The document of a minimized automaton: a new, untitled one with changes to save.
void makeUntitled(modAll &automaton)
{
    const modAll fresh;
    automaton.is_untitled = fresh.is_untitled;
    automaton.file_name = fresh.file_name;
    automaton.is_saved = false;
}

} // namespace

MinimizeResult minimizeAutomaton(const modAll &model)
{
    MinimizeResult result;
    result.statesBefore = model.state_count;
    const DenseAutomaton automaton(model);
    if (automaton.start() == DenseAutomaton::noStart) {
        result.refusal = QStringLiteral("The start state is not valid, so there is nothing to minimize. "
                                        "Choose a start state first.");
        return result;
    }
    result.automaton = model;
    makeUntitled(result.automaton);
    if (automaton.isStandIn()) {
        result.statesAfter = model.state_count;
        return result;
    }

    // The new states: the groups of equivalent states, each with its members that
    // some string reaches, in the order of their first such member.
    const ForwardSearch search(automaton);
    const std::vector<int> classes = equivalentStateClasses(automaton, Predecessors(automaton));
    std::vector<int> merged(classes.size(), -1); // by group: its new position
    QList<QList<int>> members;
    std::vector<int> newPosition(classes.size(), -1); // by old state, when reached
    for (int state = 0; state < automaton.stateCount(); ++state) {
        if (!search.reached(state))
            continue;
        int &group = merged[size_t(classes[size_t(state)])];
        if (group < 0) {
            group = int(members.size());
            members.append(QList<int>());
        }
        members[group].append(state);
        newPosition[size_t(state)] = group;
    }

    modAll &out = result.automaton;
    const qint16 count = qint16(members.size());
    const qint16 symbols = qMax<qint16>(model.symbol_count, 0);
    out.state_count = count;
    out.states.clear();
    out.transitions.clear();
    for (const QList<int> &group : std::as_const(members)) {
        QStringList names;
        for (const int state : group)
            names.append(model.states[state].name);
        out.states.append({names.join(u','), model.states[group.front()].is_final});

        // Every member steps alike, so the first one's row serves. A cell naming no
        // state stays empty; a column the run never reads may name a state no
        // string reaches, which has no place here, and becomes empty too.
        QList<qint16> row;
        for (int symbol = 0; symbol < symbols; ++symbol) {
            const qint16 target = model.entry(group.front(), symbol);
            const int reached = target >= 1 && target <= automaton.stateCount() ? newPosition[size_t(target - 1)] : -1;
            row.append(qint16(reached + 1));
        }
        sizeWithSpare<qint16>(row, symbols, 0);
        out.transitions.append(row);
    }
    sizeWithSpare(out.states, count);
    sizeWithSpare(out.transitions, count);
    out.start_state = qint16(newPosition[size_t(automaton.start())]);
    result.statesAfter = count;
    return result;
}

QString MinimizeResult::statusText() const
{
    return QStringLiteral("Minimized: %1 states to %2").arg(statesBefore).arg(statesAfter);
}

} // namespace Analysis
