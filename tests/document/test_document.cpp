#include "document/file_commands.h"
#include "document/tw_file.h"
#include "document/tw_reader.h"
#include "document/tw_writer.h"
#include "model/model_edits.h"
#include "scripted_dialogs.h"
#include "test_automata.h"

#include <QDebug>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Lines ended as the writer ends them, the last one included.
QByteArray crlf(const QList<QByteArray> &lines) { return QByteArrayList(lines).join("\r\n") + "\r\n"; }

modAll withComment(modAll m, const QString &comment) { m.comment = comment; return m; }

// The worked example, with its two-line comment.
modAll workedExample() { return withComment(endsInA(), "Accepts words ending in a\r\nExample"); }

// The main window as the file commands see it: it notes what it is told.
struct FakeWindow final : FileCommandsWindow
{
    void clearRunDisplays() override { log << "clear"; }
    void setStatusText(const QString &text) override { log << text; }
    QStringList log;
};

} // namespace

class TestDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writes_data()
    {
        QTest::addColumn<modAll>("automaton");
        QTest::addColumn<QByteArray>("expected");
        QFile shipped(TARNWELL_EXAMPLES_DIR "/ends-in-a.tw");
        QVERIFY(shipped.open(QIODevice::ReadOnly));

        QTest::newRow("worked example as shipped") << workedExample() << shipped.readAll();
        QTest::newRow("empty automaton") << modAll() << crlf({"Q", " 0 ", "Start", " 0 ", "E", " 0 ", "Q/E"});
        // A state added after the table was last sized has no row yet, and a row
        // may be short: what is missing is written as 0. Spares are never written.
        QTest::newRow("quoted only where needed; comment cut only at CR LF; what the table lacks is 0")
            << withComment(makeAutomaton({"q0 ", "a,b", "\tq", "", "é\""}, {"q0 "}, {" ", "é"}, {{-32768}}, -1),
                           "a, \"b\"\r\nx\ry\nz\r\n")
            << crlf({"Q", " 5 ", "\"q0 \"", "True", "\"a,b\"", "False", "\"\tq\"", "False", "", "False", "\"\xC3\xA9\"\"\"",
                     "False", "Start", "-1 ", "E", " 2 ", "\" \"", "\xC3\xA9", "Q/E", "-32768 ", " 0 ", " 0 ", " 0 ", " 0 ",
                     " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", "\"a, \"\"b\"\"\"", "\"x\ry\nz\"", "\"\""});
    }

    // The bytes are as expected, and what reads back from them writes the same bytes again.
    void writes()
    {
        QFETCH(modAll, automaton);
        QFETCH(QByteArray, expected);
        QCOMPARE(automatonBytes(automaton), expected);
        QCOMPARE(automatonBytes(readAutomaton(expected).value()), expected);
    }

    // Each row gives what the bytes read as, or the message that refuses them.
    void reads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");

        QTest::newRow("not UTF-8: Windows-1252")
            << crlf({"Q", "1", "caf\xE9", "False", "Start", "0", "E", "3", "\x80", "\x9F", "\x81", "Q/E", "1", "2", "3"})
            << describe(makeAutomaton({"café"}, {}, {"€", "Ÿ", QString(QChar(0x81))}, {{1, 2, 3}}));

        QTest::newRow("start: no final line end") << QByteArray("Q\n0\nStart") << "Line 4: the file ends before the start state";
        QTest::newRow("alphabet: negative count") << crlf({"Q", "0", "Start", "0", "E", " -3 "})
            << "Line 6: the number of symbols is negative";
        QTest::newRow("table: 32767") << crlf({"Q", "1", "q", "False", "Start", "0", "E", "2", "a", "b", "Q/E", "0", "32767"})
            << describe(makeAutomaton({"q"}, {}, {"a", "b"}, {{0, 32767}}));
        QTest::newRow("table: 32768") << crlf({"Q", "1", "q", "False", "Start", "0", "E", "2", "a", "b", "Q/E", "0", "32768"})
            << "Line 13: the transition of state 1 on symbol 2 is outside -32768 to 32767";
    }

    void reads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        const TwResult<modAll> result = readAutomaton(bytes);
        QCOMPARE(result.ok() ? describe(result.value()) : result.failure().message(), expected);
    }

    // Each row starts from the automaton of the worked example, untitled
    // ("NoName"), titled ("{dir}/old.tw") or titled in a folder that does not
    // exist, with or without unsaved changes. The boxes the row expects, as
    // "title: text" lines, carry the user's answer after " > ": the answer to the
    // question, or the file chosen in a dialog ("cancel": cancelled); any other box
    // is answered OK. {dir} holds "other.tw" (the worked example without its
    // comment) and a malformed "short.tw". Afterwards the model holds the
    // example, "other" or an empty automaton, under the file name given.
    void commands_data()
    {
        QTest::addColumn<QString>("command");     // new, open, save, save as, close
        QTest::addColumn<QString>("start");       // untitled, titled, unwritable; "+" when edited
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("window");      // what the window was told, in turn, ", " apart
        QTest::addColumn<bool>("mayClose");
        QTest::addColumn<QString>("automaton");   // example, other or empty
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("untitled");
        QTest::addColumn<bool>("saved");

        const auto ask = [](const QString &file) { return "Automata: Save changes to " + file + " > "; };
        const QString notSaved = "FILE NOT SAVED: Saving operation is cancled by user";
        const QStringList saveAs{"Save As:  > new.tw", "OK: File is saved."};
        const QString old = "{dir}/old.tw", fresh = "{dir}/new.tw";
        for (const QString command : {"new", "open", "close"}) {
            // Once it may go on, Open shows its dialog and reads other.tw, New empties the model.
            const QStringList then = command == "open" ? QStringList{"Open:  > other.tw"} : QStringList{};
            const QString told = command == "open" ? "File Opened : other.tw" : command == "new" ? "clear, New File" : "";
            const bool closes = command == "close";
            const auto row = [&](const char *name) -> QTestData & {
                return QTest::addRow("%s: %s", qPrintable(command), name) << command;
            };
            row("nothing to save") << "untitled" << then << told << closes
                << (command == "new" ? "empty" : command == "open" ? "other" : "example")
                << (command == "open" ? "{dir}/other.tw" : "NoName") << (command != "open") << true;
            row("cancel") << "untitled+" << QStringList{ask("NoName") + "cancel"} << "" << false
                          << "example" << "NoName" << true << false;
            row("no") << "titled+" << QStringList{ask(old) + "no"} + then << told << closes
                      << (command == "new" ? "empty" : command == "open" ? "other" : "example")
                      << (command == "new" ? "NoName" : command == "open" ? "{dir}/other.tw" : old)
                      << (command == "new") << (command != "close");
            row("yes, untitled, saved") << "untitled+" << QStringList{ask("NoName") + "yes"} + saveAs + then
                                        << "File Saved : new.tw" + (told.isEmpty() ? "" : ", " + told) << closes
                                        << (command == "new" ? "empty" : command == "open" ? "other" : "example")
                                        << (command == "new" ? "NoName" : command == "open" ? "{dir}/other.tw" : fresh)
                                        << (command == "new") << true;
            row("yes, dialog cancelled") << "untitled+" << QStringList{ask("NoName") + "yes", "Save As:  > cancel", notSaved}
                                         << "" << false << "example" << "NoName" << true << false;
            // A failure that is not a cancel names the file and the reason under the message.
            row("yes, write failed") << "untitled+" << QStringList{ask("NoName") + "yes", "Save As:  > missing/new.tw",
                notSaved + "\n\n{dir}/missing/new.tw\nNo such file or directory"} << "" << false
                << "example" << "NoName" << true << false;
            if (closes) {
                row("yes, titled: still asks for a name") << "titled+" << QStringList{ask(old) + "yes"} + saveAs
                    << "File Saved : new.tw" << true << "example" << fresh << false << true;
            } else {
                row("yes, titled: written in place") << "titled+" << QStringList{ask(old) + "yes"} + then
                    << "File Saved : old.tw, " + told << false
                    << (command == "new" ? "empty" : "other") << (command == "new" ? "NoName" : "{dir}/other.tw")
                    << (command == "new") << true;
                row("yes, titled: write failed") << "unwritable+" << QStringList{ask("{dir}/missing/old.tw") + "yes",
                    "FILE NOT SAVED: The automaton was not saved to\n{dir}/missing/old.tw\n\nNo such file or directory"}
                    << "" << false << "example" << "{dir}/missing/old.tw" << false << false;
            }
        }
        QTest::newRow("open: malformed file") << "open" << "titled" << QStringList{"Open:  > short.tw",
            "FILE NOT OPEN: Opening operation is cancled by user\n\n{dir}/short.tw\n"
            "Line 4: the file ends before the final flag of state 1"} << "" << false << "example" << old << false << true;
        QTest::newRow("save, titled: in place, no box") << "save" << "titled+" << QStringList{} << "File Saved : old.tw"
            << false << "example" << old << false << true;
        QTest::newRow("save, untitled: Save As") << "save" << "untitled+" << saveAs << "File Saved : new.tw"
            << false << "example" << fresh << false << true;
        QTest::newRow("save as, titled") << "save as" << "titled" << saveAs << "File Saved : new.tw"
            << false << "example" << fresh << false << true;
        QTest::newRow("save as, titled: write failed") << "save as" << "titled" << QStringList{"Save As:  > missing/new.tw",
            notSaved + "\n\n{dir}/missing/new.tw\nNo such file or directory"} << "" << false << "example" << old << false << true;
    }

    void commands()
    {
        QFETCH(QString, command);
        QFETCH(QString, start);
        QFETCH(QStringList, boxes);
        QFETCH(QString, window);
        QFETCH(bool, mayClose);
        QFETCH(QString, automaton);
        QFETCH(QString, file);
        QFETCH(bool, untitled);
        QFETCH(bool, saved);

        QTemporaryDir dir;
        const auto path = [&](const QString &name) { return dir.filePath(name); };
        QCOMPARE(TwFile::save(endsInA(), path("other.tw")).failure().message(), QString());
        QFile malformed(path("short.tw"));
        QVERIFY(malformed.open(QIODevice::WriteOnly) && malformed.write("Q\r\n 2 \r\nq0\r\n") == 12 && malformed.flush());
        modAll model = workedExample();
        model.is_saved = !start.endsWith('+');
        model.is_untitled = start.startsWith("untitled");
        model.file_name = model.is_untitled ? QString("NoName") : path(start.startsWith("titled") ? "old.tw" : "missing/old.tw");
        const QByteArray before = automatonBytes(model);

        ScriptedDialogs dialogs;
        const QHash<QString, Dialogs::Answer> answers{
            {"yes", Dialogs::Answer::Yes}, {"no", Dialogs::Answer::No}, {"cancel", Dialogs::Answer::Cancel}};
        for (QString &box : boxes) {
            const QString answer = box.section(" > ", 1);
            box = box.section(" > ", 0, 0).replace("{dir}", dir.path());
            const std::optional<QString> chosen = answer == "cancel" ? std::nullopt : std::optional(path(answer));
            if (box == "Open: ")
                dialogs.answerOpenFile(chosen);
            else if (box == "Save As: ")
                dialogs.answerSaveFile(chosen);
            else
                dialogs.answerMessage(answers.value(answer, Dialogs::Answer::Ok));
        }
        FakeWindow fake;
        ModelEdits edits(model);
        FileCommands commands(model, edits, dialogs, fake);
        const QHash<QString, void (FileCommands::*)()> menu{{"new", &FileCommands::fileNew}, {"open", &FileCommands::fileOpen},
            {"save", &FileCommands::fileSave}, {"save as", &FileCommands::fileSaveAs}};
        const bool closing = command == "close" ? commands.mayClose() : ((commands.*menu[command])(), false);

        QCOMPARE(dialogs.transcript(), boxes);   // one box for each answer: every answer was taken
        QCOMPARE(fake.log, window.split(", ", Qt::SkipEmptyParts));
        for (const QString &s : fake.log.filter("File Saved : "))   // every write reported wrote the automaton
            QCOMPARE(automatonBytes(TwFile::load(path(s.mid(13))).value()), before);
        QCOMPARE(closing, mayClose);
        const QHash<QString, QByteArray> automata{{"example", before}, {"other", automatonBytes(endsInA())},
                                                   {"empty", automatonBytes(modAll())}};
        QCOMPARE(automatonBytes(model), automata.value(automaton));
        QCOMPARE(model.file_name, QString(file).replace("{dir}", dir.path()));
        QCOMPARE(model.is_untitled, untitled);
        QCOMPARE(model.is_saved, saved);
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "test_document.moc"
