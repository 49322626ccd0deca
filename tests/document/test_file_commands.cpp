#include "document/file_commands.h"
#include "document/tw_file.h"
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
};

QTEST_GUILESS_MAIN(TestFileCommands)
#include "test_file_commands.moc"
