#pragma once

#include "toolkit/dialogs.h"
#include "windows/editors/editor_dialog.h"

class ModelEdits;
class QListWidget;
class QListWidgetItem;
struct modAll;

// The twin layout and list operations of the states editor and the alphabet
// editor: a list on the left, and to the right of a vertical line one column of
// seven buttons of one size (add, up, down, remove, clear, OK, Cancel).
//
// The list is the dialog's working copy; the model is written only by OK (an
// OK on an empty list sets the count to 0 and leaves the dialog open). The five
// editing buttons mark the automaton as changed the moment they act, and a
// later Cancel does not take that back.
//
// The "current entry" is the highlighted one, or none. Remove and the two moves
// act on it, never on entries that merely carry a check mark.
class ListEditor : public EditorDialog
{
    Q_OBJECT

public:
    // What the twins say to the user.
    struct Wording
    {
        QString title;          // window title
        QString hint;           // Label1, across the top
        QString listName;       // object name of the list
        QString listCaption;    // what a screen reader calls the list
        QString prompt;         // input box
        QString inputTitle;
        QString invalidText;    // an answer that cannot be an entry ...
        QString invalidTitle;   // ... and its box title
        QString duplicateText;  // an answer already in the list (title "ERROR")
        QString fullText;       // the list already holds the most a count can say
    };

protected:
    // Below the list, the states editor puts its count of final states.
    static constexpr int listBottom = 3195;
    static constexpr int clientWidth = 5805;

    ListEditor(ModelEdits &edits, Dialogs &dialogs, QWidget *owner, const Wording &wording);

    // Whether a typed answer may become an entry at all (before the duplicate check).
    virtual bool isValidEntry(const QString &answer) const = 0;
    // The entry for a newly added name or symbol.
    virtual QListWidgetItem *newEntry(const QString &text) const;
    // Entries were removed (remove selected, clear list).
    virtual void entriesRemoved() {}
    // OK: the list, as it is, into the model.
    virtual void commit() = 0;

    int currentEntry() const;
    void setCurrentEntry(int row);
    const modAll &model() const;

    ModelEdits &m_edits;
    Dialogs &m_dialogs;
    QListWidget *m_list;

private:
    void add();
    void removeSelected();
    void clearList();
    void moveCurrent(int by);
    void confirm();

    Wording m_wording;
};
