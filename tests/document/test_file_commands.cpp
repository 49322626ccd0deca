#include "automaton_text.h"
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
    void setStatusText(const QString &text) override { statuses << text; }

    modAll &model;
    int resets = 0;
    int clears = 0;
    QStringList statuses;
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

const modAll other = withComment(makeAutomaton({"x"}, {"x"}, {"1"}, {{1}}), "the other automaton");

} // namespace

// Each row starts from the automaton of the worked example, untitled
// ("NoName"), titled ("{dir}/old.tw") or titled in a folder that does not
// exist, with or without unsaved changes. The boxes are scripted from the
// transcript the row expects: the question gets the row's answer, the file
// dialogs the row's names in turn ("cancel": cancelled), every other box OK.
// {dir} holds "other.tw" and a malformed "short.tw".
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
    QTest::addColumn<int>("answer");          // to "Save changes to ..."
    QTest::addColumn<QStringList>("names");   // for the file dialogs, in turn
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("status");      // the last status text; empty: none set
    QTest::addColumn<bool>("done");           // the command did its work (or the close may go on)

    const int yes = int(Dialogs::Answer::Yes), no = int(Dialogs::Answer::No), cancel = int(Dialogs::Answer::Cancel);
    const QString askNoName = "Automata: Save changes to NoName", askOld = "Automata: Save changes to {dir}/old.tw",
                  saved = "OK: File is saved.", notSaved = "FILE NOT SAVED: Saving operation is cancled by user",
                  notOpened = "FILE NOT OPEN: Opening operation is cancled by user";
    // A failure that is not a cancel names the file and the reason under the message.
    const QString noSuchFile = "No such file or directory";
    const auto failed = [](const QString &name, const QString &reason) { return "\n\n{dir}/" + name + "\n" + reason; };
    const QStringList unwritable{"Automata: Save changes to {dir}/missing/old.tw",
                                 "FILE NOT SAVED: The automaton was not saved to\n{dir}/missing/old.tw\n\nNo such file or directory"};
    for (const QString command : {"new", "open", "close"}) {
        // Once it may go on, Open shows its dialog and reads other.tw.
        const bool open = command == "open";
        const QStringList then = open ? QStringList{"Open: "} : QStringList{};
        const QStringList read = open ? QStringList{"other.tw"} : QStringList{};
        const QString status = open ? "File Opened : other.tw" : command == "new" ? "New File" : "";
        const auto row = [&](const char *name) -> QTestData & { return QTest::addRow("%s: %s", qPrintable(command), name); };
        row("nothing to save") << command << "untitled" << 0 << read << then << status << true;
        row("cancel") << command << "untitled+" << cancel << QStringList{} << QStringList{askNoName} << "" << false;
        row("no") << command << "titled+" << no << read << QStringList{askOld} + then << status << true;
        row("yes, untitled, saved") << command << "untitled+" << yes << QStringList{"new.tw"} + read
                                    << QStringList{askNoName, "Save As: ", saved} + then
                                    << (status.isEmpty() ? "File Saved : new.tw" : status) << true;
        row("yes, dialog cancelled") << command << "untitled+" << yes << QStringList{"cancel"}
                                     << QStringList{askNoName, "Save As: ", notSaved} << "" << false;
        row("yes, write failed") << command << "untitled+" << yes << QStringList{"missing/new.tw"}
                                 << QStringList{askNoName, "Save As: ", notSaved + failed("missing/new.tw", noSuchFile)}
                                 << "" << false;
        if (command == "close") {
            row("yes, titled: still asks for a name") << command << "titled+" << yes << QStringList{"new.tw"}
                << QStringList{askOld, "Save As: ", saved} << "File Saved : new.tw" << true;
            continue;
        }
        row("yes, titled: written in place") << command << "titled+" << yes << read << QStringList{askOld} + then
                                             << status << true;
        row("yes, titled: write failed") << command << "unwritable+" << yes << QStringList{} << unwritable << "" << false;
    }
    QTest::newRow("open: dialog cancelled") << "open" << "titled" << 0 << QStringList{"cancel"}
                                            << QStringList{"Open: ", notOpened} << "" << false;
    QTest::newRow("open: malformed file") << "open" << "titled" << 0 << QStringList{"short.tw"}
                                          << QStringList{"Open: ", notOpened + failed("short.tw", "Line 4: the file ends before the final flag of state 1")}
        << "" << false;
    QTest::newRow("open: file gone") << "open" << "untitled+" << no << QStringList{"gone.tw"}
                                     << QStringList{askNoName, "Open: ", notOpened + failed("gone.tw", noSuchFile)} << "" << false;
    QTest::newRow("save, titled: in place, no box") << "save" << "titled+" << 0 << QStringList{} << QStringList{}
                                                    << "File Saved : old.tw" << true;
    QTest::newRow("save, untitled: Save As") << "save" << "untitled+" << 0 << QStringList{"new.tw"}
                                             << QStringList{"Save As: ", saved} << "File Saved : new.tw" << true;
    QTest::newRow("save, write failed") << "save" << "unwritable+" << 0 << QStringList{} << unwritable.mid(1) << ""
                                        << false;
    QTest::newRow("save as, titled") << "save as" << "titled" << 0 << QStringList{"b.tw"}
                                     << QStringList{"Save As: ", saved} << "File Saved : b.tw" << true;
    QTest::newRow("save as, cancelled") << "save as" << "untitled+" << 0 << QStringList{"cancel"}
                                        << QStringList{"Save As: ", notSaved} << "" << false;
    QTest::newRow("save as, write failed") << "save as" << "titled+" << 0 << QStringList{"missing/x.tw"}
                                           << QStringList{"Save As: ", notSaved + failed("missing/x.tw", noSuchFile)} << "" << false;
}

