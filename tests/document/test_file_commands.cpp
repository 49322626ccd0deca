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
    void newFile() override { ++resets, model = modAll(); }
    void clearRunDisplays() override { ++clears; }
    void setStatusText(const QString &text) override { status = text; }

    modAll &model;
    int resets = 0;
    int clears = 0;
    QString status = "before";
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

// Both dialogs list all files and automata, automata chosen, and add ".tw".
bool offersAutomata(const Dialogs::FileSettings &s)
{
    return s.filters == QStringList{"All files (*.*)", "Automata (*.tw)"} && s.selectedFilter == 1
        && s.defaultSuffix == "tw";
}

} // namespace

// Each test starts from an edited automaton, untitled or with a file
// "{dir}/old.tw", and scripts the boxes from the transcript it expects: the
// question gets the row's answer, the Save As dialog the row's name ("cancel":
// cancelled, "missing/...": a folder that does not exist), the Open dialog is
// cancelled and every other box is acknowledged.
class TestFileCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void saveChangesQuestion_data();
    void saveChangesQuestion();
    void save_data();
    void save();
    void open_data();
    void open();

private:
    void start(bool untitled, const QString &name = "old.tw");
    void script(const QStringList &boxes, int answer, const QString &saveAs);
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString expand(QString text) const { return text.replace("{dir}", m_dir->path()); }
    QStringList expand(QStringList texts) const { return texts.replaceInStrings("{dir}", m_dir->path()); }

    std::unique_ptr<QTemporaryDir> m_dir;
    modAll m_model;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<FakeWindow> m_window;
    std::unique_ptr<FileCommands> m_commands;
};

void TestFileCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_dialogs.clear();
    m_window = std::make_unique<FakeWindow>(m_model);
    m_commands = std::make_unique<FileCommands>(m_model, m_dialogs, *m_window);
}

void TestFileCommands::start(bool untitled, const QString &name)
{
    m_model = endsInA();
    m_model.is_saved = false;
    m_model.is_untitled = untitled;
    m_model.file_name = untitled ? QString("NoName") : path(name);
    QFile old(path(name));
    if (!untitled && old.open(QIODevice::WriteOnly))
        old.write("old bytes");
}

void TestFileCommands::script(const QStringList &boxes, int answer, const QString &saveAs)
{
    for (const QString &box : boxes) {
        if (box.startsWith("Automata: "))
            m_dialogs.answerMessage(Dialogs::Answer(answer));
        else if (box == "Save As: ")
            m_dialogs.answerSaveFile(saveAs == "cancel" ? std::nullopt : std::optional<QString>(path(saveAs)));
        else if (box == "Open: ")
            m_dialogs.answerOpenFile(std::nullopt);
        else
            m_dialogs.answerMessage();
    }
}

void TestFileCommands::saveChangesQuestion_data()
{
    QTest::addColumn<QString>("command");     // "new", "open" or "close"
    QTest::addColumn<bool>("untitled");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAs");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("goesOn");

    const int yes = int(Dialogs::Answer::Yes), no = int(Dialogs::Answer::No), cancel = int(Dialogs::Answer::Cancel);
    const QString askNoName = "Automata: Save changes to NoName", askOld = "Automata: Save changes to {dir}/old.tw";
    const QString saved = "OK: File is saved.", notSaved = "FILE NOT SAVED: Saving operation is cancled by user";
    for (const QString command : {"new", "open", "close"}) {
        // What the command does once it may go on: New and the close show
        // nothing more, Open shows its dialog (cancelled here).
        const QStringList then = command == "open" ? QStringList{"Open: ", "FILE NOT OPEN: Opening operation is cancled by user"}
                                                   : QStringList{};
        const auto row = [&](const char *name) -> QTestData & { return QTest::addRow("%s: %s", qPrintable(command), name); };
        row("nothing to save") << command << true << false << 0 << "" << then << true;
        row("cancel") << command << true << true << cancel << "" << QStringList{askNoName} << false;
        row("no") << command << false << true << no << "" << QStringList{askOld} + then << true;
        row("yes, untitled, saved") << command << true << true << yes << "new.tw"
                                    << QStringList{askNoName, "Save As: ", saved} + then << true;
        row("yes, dialog cancelled") << command << true << true << yes << "cancel"
                                     << QStringList{askNoName, "Save As: ", notSaved} << false;
        row("yes, write failed") << command << true << true << yes << "missing/new.tw"
                                 << QStringList{askNoName, "Save As: ", notSaved} << false;
        if (command == "close") {
            row("yes, titled, still asks for a name") << command << false << true << yes << "new.tw"
                                                      << QStringList{askOld, "Save As: ", saved} << true;
            continue;
        }
        row("yes, titled, written in place") << command << false << true << yes << "old.tw" << QStringList{askOld} + then << true;
        row("yes, titled, write failed") << command << false << true << yes << "missing/old.tw"
            << QStringList{"Automata: Save changes to {dir}/missing/old.tw",
                           "FILE NOT SAVED: Cannot save {dir}/missing/old.tw:\nNo such file or directory"} << false;
    }
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

    start(untitled, untitled || !saveAs.endsWith("old.tw") ? "old.tw" : saveAs);
    m_model.is_saved = !edited;
    const modAll before = m_model;
    script(boxes, answer, saveAs);

    bool wentOn = false;
    if (command == "new") {
        m_commands->fileNew();
        wentOn = m_window->resets == 1;
        QCOMPARE(m_window->clears, m_window->resets);
        QCOMPARE(m_window->status, wentOn ? "New File" : "before");
    } else if (command == "open") {
        m_commands->fileOpen();
        wentOn = boxes.contains("Open: ");
    } else {
        wentOn = m_commands->mayClose();
    }

    QCOMPARE(m_dialogs.transcript(), expand(boxes));
    QVERIFY(m_dialogs.allAnswered());
    QCOMPARE(wentOn, goesOn);
    if (!goesOn) {   // the changes are all still there, and still unsaved
        QCOMPARE(describe(m_model), describe(before));
        QCOMPARE(m_model.is_untitled, untitled);
        QVERIFY(!m_model.is_saved);
    }
    if (goesOn && answer == int(Dialogs::Answer::Yes))
        QCOMPARE(fileBytes(path(saveAs)), automatonBytes(before));
}

