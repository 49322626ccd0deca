#include "automaton_text.h"
#include "document/file_commands.h"
#include "document/tw_file.h"
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
    void setStatusText(const QString &text) override { statuses << text; }

    modAll &model;
    int resets = 0, clears = 0;
    QStringList statuses;
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
    QTest::addColumn<QString>("status");      // the last status text; empty: none set
    QTest::addColumn<bool>("done");           // the command did its work (or the close may go on)

    const QString askNoName = "Automata: Save changes to NoName > ", askOld = "Automata: Save changes to {dir}/old.tw > ",
                  saved = "OK: File is saved.", notSaved = "FILE NOT SAVED: Saving operation is cancled by user",
                  notOpened = "FILE NOT OPEN: Opening operation is cancled by user";
    // A failure that is not a cancel names the file and the reason under the message.
    const auto failed = [](const QString &name, const QString &reason = "No such file or directory") {
        return "\n\n{dir}/" + name + "\n" + reason;
    };
    const QString unwritable = "FILE NOT SAVED: The automaton was not saved to\n{dir}/missing/old.tw\n\nNo such file or directory";
    for (const QString command : {"new", "open", "close"}) {
        // Once it may go on, Open shows its dialog and reads other.tw.
        const bool open = command == "open";
        const QStringList then = open ? QStringList{"Open:  > other.tw"} : QStringList{};
        const QString status = open ? "File Opened : other.tw" : command == "new" ? "New File" : "";
        const auto row = [&](const char *name) -> QTestData & { return QTest::addRow("%s: %s", qPrintable(command), name) << command; };
        row("nothing to save") << "untitled" << then << status << true;
        row("cancel") << "untitled+" << QStringList{askNoName + "cancel"} << "" << false;
        row("no") << "titled+" << QStringList{askOld + "no"} + then << status << true;
        row("yes, untitled, saved") << "untitled+" << QStringList{askNoName + "yes", "Save As:  > new.tw", saved} + then
                                    << (status.isEmpty() ? "File Saved : new.tw" : status) << true;
        row("yes, dialog cancelled") << "untitled+" << QStringList{askNoName + "yes", "Save As:  > cancel", notSaved} << "" << false;
        row("yes, write failed") << "untitled+"
            << QStringList{askNoName + "yes", "Save As:  > missing/new.tw", notSaved + failed("missing/new.tw")} << "" << false;
        if (command == "close")
            row("yes, titled: still asks for a name") << "titled+" << QStringList{askOld + "yes", "Save As:  > new.tw", saved}
                                                      << "File Saved : new.tw" << true;
        else {
            row("yes, titled: written in place") << "titled+" << QStringList{askOld + "yes"} + then << status << true;
            row("yes, titled: write failed") << "unwritable+"
                << QStringList{"Automata: Save changes to {dir}/missing/old.tw > yes", unwritable} << "" << false;
        }
    }
    QTest::newRow("open: dialog cancelled") << "open" << "titled" << QStringList{"Open:  > cancel", notOpened} << "" << false;
    QTest::newRow("open: malformed file") << "open" << "titled" << QStringList{"Open:  > short.tw",
        notOpened + failed("short.tw", "Line 4: the file ends before the final flag of state 1")} << "" << false;
    QTest::newRow("open: file gone") << "open" << "untitled" << QStringList{"Open:  > gone.tw", notOpened + failed("gone.tw")}
                                     << "" << false;
    QTest::newRow("save, titled: in place, no box") << "save" << "titled+" << QStringList{} << "File Saved : old.tw" << true;
    QTest::newRow("save, untitled: Save As") << "save" << "untitled+" << QStringList{"Save As:  > new.tw", saved}
                                             << "File Saved : new.tw" << true;
    QTest::newRow("save, write failed") << "save" << "unwritable+" << QStringList{unwritable} << "" << false;
    QTest::newRow("save as, titled") << "save as" << "titled" << QStringList{"Save As:  > b.tw", saved} << "File Saved : b.tw" << true;
}