void TestFileCommands::commands()
{
    QFETCH(QString, command);
    QFETCH(QString, start);
    QFETCH(int, answer);
    QFETCH(QStringList, names);
    QFETCH(QStringList, boxes);
    QFETCH(QString, status);
    QFETCH(bool, done);

    QTemporaryDir dir;
    const auto path = [&](const QString &name) { return dir.filePath(name); };
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    };
    write("old.tw", "old bytes");
    write("other.tw", automatonBytes(other));
    write("short.tw", "Q\r\n 2 \r\nq0\r\n");

    modAll model = workedExample();
    model.is_untitled = start.startsWith("untitled");
    model.is_saved = !start.endsWith('+');
    model.file_name = model.is_untitled ? QString("NoName") : path(start.startsWith("titled") ? "old.tw" : "missing/old.tw");
    const modAll before = model;
    const QString failedSaveAs = names.value(0).startsWith("missing/") ? path(names[0]) : QString();

    ScriptedDialogs dialogs;
    for (const QString &box : boxes) {
        if (box.startsWith("Automata: "))
            dialogs.answerMessage(Dialogs::Answer(answer));
        else if (box == "Save As: " || box == "Open: ") {
            const QString name = names.isEmpty() ? "cancel" : names.takeFirst();
            const std::optional<QString> chosen = name == "cancel" ? std::nullopt : std::optional(path(name));
            box == "Open: " ? dialogs.answerOpenFile(chosen) : dialogs.answerSaveFile(chosen);
        } else
            dialogs.answerMessage();
    }
    FakeWindow window(model);
    FileCommands commands(model, dialogs, window);
    bool mayClose = false;
    if (command == "new")
        commands.fileNew();
    else if (command == "open")
        commands.fileOpen();
    else if (command == "save")
        commands.fileSave();
    else if (command == "save as")
        commands.fileSaveAs();
    else
        mayClose = commands.mayClose();

    QCOMPARE(dialogs.transcript(), boxes.replaceInStrings("{dir}", dir.path()));
    QVERIFY(dialogs.allAnswered());
    for (const ScriptedDialogs::Call &call : dialogs.calls()) {
        const bool save = call.kind == ScriptedDialogs::Kind::SaveFile;
        const Dialogs::FileSettings &f = call.file;
        if (!save && call.kind != ScriptedDialogs::Kind::OpenFile)
            continue;
        QCOMPARE(f.initialName, save ? before.file_name : QString());   // Open: the name of the previous use
        QCOMPARE(f.confirmOverwrite, save);
        QCOMPARE(f.fileMustExist, !save);
        QVERIFY(f.filters == QStringList({"All files (*.*)", "Automata (*.tw)"}) && f.selectedFilter == 1
                && f.defaultSuffix == "tw");
    }
    QCOMPARE(window.statuses.value(window.statuses.size() - 1), status);
    // Every write that was reported wrote the automaton.
    for (const QString &s : window.statuses.filter("File Saved : "))
        QCOMPARE(fileBytes(path(s.mid(13))), automatonBytes(before));

    if (command == "new") {
        QCOMPARE(window.resets, int(done));
        QCOMPARE(window.clears, int(done));
    } else if (command == "close") {
        QCOMPARE(mayClose, done);
    } else if (done) {
        QCOMPARE(describe(model), describe(command == "open" ? other : before));
        QVERIFY(!model.is_untitled && model.is_saved);
    }
    if (!done) {   // the changes are all still there, still unsaved; a failed Save As keeps the chosen name
        QCOMPARE(describe(model), describe(before));
        QCOMPARE(model.is_untitled, before.is_untitled);
        QCOMPARE(model.is_saved, before.is_saved);
        QCOMPARE(model.file_name, failedSaveAs.isEmpty() ? before.file_name : failedSaveAs);
    }
}

QTEST_GUILESS_MAIN(TestFileCommands)
#include "test_file_commands.moc"
