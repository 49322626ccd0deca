#pragma once

#include "run/run_path.h"
#include "run/run_verdict.h"

#include <QWidget>
#include <memory>

class Dialogs;
class QLabel;
class QPushButton;
class QTableView;
class StringTable;
struct modAll;

// The Test Strings window: a list of strings, each with the verdict it should
// get, run all at once through the automaton as Play runs a string at 0 ms.
// Non-modal and owned by the main window, which keeps one and raises it.
//
// The rows are a scratch list: not part of the automaton's file, not kept
// between runs of the program, and closing the window asks nothing about them
// (the status line says when they were never saved). Lists are opened and
// saved as UTF-8 text, one escaped string per line and optionally a tab and
// its verdict, in a file dialog of the window's own.
//
// Every control carries an object name (cmd_add, cmd_run_all, table_strings,
// lbl_summary ...), so tests find them with findChild().
class TestStringsWindow final : public QWidget
{
    Q_OBJECT

public:
    // `model` is read at Run All and when a row is chosen. Without `dialogs`,
    // real message boxes and a file dialog of the window's own.
    TestStringsWindow(const modAll &model, Dialogs *dialogs, QWidget *owner);
    ~TestStringsWindow() override;

    StringTable &table() const { return *m_table; }
    QTableView &view() const { return *m_view; }

    void addRow();
    void removeSelectedRows();
    void runAll();
    // Adds a row for each line of `text` (see StringList); refused whole, with
    // the reason in the status line, when a line cannot be read.
    void paste(const QString &text);
    void openList();
    void saveList();
    // The automaton changed: the results no longer hold.
    void automatonChanged();

    QString summaryText() const;
    // The chosen row's path, whole; the window shows as much of it as fits.
    QString pathText() const;
    QString statusText() const;

Q_SIGNALS:
    // A row that has run was chosen: the way its string's run goes through
    // the automaton, and how it ends.
    void pathChosen(const RunPath &path, RunVerdict verdict);
    // No such row is chosen any more.
    void pathCleared();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    bool mayReplaceRows();
    void showPath();
    void setPathLine(const QString &line);
    void fitPathLine();
    void updateLines();
    void setMessage(const QString &message);
    void showError(const QString &text);

    const modAll &m_model;
    std::unique_ptr<Dialogs> m_ownDialogs;
    Dialogs &m_dialogs;
    StringTable *m_table;
    QTableView *m_view = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_path = nullptr;
    QLabel *m_status = nullptr;
    QString m_message;     // the outcome of the last open, save, paste or edit
    QString m_pathLine;    // the path of the chosen row, before it is fitted to the window
};
