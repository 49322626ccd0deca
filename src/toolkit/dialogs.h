#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Every modal box the program shows goes through this one seam, so tests can
// answer them from a script instead of blocking on a real window. Every text
// given to a box is shown as it is, never read as markup: it may hold a name
// the user typed, a path or the system's reason for a failure.
class Dialogs
{
public:
    enum class Icon { None, Critical, Exclamation, Question, Information };
    enum class Buttons { Ok, YesNoCancel, YesNo };
    enum class Answer { Ok, Yes, No, Cancel };

    // Settings made before each showing of the file dialog.
    struct FileSettings
    {
        QString title;
        // Each entry as the user reads it: a caption with its patterns in
        // parentheses, "All files (*.*)", "Automata (*.tw)". "*.*" means every
        // file, a name without a dot included.
        QStringList filters;
        int selectedFilter = 0; // 0-based index into filters
        QString defaultSuffix;  // appended to a name typed without an extension
        QString initialName;    // empty: the dialog offers what it offered last time
        bool fileMustExist = false;
        // A name in a folder that does not exist is refused by the dialog itself,
        // which stays open for another name.
        bool pathMustExist = false;
        bool confirmOverwrite = false;
        // Empty: the File menu's dialog, which Open and Save As share so that Open
        // offers the name of its previous use. Otherwise a dialog of its own for
        // this purpose ("compare"), one per name, that offers its own last folder
        // and name and never changes what the File menu's offers.
        QString ownDialog;
    };

    virtual ~Dialogs() = default;

    // Shows a message box; for Buttons::YesNoCancel, Yes is the default button,
    // for Buttons::YesNo (a question whose Yes gives something up), No.
    virtual Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) = 0;
    // A one-line input box; returns the typed text, or the empty text when cancelled.
    virtual QString input(const QString &prompt, const QString &title, const QString &defaultText) = 0;
    // The chosen full path, or nothing when the user cancelled.
    virtual std::optional<QString> openFile(const FileSettings &settings) = 0;
    virtual std::optional<QString> saveFile(const FileSettings &settings) = 0;

    // The common case: a box with an OK button only.
    void inform(const QString &text, const QString &title, Icon icon)
    {
        message(text, title, icon, Buttons::Ok);
    }
};
