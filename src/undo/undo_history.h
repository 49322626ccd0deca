#pragma once

#include "model/model_edits.h"

#include <QObject>
#include <QUndoStack>
#include <optional>

class QAction;

// Every change that reaches the automaton (an editor's OK or close, through
// ModelEdits) is one step here that Undo takes back and Redo makes again. A
// change a user cannot see is no step: one after which Save would write the
// same file (the table's rows only fitted to the alphabet). Whatever one
// opening of an editor stores is one step. New and Open start an empty history.
//
// Undo and Redo put back the whole automaton as it stood, and mark it saved
// exactly when Save would then write what its file holds: the automaton last
// read from or written to a file. One that never was (after New, or made by
// Minimize) is never marked saved. They are not available while the history
// is held (setHeld): an editor has the automaton open, or a run reads it at
// each tick.
//
//     UndoHistory history(edits);          // listens to every change
//     history.passOn(&window);             // and tells the window after it
//     menu->addAction(history.undoAction());
class UndoHistory final : public QObject, private ModelListener
{
    Q_OBJECT

public:
    // The history keeps this many steps; older ones are dropped.
    static constexpr int keptSteps = 100;

    explicit UndoHistory(ModelEdits &edits, QObject *parent = nullptr);
    ~UndoHistory() override;

    // "&Undo" and "Re&do", followed by what they would undo or redo ("&Undo
    // States"); enabled while there is a step to take and the history is not held.
    QAction *undoAction() const { return m_undo; }
    QAction *redoAction() const { return m_redo; }

    void undo();
    void redo();
    bool canUndo() const;
    bool canRedo() const;
    // The steps kept, the oldest first; index() of them are done.
    const QUndoStack &stack() const { return m_stack; }

    // While held for any reason, Undo and Redo do nothing. Each hold by an
    // editor is one opening of it.
    enum class Hold { Editor, Run };
    void setHeld(Hold reason, bool held);

    // The edits have one listener, this history; it tells `next` of every
    // change and save after recording it (nullptr: nobody).
    void passOn(ModelListener *next) { m_next = next; }

    // For AutomatonStep: `version` back into the model.
    void putBack(const modAll &version);

private:
    void modelChanged(ModelChange change, const modAll &before) override;
    void modelSaved() override;
    void updateActions();

    ModelEdits &m_edits;
    QUndoStack m_stack;
    std::optional<modAll> m_saved;   // the automaton last read from or written to its file
    bool m_heldByEditor = false;
    int m_editorOpening = 0;         // counts the editors' openings, so each one's changes are one step
    bool m_heldByRun = false;
    QAction *m_undo;
    QAction *m_redo;
    ModelListener *m_next = nullptr;
};
