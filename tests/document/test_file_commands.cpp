#include "automaton_builder.h"
#include "document/file_commands.h"
#include "document/tw_writer.h"
#include "scripted_dialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The main window as the file commands see it.
struct FakeWindow final : FileCommandsWindow
{
    explicit FakeWindow(modAll &m) : model(m) {}
    void newFile() override
    {
        ++resets;
        model = modAll();
    }
    void clearRunDisplays() override { ++clears; }
    void setStatusText(const QString &text) override { status = text; }

    modAll &model;
    int resets = 0;
    int clears = 0;
    QString status = "status before";
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestFileCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void saveChangesQuestion_data();
    void saveChangesQuestion();
    void open_data();
    void open();
    void save_data();
    void save();
    void fileDialogSettings();

private:
    // An edited automaton with a file of its own in a fresh folder.
    void startEdited(bool untitled, const QString &name = "old.tw");
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    modAll m_model;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<FakeWindow> m_window;
    std::unique_ptr<FileCommands> m_commands;
};

void TestFileCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_model = modAll();
    m_dialogs.clear();
    m_window = std::make_unique<FakeWindow>(m_model);
    m_commands = std::make_unique<FileCommands>(m_model, m_dialogs, *m_window);
}

void TestFileCommands::startEdited(bool untitled, const QString &name)
{
    m_model = endsInA();
    m_model.is_saved = false;
    m_model.is_untitled = untitled;
    m_model.file_name = untitled ? QString("NoName") : path(name);
    if (!untitled && !name.startsWith("missing/"))
        writeBytes(path(name), "old bytes");
}

// Every road through "Save changes to ..." for the three commands that would
// drop the automaton. "{dir}" stands for the test's folder. A command that does
// not go on leaves the edited automaton as it was.
void TestFileCommands::saveChangesQuestion_data()
{
    QTest::addColumn<QString>("command");     // "new", "open" or "close"
    QTest::addColumn<bool>("untitled");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");          // Dialogs::Answer
    QTest::addColumn<QString>("saveAs");      // the Save As dialog's answer: a name, "cancel" or ""
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("goesOn");

    const int yes = int(Dialogs::Answer::Yes), no = int(Dialogs::Answer::No), cancel = int(Dialogs::Answer::Cancel);
    const QString askUntitled = "Automata: Save changes to NoName";
    const QString askTitled = "Automata: Save changes to {dir}/old.tw";
    const QString saved = "OK: File is saved.";
    const QString notSaved = "FILE NOT SAVED: Saving operation is cancled by user";
    const QString openBox = "Open: ";
    const QString notOpened = "FILE NOT OPEN: Opening operation is cancled by user";
    const QString notWritten = "FILE NOT SAVED: Cannot save {dir}/missing/old.tw:\nNo such file or directory";

    for (const QString command : {"new", "open"}) {
        // What the command does once it may go on; Open's dialog is cancelled.
        const QStringList then = command == "open" ? QStringList{openBox, notOpened} : QStringList{};
        const auto row = [&](const char *name) -> QTestData & { return QTest::addRow("%s: %s", qPrintable(command), name); };
        row("nothing to save") << command << true << false << 0 << "" << then << true;
        row("cancel") << command << true << true << cancel << "" << QStringList{askUntitled} << false;
        row("no") << command << true << true << no << "" << QStringList{askUntitled} + then << true;
        row("yes, untitled, saved") << command << true << true << yes << "new.tw"
                                    << QStringList{askUntitled, "Save As: ", saved} + then << true;
        row("yes, untitled, dialog cancelled") << command << true << true << yes << "cancel"
                                               << QStringList{askUntitled, "Save As: ", notSaved} << false;
        row("yes, untitled, write failed") << command << true << true << yes << "missing/new.tw"
                                           << QStringList{askUntitled, "Save As: ", notSaved} << false;
        row("yes, titled, written in place") << command << false << true << yes << ""
                                             << QStringList{askTitled} + then << true;
        row("yes, titled, write failed") << command << false << true << yes << "fail in place"
                                         << QStringList{"Automata: Save changes to {dir}/missing/old.tw", notWritten}
                                         << false;
    }
    QTest::newRow("close: nothing to save") << "close" << true << false << 0 << "" << QStringList{} << true;
    QTest::newRow("close: cancel") << "close" << false << true << cancel << "" << QStringList{askTitled} << false;
    QTest::newRow("close: no") << "close" << false << true << no << "" << QStringList{askTitled} << true;
    QTest::newRow("close: yes, titled still asks for a name") << "close" << false << true << yes << "new.tw"
                                                              << QStringList{askTitled, "Save As: ", saved} << true;
    QTest::newRow("close: yes, dialog cancelled") << "close" << true << true << yes << "cancel"
                                                  << QStringList{askUntitled, "Save As: ", notSaved} << false;
    QTest::newRow("close: yes, write failed") << "close" << false << true << yes << "missing/new.tw"
                                              << QStringList{askTitled, "Save As: ", notSaved} << false;
}

