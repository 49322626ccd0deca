#include "document/file_commands.h"

#include "document/jff_writer.h"
#include "document/tw_file.h"
#include "document/tw_file_save.h"
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

// The user cancelled a file dialog: a failure with no reason to give.
TwFailure cancelled()
{
    return {};
}

// A file that could not be read or written is not the user's cancel: the box
// that says the operation stopped also names the file and the reason.
QString failureDetail(const TwFailure &failure)
{
    if (failure.what.isEmpty())
        return {};
    return QStringLiteral("\n\n") + QDir::toNativeSeparators(failure.path) + QLatin1Char('\n') + failure.message();
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
    finishOpen(chooseAndRead());
}

void FileCommands::openPath(const QString &path)
{
    finishOpen(loadFrom(path));
}

void FileCommands::refuseToOpen(const QString &path, const QString &reason)
{
    finishOpen(TwFailure{reason, 0, absolutePath(path)});
}

void FileCommands::finishOpen(const TwResult<Opened> &opened)
{
    if (!opened.ok()) {
        m_dialogs.inform(QStringLiteral("Opening operation is cancled by user") + failureDetail(opened.failure()),
                         QStringLiteral("FILE NOT OPEN"), Dialogs::Icon::Critical);
        return;
    }
    // A JFLAP file is not the automaton's own file: Save asks for a .tw name.
    if (opened.value().format == LoadedAutomaton::Format::Jflap) {
        const QString changes = opened.value().changes;
        becomeUntitled(QStringLiteral("JFLAP File Opened : ") + withoutDirectories(m_model.file_name)
                       + (changes.isEmpty() ? QString() : QStringLiteral(" (") + changes + u')'));
        return;
    }
    m_model.is_untitled = false;
    m_edits.markSaved();
    m_window.setStatusText(QStringLiteral("File Opened : ") + withoutDirectories(m_model.file_name));
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

bool FileCommands::openUntitled(modAll &&automaton, const QString &status)
{
    if (!maySaveChanges(YesMeans::SaveInPlace))
        return false;
    m_edits.open(std::move(automaton));
    becomeUntitled(status);
    return true;
}

void FileCommands::becomeUntitled(const QString &status)
{
    const modAll untitled;
    m_model.is_untitled = untitled.is_untitled;
    m_model.file_name = untitled.file_name;
    m_model.is_saved = false;
    m_window.setStatusText(status);
}

void FileCommands::exportJflap()
{
    Dialogs::FileSettings settings;
    settings.title = QStringLiteral("Export as JFLAP");
    settings.filters = {QStringLiteral("JFLAP automata (*.jff)"), QStringLiteral("All files (*.*)")};
    settings.defaultSuffix = QStringLiteral("jff");
    settings.confirmOverwrite = true;
    settings.pathMustExist = true;
    settings.ownDialog = QStringLiteral("jflap");
    // Beside the automaton's own file, under its name.
    const QFileInfo current(m_model.file_name);
    settings.initialName = current.completeBaseName() + QStringLiteral(".jff");
    if (!m_model.is_untitled)
        settings.initialName = current.dir().filePath(settings.initialName);
    const std::optional<QString> chosen = m_dialogs.saveFile(settings);
    if (!chosen)
        return;
    const TwResult<QByteArray> bytes = jffBytes(m_model);
    const TwResult<> written = bytes.ok() ? TwFile::saveBytes(*chosen, bytes.value()) : TwResult<>(bytes.failure());
    if (!written.ok()) {
        m_dialogs.inform(QStringLiteral("The automaton was not exported to\n") + QDir::toNativeSeparators(*chosen)
                             + QStringLiteral("\n\n") + written.failure().message(),
                         QStringLiteral("NOT EXPORTED"), Dialogs::Icon::Critical);
        return;
    }
    m_window.setStatusText(QStringLiteral("Exported as JFLAP : ") + withoutDirectories(*chosen));
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
    const TwResult<> written = SaveTW();
    if (written.ok())
        return true;
    m_dialogs.inform(QStringLiteral("The automaton was not saved to\n") + QDir::toNativeSeparators(m_model.file_name)
                         + QStringLiteral("\n\n") + written.failure().message(),
                     QStringLiteral("FILE NOT SAVED"), Dialogs::Icon::Critical);
    return false;
}

TwResult<> FileCommands::SaveTW()
{
    TwResult<> written = TwFile::save(m_model, m_model.file_name);
    if (written.ok()) {
        m_edits.markSaved();
        m_window.setStatusText(QStringLiteral("File Saved : ") + withoutDirectories(m_model.file_name));
    }
    return written;
}

TwResult<> FileCommands::LoadTW()
{
    const TwResult<Opened> read = readModel();
    if (!read.ok())
        return read.failure();
    return {};
}

TwResult<FileCommands::Opened> FileCommands::readModel()
{
    TwResult<LoadedAutomaton> loaded = TwFile::loadDocument(m_model.file_name);
    if (!loaded.ok())
        return loaded.failure();
    m_edits.open(std::move(loaded.value().automaton));
    return Opened{loaded.value().format, loaded.value().changes};
}

TwResult<> FileCommands::SaveTWControlBox()
{
    Dialogs::FileSettings settings = automatonFileSettings(QStringLiteral("Save As"));
    settings.initialName = m_model.file_name;
    settings.confirmOverwrite = true;
    settings.pathMustExist = true;
    const std::optional<QString> chosen = m_dialogs.saveFile(settings);
    if (!chosen)
        return cancelled();
    // The chosen path becomes the automaton's name only once the file is written.
    const QString previous = m_model.file_name;
    m_model.file_name = absolutePath(*chosen);
    TwResult<> written = SaveTW();
    if (!written.ok())
        m_model.file_name = previous;
    return written;
}

TwResult<> FileCommands::LoadTWControlBox()
{
    const TwResult<Opened> read = chooseAndRead();
    if (!read.ok())
        return read.failure();
    return {};
}

TwResult<FileCommands::Opened> FileCommands::chooseAndRead()
{
    Dialogs::FileSettings settings = readableFileSettings(QStringLiteral("Open"));
    settings.fileMustExist = true;
    const std::optional<QString> chosen = m_dialogs.openFile(settings);
    return chosen ? loadFrom(*chosen) : TwResult<Opened>(cancelled());
}

// A failed read puts the previous file name back.
TwResult<FileCommands::Opened> FileCommands::loadFrom(const QString &path)
{
    const QString previous = m_model.file_name;
    m_model.file_name = absolutePath(path);
    TwResult<Opened> read = readModel();
    if (!read.ok())
        m_model.file_name = previous;
    return read;
}

bool FileCommands::SaveAsFunction()
{
    const TwResult<> saved = SaveTWControlBox();
    if (!saved.ok()) {
        m_dialogs.inform(QStringLiteral("Saving operation is cancled by user") + failureDetail(saved.failure()),
                         QStringLiteral("FILE NOT SAVED"), Dialogs::Icon::Critical);
        return false;
    }
    m_dialogs.inform(QStringLiteral("File is saved."), QStringLiteral("OK"), Dialogs::Icon::Information);
    m_model.is_untitled = false;
    return true;
}

Dialogs::FileSettings automatonFileSettings(const QString &title)
{
    Dialogs::FileSettings settings;
    settings.title = title;
    settings.filters = {QStringLiteral("All files (*.*)"), QStringLiteral("Automata (*.tw)")};
    settings.selectedFilter = 1;
    settings.defaultSuffix = QStringLiteral("tw");
    return settings;
}

Dialogs::FileSettings readableFileSettings(const QString &title)
{
    Dialogs::FileSettings settings = automatonFileSettings(title);
    settings.filters.append(QStringLiteral("JFLAP automata (*.jff)"));
    return settings;
}
