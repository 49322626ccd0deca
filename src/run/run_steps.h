#pragma once

#include "model/mod_all.h"

#include <QHash>
#include <QStringView>
#include <vector>

// How a run moves through the automaton, one character at a time.
//
// A character is one Unicode code point: a surrogate pair is one character. Each
// character is looked up in the alphabet when its step comes; a character that
// is not a symbol stops the run with an error. A transition entry of 0 keeps the
// automaton in its state, and so does anything that does not name a state: a
// row not sized yet, an entry past a row's end, a target outside 1..state_count.
// A current state that no longer names a state (the model changed under a timed
// run) is a non-final state without transitions.
//
// The timed run calls these per tick against the model as it is at that tick.
// The immediate run and the batch runner go through runText(), which looks the
// characters up in a SymbolIndex built once per run, so a run costs time linear
// in its input whatever the size of the alphabet.
namespace RunSteps {

// Number of UTF-16 units of the first character of `text` (1 or 2; 0 when empty).
inline qsizetype firstCharacterLength(QStringView text)
{
    if (text.isEmpty())
        return 0;
    return text.size() > 1 && text[0].isHighSurrogate() && text[1].isLowSurrogate() ? 2 : 1;
}

// The first character of `text` (empty when `text` is).
inline QStringView firstCharacter(QStringView text)
{
    return text.first(firstCharacterLength(text));
}

// Whether `text` is exactly one character, as a symbol must be.
inline bool isOneCharacter(QStringView text)
{
    return !text.isEmpty() && firstCharacterLength(text) == text.size();
}

// Number of characters (code points) in `text`.
qsizetype characterCount(QStringView text);

inline bool isState(const modAll &model, qint16 state)
{
    return state >= 0 && state < model.state_count && state < model.states.size();
}

// A run can start: there are no states at all (valid symbols are still consumed,
// and the verdict is REJECTED), or the start state is one of them.
inline bool startIsValid(const modAll &model)
{
    return model.state_count == 0 || isState(model, model.start_state);
}

inline bool isAccepting(const modAll &model, qint16 state)
{
    return isState(model, state) && model.states[state].is_final;
}

// Follows the transition from `state` on the symbol at 0-based `symbol`.
// Returns true when the automaton moved to another (or the same) named state.
inline bool follow(const modAll &model, qint16 &state, qint16 symbol)
{
    if (!isState(model, state))
        return false;
    const qint16 target = model.entry(state, symbol);
    if (!model.isTarget(target) || target > model.states.size())
        return false;
    state = qint16(target - 1);
    return true;
}

// findSymbol's answer for a single character, from a table built once.
class SymbolIndex
{
public:
    explicit SymbolIndex(const modAll &model);

    // 1-based position of the symbol equal to the character at the front of
    // `text` (of `length` units), 0 when it is not in the alphabet.
    qint16 find(QStringView text, qsizetype length) const
    {
        if (length == 1) {
            const char16_t unit = text[0].unicode();
            return unit < m_basic.size() ? m_basic[unit] : qint16(0);
        }
        return m_supplementary.value(QChar::surrogateToUcs4(text[0], text[1]), 0);
    }

private:
    // By UTF-16 unit, up to the highest symbol: a few hundred bytes for the usual
    // alphabets, so building the index costs next to nothing even for short runs.
    std::vector<qint16> m_basic;
    QHash<char32_t, qint16> m_supplementary;
};

// Where runText() stopped.
struct Stop
{
    qsizetype consumed = 0;   // UTF-16 units taken from the front of the text
    bool failed = false;      // stopped at a character that is not in the alphabet
    bool moved = false;       // some transition was followed
};

// Runs the characters of `text` from `state`, stopping at the first one that is
// not in the alphabet. `onMove(state)` is called after each transition followed.
template <typename OnMove>
Stop runText(const modAll &model, const SymbolIndex &index, QStringView text, qint16 &state, OnMove &&onMove)
{
    Stop stop;
    const qsizetype size = text.size();
    qsizetype pos = 0;
    while (pos < size) {
        const qsizetype length = firstCharacterLength(text.sliced(pos));
        const qint16 symbol = index.find(text.sliced(pos), length);
        if (symbol == 0) {
            stop.failed = true;
            break;
        }
        if (follow(model, state, qint16(symbol - 1))) {
            stop.moved = true;
            onMove(state);
        }
        pos += length;
    }
    stop.consumed = pos;
    return stop;
}

inline Stop runText(const modAll &model, const SymbolIndex &index, QStringView text, qint16 &state)
{
    return runText(model, index, text, state, [](qint16) {});
}

} // namespace RunSteps
