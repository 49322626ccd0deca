#pragma once

#include "document/automaton_file.h"
#include "document/tw_result.h"
#include "toolkit/dialogs.h"

#include <QString>

class ModelEdits;
struct modAll;

// The file dialog's settings for an automaton's file, under `title`: every
// file or the .tw files (chosen), ".tw" added to a name typed without one.
Dialogs::FileSettings automatonFileSettings(const QString &title);
// The same for a file to read, which may also be a JFLAP file: one filter more.
Dialogs::FileSettings readableFileSettings(const QString &title);

// What the file commands need of the main window.
class FileCommandsWindow
{
public:
    virtual ~FileCommandsWindow() = default;

    // Empties the input string, the output and the current state displays.
    virtual void clearRunDisplays() = 0;
    virtual void setStatusText(const QString &text) = 0;
};

// The main window's File menu and its close: New, Open, Save, Save As and the
// question about unsaved changes, with the file dialog and the message boxes
// through the Dialogs seam. The main window owns one and forwards to it.
//
// No way through these commands drops changes the user asked to keep: when
// the answer to "Save changes to ..." is Yes and the save does not happen
// (the dialog was cancelled or the write failed), the New, Open or close that
// asked stops there and the automaton stays as it is. Writing goes through a
// temporary file, so a failed write never damages the file already on disk.
class FileCommands
{
public:
    // The automaton changes through `edits` (New, Open); the document's own
    // fields (file name, flags) are written in `model`, the same model.
    FileCommands(modAll &model, ModelEdits &edits, Dialogs &dialogs, FileCommandsWindow &window);

    // The menu items.
    void fileNew();
    void fileOpen();
    void fileSave();
    void fileSaveAs();
    // File > Export as JFLAP...: the automaton as a JFLAP file, through a file
    // dialog of its own; the document stays as it is.
    void exportJflap();
    // Opens `path` without a dialog: a file handed to the program as it starts.
    // A relative path is taken from the current folder.
    void openPath(const QString &path);
    // A file handed to the program that it will not open: says so, with `reason`,
    // the way a failed openPath does.
    void refuseToOpen(const QString &path, const QString &reason);
    // The main window is about to close (its close box, or File > Exit).
    // Returns whether the close may go on.
    bool mayClose();
    // An automaton the program made (Tools > Minimize) in place of the current
    // one, the way Open puts a file's there, after the same question about
    // unsaved changes: it becomes a new document without a file and with changes
    // to save, and the status bar says `status`. Returns whether it happened.
    bool openUntitled(modAll &&automaton, const QString &status);

    // Writes the model to `file_name`; on success the automaton is saved and
    // the status bar says so. On failure nothing changes.
    TwResult<> SaveTW();
    // Reads `file_name` into the model's automaton, all or nothing; touches
    // neither `file_name` nor the flags. A JFLAP file is read too; Open then
    // makes it a new document without a file.
    TwResult<> LoadTW();
    // The Save As dialog, starting at `file_name`; the chosen path becomes
    // `file_name` once the file is written there, and stays as it was when the
    // dialog was cancelled (a failure without a reason) or the write failed.
    // It shows nothing itself.
    TwResult<> SaveTWControlBox();
    // The Open dialog and the read. A failure (or a cancel, without a reason)
    // leaves `file_name` as it was; it shows nothing itself.
    TwResult<> LoadTWControlBox();
    // Save As with its messages; returns whether the file was written.
    bool SaveAsFunction();

private:
    enum class YesMeans { SaveInPlace, SaveAs };

    // What a read put in the model.
    struct Opened
    {
        LoadedAutomaton::Format format = LoadedAutomaton::Format::Tarnwell;
        QString changes;   // what was done to a JFLAP automaton to keep its meaning
    };

    bool maySaveChanges(YesMeans yes);
    bool saveInPlace();
    TwResult<Opened> readModel();
    TwResult<Opened> chooseAndRead();
    TwResult<Opened> loadFrom(const QString &path);
    void finishOpen(const TwResult<Opened> &opened);
    void becomeUntitled(const QString &status);

    modAll &m_model;
    ModelEdits &m_edits;
    Dialogs &m_dialogs;
    FileCommandsWindow &m_window;
};
