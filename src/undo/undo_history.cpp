#include "undo/undo_history.h"

#include "document/tw_writer.h"
#include "undo/automaton_step.h"

#include <QAction>

namespace {

// What a step is called in the menu: "Undo " followed by this.
QString stepName(ModelChange change)
{
    switch (change) {
    case ModelChange::States:
        return UndoHistory::tr("States");
    case ModelChange::Alphabet:
        return UndoHistory::tr("Alphabet");
    case ModelChange::StartState:
        return UndoHistory::tr("Start State");
    case ModelChange::Table:
        return UndoHistory::tr("Transition Table");
    case ModelChange::Comment:
        return UndoHistory::tr("Comment");
    case ModelChange::NewFile:
    case ModelChange::Open:
    case ModelChange::Restore:
        break;
    }
    return {};
}

// "&Undo", or "&Undo States" when there is a step named "States".
QString caption(const QString &verb, const QString &step)
{
    return step.isEmpty() ? verb : verb + u' ' + step;
}

} // namespace

UndoHistory::UndoHistory(ModelEdits &edits, QObject *parent)
    : QObject(parent)
    , m_edits(edits)
    , m_undo(new QAction(this))
    , m_redo(new QAction(this))
{
    m_stack.setUndoLimit(keptSteps);
    m_edits.setListener(this);
    connect(m_undo, &QAction::triggered, this, &UndoHistory::undo);
    connect(m_redo, &QAction::triggered, this, &UndoHistory::redo);
    connect(&m_stack, &QUndoStack::indexChanged, this, &UndoHistory::updateActions);
    updateActions();
}

UndoHistory::~UndoHistory()
{
    m_edits.setListener(nullptr);
}

bool UndoHistory::canUndo() const
{
    return m_stack.canUndo() && !m_heldByEditor && !m_heldByRun;
}

bool UndoHistory::canRedo() const
{
    return m_stack.canRedo() && !m_heldByEditor && !m_heldByRun;
}

void UndoHistory::undo()
{
    if (canUndo())
        m_stack.undo();
}

void UndoHistory::redo()
{
    if (canRedo())
        m_stack.redo();
}

void UndoHistory::setHeld(Hold reason, bool held)
{
    if (reason == Hold::Editor && held && !m_heldByEditor)
        ++m_editorOpening;
    (reason == Hold::Editor ? m_heldByEditor : m_heldByRun) = held;
    updateActions();
}

void UndoHistory::putBack(const modAll &version)
{
    m_edits.restore(version, m_saved && writtenAlike(version, *m_saved));
}

void UndoHistory::modelChanged(ModelChange change, const modAll &before)
{
    switch (change) {
    case ModelChange::NewFile:
    case ModelChange::Open:
        // A file read is marked saved next (modelSaved); an automaton the
        // program made is not in any file.
        m_stack.clear();
        m_saved.reset();
        break;
    case ModelChange::Restore:
        break;   // a step of this history, being taken back or made again
    default:
        if (!writtenAlike(m_edits.model(), before))
            m_stack.push(new AutomatonStep(*this, stepName(change), before, m_edits.model(),
                                           m_heldByEditor ? m_editorOpening : -1));
        break;
    }
    updateActions();
    if (m_next)
        m_next->modelChanged(change, before);
}

void UndoHistory::modelSaved()
{
    m_saved = m_edits.model();
    if (m_next)
        m_next->modelSaved();
}

void UndoHistory::updateActions()
{
    m_undo->setText(caption(tr("&Undo"), m_stack.undoText()));
    m_redo->setText(caption(tr("Re&do"), m_stack.redoText()));
    m_undo->setEnabled(canUndo());
    m_redo->setEnabled(canRedo());
}
