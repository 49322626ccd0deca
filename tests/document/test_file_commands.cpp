#include "automaton_text.h"
#include "document/file_commands.h"
#include "document/tw_file.h"
#include "scripted_dialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The main window as the file commands see it: it notes what it is told.
struct FakeWindow final : FileCommandsWindow
{
    explicit FakeWindow(modAll &m) : model(m) {}
    void newFile() override { log << "reset"; model = modAll(); }
    void clearRunDisplays() override { log << "clear"; }
    void setStatusText(const QString &text) override { log << text; }

    modAll &model;
    QStringList log;
};

} // namespace

// Each row starts from the automaton of the worked example, untitled
// ("NoName"), titled ("{dir}/old.tw") or titled in a folder that does not
// exist, with or without unsaved changes. The boxes the row expects, as
// "title: text" lines, carry the user's answer after " > ": the answer to the
// question, or the file chosen in a dialog ("cancel": cancelled); any other box
// is answered OK. {dir} holds "other.tw" and a malformed "short.tw".
class TestFileCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commands_data();
    void commands();
};

void TestFileCommands::commands_data()
{
    QTest::addColumn<QString>("command");     // new, open, save, save as, close
    QTest::addColumn<QString>("start");       // untitled, titled, unwritable; "+" when edited
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("window");      // what the window was told, in turn: status texts, reset, clear
    QTest::addColumn<bool>("done");           // the command did its work (or the close may go on)

    const QString askNoName = "Automata: Save changes to NoName > ", askOld = "Automata: Save changes to {dir}/old.tw > ";
    const QString notSaved = "FILE NOT SAVED: Saving operation is cancled by user", notOpened = "FILE NOT OPEN: Opening operation is cancled by user";
    const QStringList saveAs{"Save As:  > new.tw", "OK: File is saved."};
    // A failure that is not a cancel names the file and the reason under the message.
    const auto failed = [](const QString &name, const QString &reason = "No such file or directory") { return "\n\n{dir}/" + name + "\n" + reason; };
    const QString unwritable = "FILE NOT SAVED: The automaton was not saved to\n{dir}/missing/old.tw\n\nNo such file or directory";
    for (const QString command : {"new", "open", "close"}) {
        // Once it may go on, Open shows its dialog and reads other.tw.
        const bool open = command == "open";
        const QStringList then = open ? QStringList{"Open:  > other.tw"} : QStringList{};
        const QString told = open ? "File Opened : other.tw" : command == "new" ? "reset, clear, New File" : "";
        const auto savedThen = [&](const QString &saved) { return told.isEmpty() ? saved : saved + ", " + told; };
        const auto row = [&](const char *name) -> QTestData & { return QTest::addRow("%s: %s", qPrintable(command), name) << command; };
        row("nothing to save") << "untitled" << then << told << true;
        row("cancel") << "untitled+" << QStringList{askNoName + "cancel"} << "" << false;
        row("no") << "titled+" << QStringList{askOld + "no"} + then << told << true;
        row("yes, untitled, saved") << "untitled+" << QStringList{askNoName + "yes"} + saveAs + then
                                    << savedThen("File Saved : new.tw") << true;
        row("yes, dialog cancelled") << "untitled+" << QStringList{askNoName + "yes", "Save As:  > cancel", notSaved} << "" << false;
        row("yes, write failed") << "untitled+"
            << QStringList{askNoName + "yes", "Save As:  > missing/new.tw", notSaved + failed("missing/new.tw")} << "" << false;
        if (command == "close")
            row("yes, titled: still asks for a name") << "titled+" << QStringList{askOld + "yes"} + saveAs << "File Saved : new.tw" << true;
        else {
            row("yes, titled: written in place") << "titled+" << QStringList{askOld + "yes"} + then
                                                 << savedThen("File Saved : old.tw") << true;
            row("yes, titled: write failed") << "unwritable+"
                << QStringList{"Automata: Save changes to {dir}/missing/old.tw > yes", unwritable} << "" << false;
        }
    }
    QTest::newRow("open: dialog cancelled") << "open" << "titled" << QStringList{"Open:  > cancel", notOpened} << "" << false;
    QTest::newRow("open: malformed file") << "open" << "titled" << QStringList{"Open:  > short.tw",
        notOpened + failed("short.tw", "Line 4: the file ends before the final flag of state 1")} << "" << false;
    QTest::newRow("open: file gone") << "open" << "untitled" << QStringList{"Open:  > gone.tw", notOpened + failed("gone.tw")} << "" << false;
    QTest::newRow("save, titled: in place, no box") << "save" << "titled+" << QStringList{} << "File Saved : old.tw" << true;
    QTest::newRow("save, untitled: Save As") << "save" << "untitled+" << saveAs << "File Saved : new.tw" << true;
    QTest::newRow("save, write failed") << "save" << "unwritable+" << QStringList{unwritable} << "" << false;
    QTest::newRow("save as, titled") << "save as" << "titled" << saveAs << "File Saved : new.tw" << true;
}