void TestFileCommands::commands()
{
    QFETCH(QString, command);
    QFETCH(QString, start);
    QFETCH(QStringList, boxes);
    QFETCH(QString, status);
    QFETCH(bool, done);

    QTemporaryDir dir;
    const auto path = [&](const QString &name) { return dir.filePath(name); };
    const modAll other = withComment(makeAutomaton({"x"}, {"x"}, {"1"}, {{1}}), "the other automaton");
    QCOMPARE(TwFile::save(other, path("other.tw")), std::nullopt);
    QFile malformed(path("short.tw"));
    QVERIFY(malformed.open(QIODevice::WriteOnly) && malformed.write("Q\r\n 2 \r\nq0\r\n") == 12 && malformed.flush());
    modAll model = workedExample();
    model.is_saved = !start.endsWith('+');
    if (!start.startsWith("untitled"))
        model.is_untitled = false, model.file_name = path(start.startsWith("titled") ? "old.tw" : "missing/old.tw");
    const modAll before = model;

    ScriptedDialogs dialogs;
    QString chosen;   // the last file chosen in a dialog
    const QHash<QString, Dialogs::Answer> answers{{"yes", Dialogs::Answer::Yes}, {"no", Dialogs::Answer::No}, {"cancel", Dialogs::Answer::Cancel}};
    for (QString &box : boxes) {
        const QString answer = box.section(" > ", 1);
        box = box.section(" > ", 0, 0).replace("{dir}", dir.path());
        const std::optional<QString> file = answer == "cancel" ? std::nullopt : std::optional(path(answer));
        if (box == "Open: " || box == "Save As: ")
            chosen = file.value_or(chosen), box == "Open: " ? dialogs.answerOpenFile(file) : dialogs.answerSaveFile(file);
        else
            dialogs.answerMessage(answers.value(answer, Dialogs::Answer::Ok));
    }
    FakeWindow window(model);
    FileCommands commands(model, dialogs, window);
    const QHash<QString, void (FileCommands::*)()> menu{{"new", &FileCommands::fileNew}, {"open", &FileCommands::fileOpen},
                                                       {"save", &FileCommands::fileSave}, {"save as", &FileCommands::fileSaveAs}};
    const bool mayClose = command == "close" ? commands.mayClose() : ((commands.*menu[command])(), false);

    QCOMPARE(dialogs.transcript(), boxes);
    QVERIFY(dialogs.allAnswered());
    for (const ScriptedDialogs::Call &call : dialogs.calls())   // Save As starts at the file's name and asks before overwriting
        if (call.kind == ScriptedDialogs::Kind::SaveFile)
            QCOMPARE(call.file.initialName + QString::number(call.file.confirmOverwrite), before.file_name + "1");
    QCOMPARE(window.statuses.value(window.statuses.size() - 1), status);
    for (const QString &s : window.statuses.filter("File Saved : "))   // every write reported wrote the automaton
        QCOMPARE(describe(TwFile::load(path(s.mid(13))).automaton.value_or(modAll())), describe(before));
    QCOMPARE(QString("%1 resets, %2 clears").arg(window.resets).arg(window.clears),
             command == "new" && done ? "1 resets, 1 clears" : "0 resets, 0 clears");
    if (command == "close")
        QCOMPARE(mayClose, done);
    // Done: what was read or written, with its file, saved. Not done: the changes are all still
    // there, unsaved, under the old name (a failed Save As keeps the chosen one).
    if (!done || command == "open" || command.startsWith("save")) {
        modAll expected = done && command == "open" ? other : before;
        expected.is_untitled = expected.is_untitled && !done;
        expected.is_saved = expected.is_saved || done;
        if (done || chosen.contains("/missing/"))
            expected.file_name = chosen.isEmpty() ? before.file_name : chosen;
        const auto summary = [](const modAll &m) { return QString("%1 %2 %3 %4").arg(describe(m), m.file_name).arg(m.is_untitled).arg(m.is_saved); };
        QCOMPARE(summary(model), summary(expected));
    }
}

QTEST_GUILESS_MAIN(TestFileCommands)
#include "test_file_commands.moc"