void TestFileCommands::saveChangesQuestion()
{
    QFETCH(QString, command);
    QFETCH(bool, untitled);
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(QStringList, boxes);
    QFETCH(bool, goesOn);

    startEdited(untitled, saveAs == "fail in place" ? "missing/old.tw" : "old.tw");
    m_model.is_saved = !edited;
    const modAll before = m_model;

    if (edited)
        m_dialogs.answerMessage(Dialogs::Answer(answer));
    if (saveAs == "cancel")
        m_dialogs.answerSaveFile(std::nullopt);
    else if (!saveAs.isEmpty() && saveAs != "fail in place")
        m_dialogs.answerSaveFile(path(saveAs));
    if (boxes.contains("OK: File is saved."))
        m_dialogs.answerMessage();
    if (boxes.filter("NOT SAVED").size() == 1)
        m_dialogs.answerMessage();
    if (command == "open" && goesOn) {
        m_dialogs.answerOpenFile(std::nullopt);
        m_dialogs.answerMessage();
    }

    bool wentOn = false;
    if (command == "new") {
        m_commands->fileNew();
        wentOn = m_window->resets == 1;
    } else if (command == "open") {
        m_commands->fileOpen();
        wentOn = !m_dialogs.transcript().filter("Open: ").isEmpty();
    } else {
        wentOn = m_commands->mayClose();
    }

    QCOMPARE(m_dialogs.transcript().join("\n|"), boxes.join("\n|").replace("{dir}", m_dir->path()));
    QCOMPARE(wentOn, goesOn);
    if (command == "new") {
        QCOMPARE(m_window->clears, m_window->resets);
        QCOMPARE(m_window->status, goesOn ? "New File" : "status before");
    }
    if (!goesOn) {
        // The changes are all still there, and still unsaved.
        QCOMPARE(describe(m_model), describe(before));
        QVERIFY(!m_model.is_saved);
        QCOMPARE(m_model.is_untitled, untitled);
    }
    if (boxes.contains("OK: File is saved.")) {
        QCOMPARE(fileBytes(path(saveAs)), automatonBytes(before));
    }
    if (!untitled && answer == int(Dialogs::Answer::Yes) && saveAs.isEmpty())
        QCOMPARE(fileBytes(path("old.tw")), automatonBytes(before));
    QVERIFY(m_dialogs.allAnswered());
}

void TestFileCommands::open_data()
{
    QTest::addColumn<QString>("chosen");       // empty: the dialog is cancelled
    QTest::addColumn<QByteArray>("content");   // written to the chosen file first, unless empty
    QTest::addColumn<bool>("opens");

    QTest::newRow("an automaton") << "sub/ends in a.tw" << automatonBytes(endsInA()) << true;
    QTest::newRow("dialog cancelled") << "" << QByteArray() << false;
    QTest::newRow("malformed file") << "short.tw" << QByteArray("Q\r\n 2 \r\nq0\r\n") << false;
    QTest::newRow("file gone") << "gone.tw" << QByteArray() << false;
}

void TestFileCommands::open()
{
    QFETCH(QString, chosen);
    QFETCH(QByteArray, content);
    QFETCH(bool, opens);

    m_model = makeAutomaton({{"x", true}}, 0, {"1"}, {{1}});
    m_model.file_name = "NoName";
    QDir(m_dir->path()).mkpath("sub");
    if (!content.isEmpty())
        writeBytes(path(chosen), content);
    const modAll before = m_model;

    m_dialogs.answerOpenFile(chosen.isEmpty() ? std::nullopt : std::optional<QString>(path(chosen)));
    if (!opens)
        m_dialogs.answerMessage();
    m_commands->fileOpen();

    if (opens) {
        QCOMPARE(m_dialogs.transcript(), QStringList{"Open: "});
        QCOMPARE(describe(m_model), describe(endsInA()));
        QCOMPARE(m_model.file_name, path(chosen));
        QVERIFY(!m_model.is_untitled);
        QCOMPARE(m_window->status, "File Opened : ends in a.tw");
    } else {
        QCOMPARE(m_dialogs.transcript(), (QStringList{"Open: ", "FILE NOT OPEN: Opening operation is cancled by user"}));
        QCOMPARE(describe(m_model), describe(before));
        QCOMPARE(m_model.file_name, "NoName");
        QVERIFY(m_model.is_untitled);
        QCOMPARE(m_window->status, "status before");
    }
    QVERIFY(m_model.is_saved);
    QCOMPARE(m_window->clears, 0);
}

