#pragma once

#include <QBitArray>
#include <QList>
#include <QString>

struct modAll;

// The transition table as the table editor shows it, without the window: for
// every state (row) and symbol (column) the name of the state its target names,
// empty for no transition. The alphabet editor's OK fills and stores it unseen,
// which fits the table to the new alphabet.
//
// Fill reads the table as every row fitted to the alphabet would hold it: a
// row gets positions 0 .. symbol_count (the spare kept), new entries are 0,
// and a target outside 1 .. state_count shows as an empty cell.
//
// Store writes the cells back. A cell nobody typed into keeps the target it
// was filled from, whatever the names (when names repeat, a name alone could
// only say the last state of that name); a typed cell is looked up by name as
// findState does, an empty one being no transition.
class TransitionCells
{
public:
    TransitionCells() = default;
    // Fill.
    explicit TransitionCells(const modAll &model);

    int stateCount() const { return m_states; }
    int symbolCount() const { return m_symbols; }
    // 0-based state and symbol.
    const QString &text(int state, int symbol) const { return m_texts[cell(state, symbol)]; }
    // Text typed into a cell: from now on it is looked up by name.
    void setText(int state, int symbol, const QString &text);

    struct Stored
    {
        QList<QList<qint16>> transitions;   // the whole table, every row fitted to the alphabet
        // The first cell, row by row and left to right, whose text names no state;
        // -1 when every cell was stored. The cells before it are stored, the cells
        // from it on keep what the table held.
        int refusedState = -1;
        int refusedSymbol = -1;

        bool refused() const { return refusedState >= 0; }
    };
    // Store, into the table of `model`, the automaton the cells were filled from.
    Stored store(const modAll &model) const;

    // `model.transitions` with every state's row fitted to the alphabet, and a
    // row for each state that has none yet.
    static QList<QList<qint16>> fittedRows(const modAll &model);

private:
    qsizetype cell(int state, int symbol) const { return qsizetype(state) * m_symbols + symbol; }

    int m_states = 0;
    int m_symbols = 0;
    QList<QString> m_texts;     // row by row
    QList<qint16> m_targets;    // the target each cell was filled from, 0 for none
    QBitArray m_typed;
};
