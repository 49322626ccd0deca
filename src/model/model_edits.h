#pragma once

#include "model/mod_all.h"

#include <QStringList>

// The kinds of change that reach the automaton.
enum class ModelChange {
    States,     // the states editor's OK
    Alphabet,   // the alphabet editor's OK, which fits the table to the new alphabet
    StartState, // the start state chooser's OK
    Table,      // the transition table editor's close
    Comment,    // the comment editor's close
    NewFile,    // File > New, and the program's start
    Open,       // a file read in place of the automaton
    Restore,    // an earlier or later version put back (Undo, Redo)
};

// Told of every change after it has reached the model (to redraw a picture of
// the automaton, or to record a step that can be undone).
class ModelListener
{
public:
    virtual ~ModelListener() = default;
    // `before` is the whole model as it stood just before the change.
    virtual void modelChanged(ModelChange change, const modAll &before) = 0;
    // The automaton as it stands was just written to its file. Not a change.
    virtual void modelSaved() {}
};

// The one place through which the automaton changes: one function per kind of
// change. The editors read the model freely but write it only here; each call
// is one change, told to the listener, whether or not it changed anything.
//
// None of these functions touches `is_saved` except newFile() and restore(): the editing
// actions themselves mark the automaton as changed, through markUnsaved(), when
// they act (a dialog's list edited, a key typed into a cell, the comment's
// text), not when their dialog is confirmed.
class ModelEdits
{
public:
    explicit ModelEdits(modAll &model);

    const modAll &model() const { return m_model; }
    // At most one listener; nullptr for none.
    void setListener(ModelListener *listener) { m_listener = listener; }

    // The states as listed, names and final flags. An empty list only sets the
    // count to 0. Otherwise `states` gets them (with its spare), and the row
    // sequence of the table is resized to match: rows keep their positions and
    // their targets keep their numbers, whichever states now stand there.
    void commitStates(const QList<StateEntry> &states);
    // The symbols as listed. An empty list only sets the count to 0. Otherwise
    // `symbols` gets them, and the table is filled and stored unseen (see
    // TransitionCells): every row fitted to the new alphabet, each column kept
    // at its position, every target that names no state made 0.
    void commitAlphabet(const QStringList &symbols);
    // A 0-based position, -1 for none.
    void commitStartState(qint16 start);
    // The whole table, as TransitionCells::store gives it (also when it refused
    // a cell: the cells before that one are stored).
    void commitTable(const QList<QList<qint16>> &transitions);
    void commitComment(const QString &comment);

    // Resets to an empty, untitled, unchanged automaton (modAll::newFile).
    void newFile();
    // Takes the automaton read from a file: its states, start, alphabet, table
    // and comment. The document's own fields (file name, flags, the table
    // window's place) are the file commands' to set.
    void open(modAll &&automaton);
    // Puts back an earlier or later version of the automaton (see
    // modAll::takeAutomaton), and whether it is the one last saved.
    void restore(const modAll &version, bool saved);

    // An editing action marks the automaton as changed.
    void markUnsaved() { m_model.is_saved = false; }
    // The automaton was written to its file, or read from it.
    void markSaved();
    // Where the table window was closed, for its next opening. Not part of the
    // automaton: nobody is told.
    void rememberTablePosition(int top, int left);

private:
    template <typename Apply>
    void change(ModelChange kind, Apply &&apply);

    modAll &m_model;
    ModelListener *m_listener = nullptr;
};
