#pragma once

#include "model/mod_all.h"

#include <QHash>
#include <QString>
#include <vector>

namespace Analysis {

// The automaton as every analysis reads it: one dense table over the distinct
// characters of the alphabet, in which every step of a run is spelled out, so
// that what a string does is stated here once and nowhere else.
//
// A run looks each character up with findSymbol: of repeated symbols only the
// last column is ever read, and a symbol that is not exactly one character never
// matches. Here each distinct character is one column, placed where the
// character first appears among the symbols (the order in which answers list
// strings) and reading the table at its last appearance.
//
// A cell that names no state (empty, a target outside the states, a row or an
// entry not sized yet) keeps the run where it is, so it becomes a step back to
// the same state. A character that is not a symbol ends every run with ERROR,
// from whatever state, so it has no column: ERROR is an implicit state that no
// step leaves.
//
// An automaton without states still consumes valid symbols and rejects: it is
// read as one stand-in state, not final, that every column keeps in place. When
// there are states but the start state is none of them, every string (the empty
// one too) gives ERROR: start() is noStart.
class DenseAutomaton
{
public:
    static constexpr int noStart = -1;

    explicit DenseAutomaton(const modAll &model);
    // A table a conversion built: `characters` by column (each one code point,
    // none repeated), `next` row by row, `final` by state, `start` one of the
    // states. Every state is a real one.
    DenseAutomaton(QList<QString> characters, std::vector<int> next, std::vector<char> final, int start);

    // States of the table: the model's, or the one stand-in when it has none.
    int stateCount() const { return m_stateCount; }
    // Whether the only state stands in for an automaton without states.
    bool isStandIn() const { return m_standIn; }
    // Number of columns: distinct one-character symbols.
    int width() const { return m_width; }
    int start() const { return m_start; }

    int next(int state, int column) const { return m_next[size_t(state) * size_t(m_width) + size_t(column)]; }
    bool isFinal(int state) const { return m_final[size_t(state)] != 0; }

    // The character a column reads, as text (one code point).
    const QString &character(int column) const { return m_characters[column]; }
    // 0-based position in `symbols` of the column of the table a column reads:
    // the last symbol equal to its character.
    int symbolPosition(int column) const { return m_symbolPositions[size_t(column)]; }
    // The column of `character` (one code point), -1 when it is not a symbol.
    int columnOf(char32_t character) const { return m_columns.value(character, -1); }

private:
    int m_stateCount = 0;
    bool m_standIn = false;
    int m_width = 0;
    int m_start = noStart;
    std::vector<int> m_next;            // [state * width + column] -> state
    std::vector<char> m_final;          // by state
    QList<QString> m_characters;        // by column
    std::vector<int> m_symbolPositions; // by column
    QHash<char32_t, int> m_columns;     // character -> column
};

} // namespace Analysis
