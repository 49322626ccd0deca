#include "document/file_commands.h"

#include "document/tw_file.h"
#include "document/tw_reader.h"
#include "model/model_edits.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString withoutDirectories(const QString &path)
{
    return QFileInfo(path).fileName();
}

// While the automaton has a file, `file_name` names it from the root, so the
// save question shows where it is and a later Save does not depend on the
// current folder.
QString absolutePath(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

FileCommands::FileCommands(modAll &model, ModelEdits &edits, Dialogs &dialogs, FileCommandsWindow &window)
    : m_model(model)
    , m_edits(edits)
    , m_dialogs(dialogs)
    , m_window(window)
{
}

void FileCommands::fileNew()
{
    if (!maySaveChanges(YesMeans::SaveInPlace))
        return;
    m_edits.newFile();
    m_window.clearRunDisplays();
    m_window.setStatusText(QStringLiteral("New File"));
}

void FileCommands::fileOpen()
{
    if (!maySaveChanges(YesMeans::SaveInPlace))
        return;
    finishOpen(LoadTWControlBox());
}

void FileCommands::openPath(const QString &path)
{
    m_lastFailure.clear();
    finishOpen(loadFrom(path));
}

void FileCommands::refuseToOpen(const QString &path, const QString &reason)
{
    m_lastFailure = reason;
    m_failedPath = absolutePath(path);
    finishOpen(false);
}

void FileCommands::finishOpen(bool opened)
{
    if (!opened) {
        m_dialogs.inform(QStringLiteral("Opening operation is cancled by user") + failureDetail(),
                         QStringLiteral("FILE NOT OPEN"), Dialogs::Icon::Critical);
        return;
    }
    m_model.is_untitled = false;
    m_model.is_saved = true;
    m_window.setStatusText(QStringLiteral("File Opened : ") + withoutDirectories(m_model.file_name));
}

// A file that could not be read or written is not the user's cancel: the box
// that says the operation stopped also names the file and the reason.
QString FileCommands::failureDetail() const
{
    if (m_lastFailure.isEmpty())
        return {};
    return QStringLiteral("\n\n") + QDir::toNativeSeparators(m_failedPath) + QLatin1Char('\n') + m_lastFailure;
}

void FileCommands::fileSave()
{
    if (m_model.is_untitled)
        SaveAsFunction();
    else
        saveInPlace();
}

void FileCommands::fileSaveAs()
{
    SaveAsFunction();
}

// The close always offers Save As, even for an automaton that has a file.
bool FileCommands::mayClose()
{
    return maySaveChanges(YesMeans::SaveAs);
}

// The one gate before the automaton is dropped: while it has unsaved changes,
// asks whether to save them. Yes goes on only when the save happened.
bool FileCommands::maySaveChanges(YesMeans yes)
{
    if (m_model.is_saved)
        return true;
    const Dialogs::Answer answer =
        m_dialogs.message(QStringLiteral("Save changes to ") + m_model.file_name, QStringLiteral("Automata"),
                          Dialogs::Icon::Question, Dialogs::Buttons::YesNoCancel);
    switch (answer) {
    case Dialogs::Answer::No:
        return true;
    case Dialogs::Answer::Yes:
        if (yes == YesMeans::SaveAs || m_model.is_untitled)
            return SaveAsFunction();
        return saveInPlace();
    default:
        return false;
    }
}

// Writes a titled automaton to its own file; a failure is shown with the
// system's reason and leaves the status bar as it was.
bool FileCommands::saveInPlace()
{
    if (SaveTW())
        return true;
    m_dialogs.inform(QStringLiteral("The automaton was not saved to\n") + QDir::toNativeSeparators(m_model.file_name)
                         + QStringLiteral("\n\n") + m_lastFailure,
                     QStringLiteral("FILE NOT SAVED"), Dialogs::Icon::Critical);
    return false;
}

bool FileCommands::SaveTW()
{
    if (const std::optional<QString> failure = TwFile::save(m_model, m_model.file_name)) {
        m_lastFailure = *failure;
        m_failedPath = m_model.file_name;
        return false;
    }
    m_model.is_saved = true;
    m_window.setStatusText(QStringLiteral("File Saved : ") + withoutDirectories(m_model.file_name));
    return true;
}

bool FileCommands::LoadTW()
{
    TwFile::Loaded loaded = TwFile::load(m_model.file_name);
    if (!loaded.automaton) {
        m_lastFailure = loaded.failure;
        m_failedPath = m_model.file_name;
        return false;
    }
    m_edits.open(std::move(*loaded.automaton));
    return true;
}

bool FileCommands::SaveTWControlBox(QString &filename)
{
    m_lastFailure.clear();
    Dialogs::FileSettings settings = dialogSettings(QStringLiteral("Save As"));
    settings.initialName = filename;
    settings.confirmOverwrite = true;
    settings.pathMustExist = true;
    const std::optional<QString> chosen = m_dialogs.saveFile(settings);
    if (!chosen)
        return false;
    // The chosen path becomes the automaton's name only once the file is written.
    const QString previous = filename;
    filename = absolutePath(*chosen);
    if (SaveTW())
        return true;
    filename = previous;
    return false;
}

bool FileCommands::LoadTWControlBox()
{
    m_lastFailure.clear();
    Dialogs::FileSettings settings = dialogSettings(QStringLiteral("Open"));
    settings.fileMustExist = true;
    const std::optional<QString> chosen = m_dialogs.openFile(settings);
    return chosen && loadFrom(*chosen);
}

// A failed read puts the previous file name back.
bool FileCommands::loadFrom(const QString &path)
{
    const QString previous = m_model.file_name;
    m_model.file_name = absolutePath(path);
    if (LoadTW())
        return true;
    m_model.file_name = previous;
    return false;
}

bool FileCommands::SaveAsFunction()
{
    if (!SaveTWControlBox(m_model.file_name)) {
        m_dialogs.inform(QStringLiteral("Saving operation is cancled by user") + failureDetail(),
                         QStringLiteral("FILE NOT SAVED"),
                         Dialogs::Icon::Critical);
        return false;
    }
    m_dialogs.inform(QStringLiteral("File is saved."), QStringLiteral("OK"), Dialogs::Icon::Information);
    m_model.is_untitled = false;
    return true;
}

Dialogs::FileSettings FileCommands::dialogSettings(const QString &title) const
{
    Dialogs::FileSettings settings;
    settings.title = title;
    settings.filters = {QStringLiteral("All files (*.*)"), QStringLiteral("Automata (*.tw)")};
    settings.selectedFilter = 1;
    settings.defaultSuffix = QStringLiteral("tw");
    return settings;
}
