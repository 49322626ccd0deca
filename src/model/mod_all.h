#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// One state of the automaton.
struct StateEntry
{
    QString name;          // as the user typed it; compared exactly, nothing trimmed
    bool is_final = false; // accepting state

    bool operator==(const StateEntry &) const = default;
};

// The one automaton the program edits and runs, and the document that holds it.
//
// Two index bases meet here. `start_state` and every loop index are 0-based
// positions into `states` and `symbols`; a transition entry is a 1-based state
// number, and 0 means "no transition" (the run stays where it is).
//
// The counts, not the sequences, say how many entries are meaningful. Whenever a
// sequence is sized it gets one spare entry past its count (see sizeWithSpare).
// The spare is never shown, run or written, but a resize that keeps contents
// keeps it too, so a removed last symbol's targets come back into view when a
// symbol is added again. Rows of `transitions` are sized lazily: a state added
// in the states editor has no row entries until the transition table editor
// (or a file read) sizes its row, so readers must use entry() or check bounds.
//
// The program makes exactly one instance, in main(), and hands it by reference
// to every window. Windows read the fields directly; every change they make
// goes through ModelEdits.
struct modAll
{
    bool is_untitled = true;             // no file of its own yet: Save goes through Save As
    QString file_name = QStringLiteral("NoName"); // full path, or "NoName" while untitled
    bool is_saved = true;                // no changes since reset, open or the last write
    qint16 state_count = 0;
    QList<StateEntry> states;            // positions 0 .. state_count (the last one spare)
    qint16 start_state = 0;              // 0-based; -1 when confirmed with no choice
    qint16 symbol_count = 0;
    QList<QString> symbols;              // positions 0 .. symbol_count, each one character
    QList<QList<qint16>> transitions;    // [state][symbol] -> 1-based target, 0 = none
    QString comment;                     // lines separated by CR LF
    int ttable_top = 0;                  // remembered transition table window position,
    int ttable_left = 0;                 // in layout units; int so no screen overflows it

    // Resets to an empty, untitled, unchanged automaton; the remembered table
    // window position stays.
    void newFile();

    // Whether `other` holds the same automaton: states, finals, start, alphabet,
    // table and comment, spare entries included (they can come back into view).
    // The document's own fields (file, flags, the table window's place) are not
    // compared. Lists that still share their data compare at once.
    bool sameAutomaton(const modAll &other) const;
    // Takes the automaton of `other` as sameAutomaton compares it; the
    // document's own fields stay.
    void takeAutomaton(const modAll &other);

    // 1-based position of the state named exactly `key` (the last one when names
    // repeat), 0 when there is none. See visitInLookupOrder.
    qint16 findState(const QString &key) const;
    // 1-based position of the symbol equal to `key` (the last one wins), 0 when none.
    qint16 findSymbol(const QString &key) const;

    // Whether a 0-based position names one of the current states. Anything else
    // (the start state -1, a position past the last state) is no state.
    bool isState(qint16 position) const { return position >= 0 && position < state_count && position < states.size(); }
    // Whether a transition entry (1-based) names one of the current states.
    bool isTarget(qint16 target) const { return isState(qint16(target - 1)); }
    // Entry `symbol` of row `state`, or 0 where the row or the entry does not
    // exist. Inline: every step of a run reads one.
    qint16 entry(int state, int symbol) const
    {
        if (state < 0 || state >= transitions.size())
            return 0;
        const QList<qint16> &row = transitions[state];
        return symbol >= 0 && symbol < row.size() ? row[symbol] : qint16(0);
    }
};

// Sizes `list` to positions 0 .. count, keeping what is there (the spare included)
// and filling new positions with `fill`.
template <typename T>
void sizeWithSpare(QList<T> &list, qint16 count, const T &fill = T())
{
    const qsizetype wanted = qsizetype(count) + 1;
    if (list.size() > wanted)
        list.resize(wanted);
    else
        while (list.size() < wanted)
            list.append(fill);
}
