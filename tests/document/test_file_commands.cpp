#include "document/file_commands.h"
#include "document/jff_writer.h"
#include "document/tw_file.h"
#include "document/tw_file_save.h"
#include "document/tw_writer.h"
#include "model/model_edits.h"
#include "scripted_dialogs.h"
#include "test_automata.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The main window as the file commands see it: it notes the status texts.
struct FakeWindow final : FileCommandsWindow
{
    void clearRunDisplays() override {}
    void setStatusText(const QString &text) override { status = text; }
    QString status;
};

// Runs in `folder` as the current folder, and goes back to the one before.
struct InFolder
{
    explicit InFolder(const QString &folder) { QDir::setCurrent(folder); }
    ~InFolder() { QDir::setCurrent(previous); }
    const QString previous = QDir::currentPath();
};

// The file commands over their own model, dialogs and window.
struct Commands
{
    modAll model;
    ScriptedDialogs dialogs;
    FakeWindow window;
    ModelEdits edits{model};
    FileCommands commands{model, edits, dialogs, window};
};

const QByteArray nondeterministic = "<structure><type>fa</type><automaton><state id=\"0\" name=\"a\"><initial/></state>"
                                    "<state id=\"1\" name=\"b\"><final/></state>"
                                    "<transition><from>0</from><to>1</to><read/></transition></automaton></structure>";

} // namespace

class TestFileCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A file handed to the program by a path relative to the current folder is
    // known by its whole path from then on: the question names it, and a Save
    // after the current folder changed writes that same file.
    void aRelativePathBecomesWhole_data()
    {
        QTest::addColumn<QString>("given");
        QTest::newRow("a bare name") << "rel.tw";
        QTest::newRow("from this folder") << "./rel.tw";
        QTest::newRow("through a subfolder and back") << "sub/../rel.tw";
    }

    void aRelativePathBecomesWhole()
    {
        QFETCH(QString, given);
        QTemporaryDir dir, elsewhere;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        const QString whole = dir.filePath(QStringLiteral("rel.tw"));
        QCOMPARE(TwFile::save(endsInA(), whole).failure().message(), QString());

        modAll model;
        ScriptedDialogs dialogs;
        FakeWindow window;
        ModelEdits edits(model);
        FileCommands commands(model, edits, dialogs, window);
        {
            InFolder inDir(dir.path());
            commands.openPath(given);
        }
        QCOMPARE(model.file_name + u'|' + window.status, whole + QStringLiteral("|File Opened : rel.tw"));

        InFolder inElsewhere(elsewhere.path());
        model.comment = QStringLiteral("edited");
        model.is_saved = false;
        dialogs.answerMessage(Dialogs::Answer::Cancel);
        QVERIFY(!commands.mayClose());
        QCOMPARE(dialogs.transcript(), QStringList{"Automata: Save changes to " + whole});
        commands.fileSave();
        QCOMPARE(TwFile::load(whole).value().comment, QStringLiteral("edited"));
        QVERIFY(!QFile::exists(elsewhere.filePath(QStringLiteral("rel.tw"))));
    }

    // A name the program will not open is refused with its reason, the way a
    // file that cannot be read is, and the automaton stays untitled.
    void aRefusedNameSaysWhy()
    {
        modAll model;
        model.file_name = QStringLiteral("NoName");
        model.is_untitled = true;
        ScriptedDialogs dialogs;
        FakeWindow window;
        ModelEdits edits(model);
        FileCommands commands(model, edits, dialogs, window);
        dialogs.answerMessage();
        QTemporaryDir dir;
        {
            InFolder inDir(dir.path());
            commands.refuseToOpen(QStringLiteral("bad\uFFFDname.tw"), QStringLiteral("The reason."));
        }
        QCOMPARE(dialogs.transcript(), QStringList{"FILE NOT OPEN: Opening operation is cancled by user\n\n"
                                                   + dir.filePath(QStringLiteral("bad\uFFFDname.tw")) + "\nThe reason."});
        QCOMPARE(model.file_name + u' ' + window.status, QStringLiteral("NoName "));
        QVERIFY(model.is_untitled);
    }

    // Save As asks the dialog to refuse a folder that does not exist; Open asks
    // for a file that exists.
    void dialogsRefuseWhatCannotBeUsed()
    {
        modAll model;
        ScriptedDialogs dialogs;
        FakeWindow window;
        ModelEdits edits(model);
        FileCommands commands(model, edits, dialogs, window);
        dialogs.answerSaveFile(std::nullopt);
        dialogs.answerMessage();
        dialogs.answerOpenFile(std::nullopt);
        dialogs.answerMessage();
        commands.fileSaveAs();
        commands.fileOpen();
        const Dialogs::FileSettings &saveAs = dialogs.calls().at(0).file, &open = dialogs.calls().at(2).file;
        QCOMPARE(QList<bool>({saveAs.pathMustExist, saveAs.fileMustExist, open.fileMustExist}),
                 QList<bool>({true, false, true}));
    }

    // A JFLAP file opens as a new automaton without a file, with changes to
    // save: Save asks for a .tw name. The status bar says what was done to keep
    // its meaning. A file that cannot be read leaves everything as it was.
    void openJflap_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("opened");

        QTest::newRow("deterministic and complete") << jffBytes(endsInA()).value()
            << "NoName untitled unsaved | JFLAP File Opened : s.jff";
        QTest::newRow("nondeterministic") << nondeterministic
            << "NoName untitled unsaved | JFLAP File Opened : s.jff (made deterministic, 1 state)";
        QTest::newRow("not a finite automaton") << QByteArray("<structure><type>turing</type></structure>")
            << "/old.tw titled saved | before | FILE NOT OPEN: Opening operation is cancled by user\n\n%1\n"
               "Line 1: it holds a Turing machine, not a finite automaton (JFLAP type \"fa\")";
    }

    void openJflap()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, opened);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.jff"));
        QCOMPARE(TwFile::saveBytes(path, bytes).failure().message(), QString());
        Commands c;
        c.model.file_name = QStringLiteral("/old.tw");
        c.model.is_untitled = false;
        c.window.status = QStringLiteral("before");
        c.dialogs.answerOpenFile(path);
        if (opened.contains(QStringLiteral("FILE NOT OPEN")))
            c.dialogs.answerMessage();
        c.commands.fileOpen();
        QCOMPARE(c.dialogs.calls().first().file.filters.last(), QStringLiteral("JFLAP automata (*.jff)"));
        QStringList seen{c.model.file_name + (c.model.is_untitled ? " untitled" : " titled")
                             + (c.model.is_saved ? " saved" : " unsaved"),
                         c.window.status};
        seen.append(c.dialogs.transcript().mid(1));
        QCOMPARE(seen.join(QStringLiteral(" | ")), opened.arg(QDir::toNativeSeparators(path)));
    }

    // Export as JFLAP writes the automaton as the run reads it, beside its own
    // file by default, through a dialog of its own; the document stays as it is.
    void exportJflap()
    {
        QTemporaryDir dir;
        Commands c;
        c.model.takeAutomaton(mergeable());
        c.model.file_name = dir.filePath(QStringLiteral("merge.tw"));
        c.model.is_untitled = false;
        c.model.is_saved = false;
        const QString path = dir.filePath(QStringLiteral("out.jff"));
        c.dialogs.answerSaveFile(path);
        c.commands.exportJflap();
        const Dialogs::FileSettings &asked = c.dialogs.lastCall().file;
        QCOMPARE(QStringList({asked.title, asked.filters.join(u','), asked.defaultSuffix, asked.ownDialog, asked.initialName,
                              QString::number(asked.confirmOverwrite)}),
                 QStringList({"Export as JFLAP", "JFLAP automata (*.jff),All files (*.*)", "jff", "jflap",
                              dir.filePath(QStringLiteral("merge.jff")), "1"}));
        QCOMPARE(c.window.status, QStringLiteral("Exported as JFLAP : out.jff"));
        QCOMPARE(TwFile::loadDocument(path).value().automaton.state_count, qint16(4));
        QVERIFY(!c.model.is_saved && !c.model.is_untitled);
        QCOMPARE(c.model.file_name, dir.filePath(QStringLiteral("merge.tw")));

        // Untitled: the name alone. Cancelled: nothing.
        Commands untitled;
        untitled.dialogs.answerSaveFile(std::nullopt);
        untitled.commands.exportJflap();
        QCOMPARE(untitled.dialogs.lastCall().file.initialName, QStringLiteral("NoName.jff"));
        QCOMPARE(untitled.dialogs.calls().size(), 1);
        QCOMPARE(untitled.window.status, QString());
    }

    void exportJflapFails_data()
    {
        QTest::addColumn<modAll>("automaton");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no such folder") << endsInA() << "none/out.jff" << "No such file or directory";
        QTest::newRow("a character XML cannot hold") << makeAutomaton({"s\x02"}, {}, {"a"}, {{1}}) << "out.jff"
            << "the name of state 1 holds the character U+0002, which a JFLAP file cannot hold";
    }

    void exportJflapFails()
    {
        QFETCH(modAll, automaton);
        QFETCH(QString, file);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        Commands c;
        c.model.takeAutomaton(automaton);
        c.dialogs.answerSaveFile(dir.filePath(file));
        c.dialogs.answerMessage();
        c.commands.exportJflap();
        QCOMPARE(c.dialogs.transcript().last(), QStringLiteral("NOT EXPORTED: The automaton was not exported to\n")
                                                    + QDir::toNativeSeparators(dir.filePath(file)) + "\n\n" + reason);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out.jff"))));
        QCOMPARE(c.window.status, QString());
    }
};

QTEST_GUILESS_MAIN(TestFileCommands)
#include "test_file_commands.moc"