void TestFileCommands::commands()
{
    QFETCH(QString, command);
    QFETCH(QString, start);
    QFETCH(QStringList, boxes);
    QFETCH(QString, window);
    QFETCH(bool, done);

    QTemporaryDir dir;
    const auto path = [&](const QString &name) { return dir.filePath(name); };
    const modAll other = withComment(makeAutomaton({"x"}, {"x"}, {"1"}, {{1}}), "the other automaton");
    QCOMPARE(TwFile::save(other, path("other.tw")), std::nullopt);
    QFile malformed(path("short.tw"));
    QVERIFY(malformed.open(QIODevice::WriteOnly) && malformed.write("Q\r\n 2 \r\nq0\r\n") == 12 && malformed.flush());
    modAll model = workedExample();
    model.is_saved = !start.endsWith('+');
    model.is_untitled = start.startsWith("untitled");
    model.file_name = model.is_untitled ? QString("NoName") : path(start.startsWith("titled") ? "old.tw" : "missing/old.tw");
    const modAll before = model;
    const QStringList failedSaveAs = boxes.filter("Save As:  > missing/");

    ScriptedDialogs dialogs;
    const QHash<QString, Dialogs::Answer> answers{{"yes", Dialogs::Answer::Yes}, {"no", Dialogs::Answer::No}, {"cancel", Dialogs::Answer::Cancel}};
    for (QString &box : boxes) {
        const QString answer = box.section(" > ", 1);
        box = box.section(" > ", 0, 0).replace("{dir}", dir.path());
        const std::optional<QString> file = answer == "cancel" ? std::nullopt : std::optional(path(answer));
        if (box == "Open: ")
            dialogs.answerOpenFile(file);
        else if (box == "Save As: ")
            dialogs.answerSaveFile(file);
        else
            dialogs.answerMessage(answers.value(answer, Dialogs::Answer::Ok));
    }
    FakeWindow fake(model);
    FileCommands commands(model, dialogs, fake);
    const QHash<QString, void (FileCommands::*)()> menu{{"new", &FileCommands::fileNew}, {"open", &FileCommands::fileOpen},
                                                       {"save", &FileCommands::fileSave}, {"save as", &FileCommands::fileSaveAs}};
    const bool mayClose = command == "close" ? commands.mayClose() : ((commands.*menu[command])(), false);

    QCOMPARE(dialogs.transcript(), boxes);
    QVERIFY(dialogs.allAnswered());
    for (const ScriptedDialogs::Call &call : dialogs.calls())   // Save As starts at the file's name and asks before overwriting
        if (call.kind == ScriptedDialogs::Kind::SaveFile)
            QCOMPARE(call.file.initialName + QString::number(call.file.confirmOverwrite), before.file_name + "1");
    QCOMPARE(fake.log.join(", "), window);
    for (const QString &s : fake.log.filter("File Saved : "))   // every write reported wrote the automaton
        QCOMPARE(describe(TwFile::load(path(s.mid(13))).automaton.value_or(modAll())), describe(before));
    if (command == "close")
        QCOMPARE(mayClose, done);
    // Done: what was read or written, saved, under its file's name (which the
    // status shows). Not done: the changes are all still there, unsaved, under
    // the old name (a failed Save As keeps the chosen one).
    modAll expected = done && command == "open" ? other : before;
    expected.is_untitled = expected.is_untitled && !done;
    expected.is_saved = expected.is_saved || done;
    expected.file_name = done ? model.file_name : failedSaveAs.isEmpty() ? before.file_name : path(failedSaveAs[0].section(" > ", 1));
    const auto summary = [](const modAll &m) { return QString("%1 %2 %3 %4").arg(describe(m), m.file_name).arg(m.is_untitled).arg(m.is_saved); };
    if (!done || command == "open" || command.startsWith("save"))
        QCOMPARE(summary(model), summary(expected));
}

QTEST_GUILESS_MAIN(TestFileCommands)
#include "test_file_commands.moc"
