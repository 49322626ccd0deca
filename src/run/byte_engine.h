#pragma once

#include "model/mod_all.h"
#include "run/byte_engine_vector.h"
#include "run/run_verdict.h"

#include <QStringView>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

// The byte engine: the whole-string run (Play at 0 ms, tarnwell-run) compiled
// for speed.
//
// How it runs. The automaton is compiled once per run into a flat table of
// 32-bit cells, one row per state and one column per class of symbols. A state
// is named by the offset of its row (its number times the row width), so a step
// is one add and one load:
//
//     state = table[state + byteClass[byte]]
//
// and nothing else travels from one byte to the next. A step costs about what a
// load from the first-level cache costs, and the loop stays that tight because
// everything the model lets a run meet is settled while compiling: an empty
// cell, a target that names no state, a row or entry that does not exist all
// become a step to the same state; a symbol that is not exactly one character
// is in no class; of repeated symbols the last one's column is the one read.
// Symbols whose columns are alike share a class, so rows are as narrow as the
// automaton allows.
//
// Input is UTF-8. Most alphabets are ASCII, so a 256-entry table gives each
// byte that is a symbol by itself its class. Every other byte (an ASCII
// character that is no symbol, every byte of a multi-byte character, every byte
// that is not UTF-8) has class 0, the stop class, whose column leads from
// every state to Stop. The loop ends there and the slow path decides what the
// byte was: a multi-byte character is decoded and looked up, then the step is
// taken and the loop resumes; anything else ends the run with ERROR naming the
// character, whole, or the byte that is no character. The engine does not
// spell multi-byte characters out as chains of byte states, as regular
// expression engines do: errors name whole characters and the trace names only
// the automaton's own states, and the decoding costs something only where the
// alphabet holds such symbols.
//
// Text arrives in pieces (reads of a file, lines longer than a read), so a run
// is a ByteRun fed piece by piece; a character cut by the end of a piece waits,
// at most three bytes of it, for the next one. The window's input box gives a
// UTF-16 text instead: runText() walks its units through the same table.
//
// Small automata, of at most 16 states, can also run data-parallel (Mytkowicz,
// Musuvathi and Schulte, ASPLOS 2014); see byte_engine_vector.h. That path and
// the plain loop give the same results.
//
// Special states:
//   Stop     the row just past the last state, where the stop class leads
//            from every state. The loop compares every step's result with it
//            and never steps from it. That one comparison is all it takes for
//            the loop to leave everything but ASCII symbols to the slow path.
//            Its row leads back to itself, so a short string can also be run
//            to its end with no comparison at all (walkThrough): it ends in
//            Stop exactly when the loop would have stopped.
//   Nowhere  the one state of an automaton with no states: every symbol stays
//            there and it is never traced, so such an automaton consumes valid
//            symbols, stops at the first invalid one and rejects, in the same
//            loop as any other.
// Rows of accepting states come first, so a verdict is one comparison.
class ByteEngine
{
public:
    // How the bytes of a long string are run. Tests and benchmarks pin one
    // method to compare it with the other.
    enum class Method { Automatic, PlainLoop };

    using Verdict = StringVerdict;

    // Where a run of UTF-16 text ended.
    struct TextRun
    {
        Verdict verdict = Verdict::Rejected;
        qsizetype consumed = 0;   // units run before the character that stopped it; all of them when none did
        qint16 state = 0;         // the state reached, as a position in `states` (the start state as
                                  // the model holds it when there are no states)
    };

    explicit ByteEngine(const modAll &model, Method method = Method::Automatic);

    // Runs the whole of `text` from the start state, one character (a surrogate
    // pair is one) per step, as Play at 0 ms does: the input box keeps the text
    // from `consumed` on, so the offending character stays first.
    TextRun runText(QStringView text) const;

    // Whether long strings run on the data-parallel path.
    bool vectorized() const { return !m_lanesByByte.empty(); }

private:
    friend class ByteRun;
    friend class ByteLines;

    using Row = std::uint32_t;   // a state, as the offset of its row in m_table

    uint32_t classOf(uchar byte) const { return m_byteClass[byte]; }
    uint32_t classOf(char16_t unit) const { return unit < 0x80 ? m_byteClass[unit] : 0; }
    // The class of a character outside ASCII; 0 when it is no symbol.
    uint32_t wideClassOf(char32_t character) const;

    // Runs units from `p` until `end` or the first unit of the stop class,
    // whose position it returns. `onStep(cell, next)` sees every step taken.
    template <typename Unit, typename OnStep>
    const Unit *walk(const Unit *p, const Unit *end, Row &state, OnStep &&onStep) const
    {
        Row current = state;
        for (; p != end; ++p) {
            const uint32_t cell = current + classOf(*p);
            const Row next = m_table[cell];
            if (next == m_stop)
                break;
            onStep(cell, next);
            current = next;
        }
        state = current;
        return p;
    }
    // Runs every unit from `p` to `end` without looking at a step; the state
    // reached is Stop when a unit of the stop class came on the way.
    template <typename Unit>
    Row walkThrough(const Unit *p, const Unit *end, Row state) const
    {
        for (; p != end; ++p)
            state = m_table[state + classOf(*p)];
        return state;
    }
    // walk() with nothing to watch, on the data-parallel path where it can.
    const uchar *runBytes(const uchar *p, const uchar *end, Row &state) const;
    // Takes the step on a character outside ASCII; false when it is no symbol.
    template <typename OnStep>
    bool stepWide(char32_t character, Row &state, OnStep &&onStep) const
    {
        const uint32_t symbolClass = wideClassOf(character);
        if (symbolClass == 0)
            return false;
        const uint32_t cell = state + symbolClass;
        onStep(cell, m_table[cell]);
        state = m_table[cell];
        return true;
    }

    Verdict verdictAt(Row state) const { return state < m_acceptLimit ? Verdict::Accepted : Verdict::Rejected; }
    bool moves(uint32_t cell) const { return m_moves[cell] != 0; }
    // The state a row stands for, as a position in `states`.
    qint16 stateOf(Row state) const { return m_stateOf[state / m_width]; }

    uint32_t m_width = 1;                      // cells per row: the stop class and one per symbol class
    std::vector<Row> m_table;                  // [row + class] -> next row
    std::vector<uint8_t> m_moves;              // [row + class] -> 1 where a transition is followed (the trace)
    std::array<uint8_t, 256> m_byteClass{};    // class of each byte that is a symbol by itself, 0 for the rest
    std::vector<std::pair<char32_t, uint32_t>> m_wideClasses;   // sorted: classes of the other symbols
    std::vector<qint16> m_stateOf;             // by row number: position in `states`
    Row m_start = 0;                           // the start state's row
    Row m_stop = 0;                            // Stop: one row past the last
    Row m_acceptLimit = 0;                     // rows below it accept
    bool m_startIsValid = true;
    qint16 m_startState = 0;                   // the start state as the model names it
    bool m_hasStates = false;                  // false: the only state is Nowhere
    std::vector<ByteEngineVector::Lanes> m_lanesByByte;   // the data-parallel step of each byte; empty when unused
};