void TestFileCommands::save_data()
{
    QTest::addColumn<QString>("command");     // "save" or "save as"
    QTest::addColumn<bool>("untitled");
    QTest::addColumn<QString>("chosen");      // Save As dialog answer; empty: cancelled; "-": no dialog
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("fileName");    // file_name afterwards

    const QString saved = "OK: File is saved.";
    const QString notSaved = "FILE NOT SAVED: Saving operation is cancled by user";
    QTest::newRow("save, titled: in place, no box") << "save" << false << "-" << QStringList{}
                                                    << "File Saved : old.tw" << "{dir}/old.tw";
    QTest::newRow("save, untitled: through Save As") << "save" << true << "new.tw"
                                                     << QStringList{"Save As: ", saved} << "File Saved : new.tw"
                                                     << "{dir}/new.tw";
    QTest::newRow("save as, titled") << "save as" << false << "other.tw" << QStringList{"Save As: ", saved}
                                     << "File Saved : other.tw" << "{dir}/other.tw";
    QTest::newRow("save as, cancelled") << "save as" << true << "" << QStringList{"Save As: ", notSaved}
                                        << "status before" << "NoName";
    QTest::newRow("save as, write failed keeps the chosen name")
        << "save as" << true << "missing/x.tw" << QStringList{"Save As: ", notSaved} << "status before"
        << "{dir}/missing/x.tw";
}

void TestFileCommands::save()
{
    QFETCH(QString, command);
    QFETCH(bool, untitled);
    QFETCH(QString, chosen);
    QFETCH(QStringList, boxes);
    QFETCH(QString, status);
    QFETCH(QString, fileName);

    startEdited(untitled);
    const modAll before = m_model;
    if (chosen != "-")
        m_dialogs.answerSaveFile(chosen.isEmpty() ? std::nullopt : std::optional<QString>(path(chosen)));
    for (int i = 1; i < boxes.size(); ++i)
        m_dialogs.answerMessage();

    if (command == "save")
        m_commands->fileSave();
    else
        m_commands->fileSaveAs();

    fileName.replace("{dir}", m_dir->path());
    const bool written = status != "status before";
    QCOMPARE(m_dialogs.transcript(), boxes);
    QCOMPARE(m_window->status, status);
    QCOMPARE(m_model.file_name, fileName);
    QCOMPARE(m_model.is_saved, written);
    QCOMPARE(m_model.is_untitled, untitled && !written);
    if (written)
        QCOMPARE(fileBytes(fileName), automatonBytes(before));
}

void TestFileCommands::fileDialogSettings()
{
    startEdited(true);
    m_dialogs.answerSaveFile(std::nullopt);
    m_dialogs.answerMessage();
    m_commands->fileSaveAs();
    m_model.is_saved = true;
    m_dialogs.answerOpenFile(std::nullopt);
    m_dialogs.answerMessage();
    m_commands->fileOpen();

    const Dialogs::FileSettings saveAs = m_dialogs.calls()[0].file;
    const Dialogs::FileSettings open = m_dialogs.calls()[2].file;
    QCOMPARE(saveAs.title, "Save As");
    QCOMPARE(saveAs.initialName, "NoName");
    QVERIFY(saveAs.confirmOverwrite);
    QVERIFY(!saveAs.fileMustExist);
    QCOMPARE(open.title, "Open");
    QCOMPARE(open.initialName, "");   // the dialog offers the name from its previous use
    QVERIFY(open.fileMustExist);
    for (const Dialogs::FileSettings &s : {saveAs, open}) {
        QCOMPARE(s.filters, (QStringList{"All files (*.*)", "Automata (*.tw)"}));
        QCOMPARE(s.selectedFilter, 1);
        QCOMPARE(s.defaultSuffix, "tw");
    }
}

QTEST_GUILESS_MAIN(TestFileCommands)
#include "test_file_commands.moc"
