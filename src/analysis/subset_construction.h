#pragma once

#include <QString>
#include <QtGlobal>

#include <span>
#include <vector>

namespace Analysis {

// A nondeterministic automaton with moves on the empty string, over columns:
// each column is one character, or one class of characters that every move
// treats alike. A state may have several moves on one column, and none.
struct Nfa
{
    struct Move
    {
        int target = 0;
        int label = 0;    // index into `labels`
    };

    int width = 0;                               // number of columns
    std::vector<std::vector<int>> labels;        // the columns each label reads, sorted
    std::vector<std::vector<Move>> moves;        // by state
    std::vector<std::vector<int>> emptyMoves;    // by state: targets on the empty string
    std::vector<char> final;                     // by state
    // By state: whether it takes part in a subset's identity. A state with no
    // move on a column and that is not final changes nothing once its moves on
    // the empty string are followed, so leaving it out merges subsets that only
    // differ by it; a state whose name shows in a subset's name is kept.
    std::vector<char> kept;
    std::vector<int> starts;

    int addState(bool isFinal = false, bool isKept = true);
    void addMove(int from, int label, int to) { moves[size_t(from)].push_back({to, label}); }
    void addEmptyMove(int from, int to) { emptyMoves[size_t(from)].push_back(to); }
};

// The deterministic automaton whose states are the sets of states an Nfa can
// be in: state 0 holds the starts, states are numbered in the order they are
// first reached (breadth-first, columns in order), and the empty set, when
// some string leads there, is a state like the others (it rejects, and every
// column keeps it where it is).
struct Determinized
{
    QString refusal;                      // why there is no table; empty when there is
    int stateCount = 0;
    std::vector<int> next;                // [state * width + column] -> state
    std::vector<char> final;              // by state
    // The kept Nfa states of each state, sorted, each list ending where the
    // next begins: members(state) = [offsets[state], offsets[state + 1]).
    std::vector<int> memberList;
    std::vector<size_t> memberOffsets;
    int emptySet = -1;                    // the state with no kept members, -1 when unreached

    bool refused() const { return !refusal.isEmpty(); }
    std::span<const int> members(int state) const
    {
        return {memberList.data() + memberOffsets[size_t(state)], memberList.data() + memberOffsets[size_t(state) + 1]};
    }
};

// Ints the construction holds at most unless told otherwise: its table and
// the states' members take some 70 MB then.
inline constexpr size_t defaultCellLimit = size_t(1) << 24;
// Moves it follows at most unless told otherwise: a few seconds' work.
inline constexpr quint64 defaultMoveLimit = quint64(1) << 30;

// The subset construction. Stops with a refusal once more than `stateLimit`
// states are needed, once the states' members and table would take more than
// `cellLimit` ints (so that no automaton runs it out of memory), or once it
// has followed more than `moveLimit` moves (so that none keeps it for minutes).
Determinized determinize(const Nfa &nfa, int stateLimit, size_t cellLimit = defaultCellLimit,
                         quint64 moveLimit = defaultMoveLimit);

// The refusal of a construction that needs more than `stateLimit` states.
QString tooManyStates(int stateLimit);

} // namespace Analysis
