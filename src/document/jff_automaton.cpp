#include "document/jff_automaton.h"

#include "analysis/subset_construction.h"
#include "model/characters.h"
#include "model/limits.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <span>

namespace {

// The first of "trap", "trap2", "trap3" ... that no state has.
QString trapName(const JffMachine &machine)
{
    QSet<QString> taken;
    for (const JffMachine::State &state : machine.states)
        taken.insert(state.name);
    QString name = QStringLiteral("trap");
    for (int n = 2; taken.contains(name); ++n)
        name = QStringLiteral("trap%1").arg(n);
    return name;
}

// Names that repeat get " (2)", " (3)" ... after the first, so the table can
// tell the states apart.
void makeDistinct(QList<StateEntry> &states, qsizetype count)
{
    QHash<QString, int> seen;
    for (qsizetype i = 0; i < count; ++i) {
        int &times = seen[states[i].name];
        if (++times > 1)
            states[i].name += QStringLiteral(" (%1)").arg(times);
    }
}

// A set of the machine's states by their names: "{q0,q2}", or past a few
// names "{q0,q1,q2 +4}"; a single state by its own name.
QString setName(const JffMachine &machine, std::span<const int> members)
{
    static constexpr qsizetype shortEnough = 24;
    if (members.size() == 1)
        return machine.states[members.front()].name;
    QString name = QStringLiteral("{");
    size_t shown = 0;
    for (; shown < members.size(); ++shown) {
        const QString &member = machine.states[members[shown]].name;
        if (shown > 0 && name.size() + member.size() > shortEnough)
            break;
        if (shown > 0)
            name += u',';
        name += member;
    }
    if (shown < members.size())
        name += QStringLiteral(" +%1").arg(members.size() - shown);
    return name + u'}';
}

struct Alphabet
{
    QStringList symbols;            // in code point order
    QHash<char32_t, int> columnOf;