void TestFileCommands::save_data()
{
    QTest::addColumn<bool>("saveAs");          // Save As rather than Save
    QTest::addColumn<bool>("untitled");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("fileName");     // file_name afterwards

    const QString saved = "OK: File is saved.", notSaved = "FILE NOT SAVED: Saving operation is cancled by user";
    QTest::newRow("save, titled: in place, no box") << false << false << "" << QStringList{}
                                                    << "File Saved : old.tw" << "{dir}/old.tw";
    QTest::newRow("save, untitled: Save As") << false << true << "new.tw" << QStringList{"Save As: ", saved}
                                             << "File Saved : new.tw" << "{dir}/new.tw";
    QTest::newRow("save as, titled") << true << false << "b.tw" << QStringList{"Save As: ", saved}
                                     << "File Saved : b.tw" << "{dir}/b.tw";
    QTest::newRow("save as, cancelled") << true << true << "cancel" << QStringList{"Save As: ", notSaved}
                                        << "before" << "NoName";
    QTest::newRow("save as, write failed: the chosen name stays") << true << true << "missing/x.tw"
        << QStringList{"Save As: ", notSaved} << "before" << "{dir}/missing/x.tw";
}

void TestFileCommands::save()
{
    QFETCH(bool, saveAs);
    QFETCH(bool, untitled);
    QFETCH(QString, chosen);
    QFETCH(QStringList, boxes);
    QFETCH(QString, status);
    QFETCH(QString, fileName);

    start(untitled);
    const modAll before = m_model;
    script(boxes, 0, chosen);
    saveAs ? m_commands->fileSaveAs() : m_commands->fileSave();

    const bool written = status != "before";
    QCOMPARE(m_dialogs.transcript(), boxes);
    QCOMPARE(m_window->status, status);
    QCOMPARE(m_model.file_name, expand(fileName));
    QCOMPARE(m_model.is_saved, written);
    QCOMPARE(m_model.is_untitled, untitled && !written);
    QCOMPARE(fileBytes(expand(fileName)), written ? automatonBytes(before) : QByteArray("(none)"));
    if (!boxes.isEmpty()) {
        const Dialogs::FileSettings dialog = m_dialogs.calls().constFirst().file;
        QCOMPARE(dialog.title, "Save As");
        QCOMPARE(dialog.initialName, before.file_name);
        QVERIFY(dialog.confirmOverwrite && !dialog.fileMustExist);
        QVERIFY(offersAutomata(dialog));
    }
}

void TestFileCommands::open_data()
{
    QTest::addColumn<QString>("chosen");       // empty: the dialog is cancelled
    QTest::addColumn<QByteArray>("content");   // of the chosen file; empty: no such file

    QTest::newRow("an automaton") << "ends in a.tw" << automatonBytes(endsInA());
    QTest::newRow("dialog cancelled") << "" << QByteArray();
    QTest::newRow("malformed file") << "short.tw" << QByteArray("Q\r\n 2 \r\nq0\r\n");
    QTest::newRow("file gone") << "gone.tw" << QByteArray();
}

void TestFileCommands::open()
{
    QFETCH(QString, chosen);
    QFETCH(QByteArray, content);

    start(true);
    m_model.is_saved = true;
    const modAll before = m_model;
    QFile file(path(chosen));
    if (!content.isEmpty() && file.open(QIODevice::WriteOnly))
        file.write(content);
    file.close();
    const bool opens = chosen == "ends in a.tw";
    m_dialogs.answerOpenFile(chosen.isEmpty() ? std::nullopt : std::optional<QString>(path(chosen)));
    if (!opens)
        m_dialogs.answerMessage();
    m_model.comment = "edited, but saved";
    m_commands->fileOpen();

    const QStringList failed{"Open: ", "FILE NOT OPEN: Opening operation is cancled by user"};
    QCOMPARE(m_dialogs.transcript(), opens ? QStringList{"Open: "} : failed);
    QCOMPARE(m_model.comment, opens ? before.comment : "edited, but saved");
    QCOMPARE(m_model.file_name, opens ? path(chosen) : "NoName");
    QCOMPARE(m_model.is_untitled, !opens);
    QVERIFY(m_model.is_saved);
    QCOMPARE(m_window->status, opens ? "File Opened : ends in a.tw" : "before");
    const Dialogs::FileSettings dialog = m_dialogs.calls().constFirst().file;
    QCOMPARE(dialog.title, "Open");
    QCOMPARE(dialog.initialName, "");   // the dialog offers the name from its previous use
    QVERIFY(dialog.fileMustExist && !dialog.confirmOverwrite);
    QVERIFY(offersAutomata(dialog));
}

QTEST_GUILESS_MAIN(TestFileCommands)
#include "test_file_commands.moc"