    explicit Alphabet(const JffMachine &machine)
    {
        std::vector<char32_t> characters;
        for (const JffMachine::Transition &transition : machine.transitions)
            if (!transition.read.isEmpty())
                characters.push_back(Characters::codePoint(transition.read));
        std::sort(characters.begin(), characters.end());
        characters.erase(std::unique(characters.begin(), characters.end()), characters.end());
        for (const char32_t c : characters) {
            columnOf.insert(c, int(symbols.size()));
            symbols.append(Characters::text(c));
        }
    }
    int width() const { return int(symbols.size()); }
    int column(const QString &read) const { return columnOf.value(Characters::codePoint(read)); }
};

void setSymbols(modAll &automaton, const Alphabet &alphabet)
{
    automaton.symbol_count = qint16(alphabet.width());
    automaton.symbols = alphabet.symbols;
    sizeWithSpare(automaton.symbols, automaton.symbol_count);
}

void appendRow(modAll &automaton, QList<qint16> row)
{
    sizeWithSpare<qint16>(row, automaton.symbol_count, 0);
    automaton.transitions.append(std::move(row));
}

void finish(modAll &automaton)
{
    sizeWithSpare(automaton.states, automaton.state_count);
    sizeWithSpare(automaton.transitions, automaton.state_count);
}

TwResult<LoadedAutomaton> keepStates(const JffMachine &machine, const Alphabet &alphabet, const std::vector<int> &target)
{
    LoadedAutomaton loaded;
    loaded.format = LoadedAutomaton::Format::Jflap;
    modAll &out = loaded.automaton;
    const qsizetype count = machine.states.size();
    const bool needsTrap = count > 0 && std::ranges::find(target, -1) != target.end();
    if (needsTrap && count >= Limits::mostEntries)
        return TwFailure{QStringLiteral("the automaton needs a trap state for its missing transitions, and has no "
                                        "room for one: it already has %1 states").arg(count)};
    const int trap = int(count);
    setSymbols(out, alphabet);
    for (qsizetype state = 0; state < count; ++state) {
        out.states.append({machine.states[state].name, machine.states[state].final});
        loaded.places.append(machine.states[state].place);
        QList<qint16> row;
        for (int column = 0; column < alphabet.width(); ++column) {
            const int to = target[size_t(state) * size_t(alphabet.width()) + size_t(column)];
            row.append(qint16((to < 0 ? trap : to) + 1));
        }
        appendRow(out, std::move(row));
    }
    if (needsTrap) {
        out.states.append({trapName(machine), false});
        loaded.places.append(std::nullopt);
        appendRow(out, QList<qint16>(alphabet.width(), qint16(trap + 1)));
        loaded.changes = QStringLiteral("a trap state added for the missing transitions");
    }
    out.state_count = qint16(out.states.size());
    out.start_state = qint16(machine.initial);
    finish(out);
    return loaded;
}

TwResult<LoadedAutomaton> makeDeterministic(const JffMachine &machine, const Alphabet &alphabet)
{
    if (machine.initial < 0)
        return TwFailure{QStringLiteral("the automaton is nondeterministic and has no initial state, so no "
                                        "deterministic automaton can be made of it")};
    Analysis::Nfa nfa;
    nfa.width = alphabet.width();
    for (int column = 0; column < nfa.width; ++column)
        nfa.labels.push_back({column});
    for (const JffMachine::State &state : machine.states)
        nfa.addState(state.final);
    for (const JffMachine::Transition &transition : machine.transitions) {
        if (transition.read.isEmpty())
            nfa.addEmptyMove(transition.from, transition.to);
        else
            nfa.addMove(transition.from, alphabet.column(transition.read), transition.to);
    }
    nfa.starts = {machine.initial};
    const Analysis::Determinized dfa = Analysis::determinize(nfa, Limits::mostEntries);
    if (dfa.refused())
        return TwFailure{dfa.refusal};

    LoadedAutomaton loaded;
    loaded.format = LoadedAutomaton::Format::Jflap;
    modAll &out = loaded.automaton;
    setSymbols(out, alphabet);
    const QString trap = trapName(machine);
    for (int state = 0; state < dfa.stateCount; ++state) {
        const std::span<const int> members = dfa.members(state);
        out.states.append({state == dfa.emptySet ? trap : setName(machine, members), dfa.final[size_t(state)] != 0});
        loaded.places.append(members.size() == 1 ? machine.states[members.front()].place : std::nullopt);
        QList<qint16> row;
        for (int column = 0; column < alphabet.width(); ++column)
            row.append(qint16(dfa.next[size_t(state) * size_t(alphabet.width()) + size_t(column)] + 1));
        appendRow(out, std::move(row));
    }
    out.state_count = qint16(dfa.stateCount);
    out.start_state = 0;
    makeDistinct(out.states, out.state_count);
    finish(out);
    loaded.changes = QStringLiteral("made deterministic, %1 state%2").arg(dfa.stateCount).arg(dfa.stateCount == 1 ? "" : "s");
    return loaded;
}

} // namespace

TwResult<LoadedAutomaton> automatonFromJff(const JffMachine &machine)
{
    const Alphabet alphabet(machine);
    // The one target of each state and character, -1 for none; a machine with
    // a move on the empty string, or two targets for one cell, is not deterministic.
    std::vector<int> target(size_t(machine.states.size()) * size_t(alphabet.width()), -1);
    bool deterministic = true;
    for (const JffMachine::Transition &transition : machine.transitions) {
        if (transition.read.isEmpty()) {
            deterministic = false;
            continue;
        }
        int &cell = target[size_t(transition.from) * size_t(alphabet.width()) + size_t(alphabet.column(transition.read))];
        deterministic = deterministic && (cell < 0 || cell == transition.to);
        cell = transition.to;
    }
    return deterministic ? keepStates(machine, alphabet, target) : makeDeterministic(machine, alphabet);
}
