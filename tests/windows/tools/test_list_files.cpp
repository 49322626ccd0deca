// The files Test Strings reads and writes, tried as a broken system and a
// careless user would: Open List takes regular files and pipes, refuses
// devices, folders and files past its limit at once, and reads a named pipe
// nobody writes to as an empty list; Save List on a full disk or past a file
// size limit says why and leaves the old list as it was.

#include "document/tw_file.h"
#include "scripted_dialogs.h"
#include "small_disk.h"
#include "test_files.h"
#include "test_automata.h"
#include "windows/tools/string_table.h"
#include "windows/tools/test_strings_window.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Fixture
{
    modAll model = endsInA();
    ScriptedDialogs dialogs;
    TestStringsWindow window{model, &dialogs, nullptr};
};

const QByteArray list = "a\tACCEPTED\nb\tREJECTED\nab\nba\tACCEPTED\n\tREJECTED\n";

} // namespace

class TestListFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TwFile::ignoreFileSizeLimitSignal(); }

    void opens_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");   // "" for none; %1 is the path
        QTest::addColumn<int>("rows");
        QTest::newRow("a file") << "file" << "" << 5;
        QTest::newRow("a pipe") << "pipe" << "" << 5;
        QTest::newRow("a named pipe nobody writes to: an empty list") << "fifo" << "" << 0;
        QTest::newRow("/dev/zero") << "/dev/zero" << "%1 could not be read: it is a device, not a file" << 0;
        QTest::newRow("a folder") << "folder" << "%1 could not be read: it is a folder, not a file" << 0;
        QTest::newRow("a file over 16 MiB")
            << "huge" << "%1 could not be read: the file is larger than 16 MiB, the most Tarnwell reads" << 0;
        QTest::newRow("a line that is no string") << "bad line"
            << "%1 is not a list of strings. Line 2: \"MAYBE\" is not ACCEPTED, REJECTED or ERROR" << 0;
    }

    void opens()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QFETCH(int, rows);
        QTemporaryDir dir;
        QString path = kind.startsWith('/') ? kind : dir.filePath(kind);
        const QByteArray name = QFile::encodeName(path);
        int ends[2] = {-1, -1};
        if (kind == "file" || kind == "bad line") {
            QVERIFY(TestFiles::write(path, kind == "file" ? list : "a\nb\tMAYBE\n"));
        } else if (kind == "pipe") {
            QCOMPARE(::pipe(ends), 0);
            QCOMPARE(::write(ends[1], list.constData(), size_t(list.size())), ssize_t(list.size()));
            ::close(ends[1]);
            path = QStringLiteral("/dev/fd/%1").arg(ends[0]);
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        } else if (kind == "folder") {
            QCOMPARE(::mkdir(name.constData(), 0700), 0);
        } else if (kind == "huge") {
            QFile huge(path);
            QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize((qint64(16) << 20) + 1));   // sparse: no disk used
        }

        Fixture f;
        f.dialogs.answerOpenFile(path);
        if (!message.isEmpty())
            f.dialogs.answerMessage();
        f.window.openList();
        if (ends[0] >= 0)
            ::close(ends[0]);
        QVERIFY(f.dialogs.allAnswered());
        if (message.isEmpty()) {
            QCOMPARE(f.window.statusText(), "List opened: " + QDir::toNativeSeparators(path));
        } else {
            QCOMPARE(f.dialogs.lastCall().title, QStringLiteral("ERROR"));
            QCOMPARE(f.dialogs.lastCall().text, message.arg(QDir::toNativeSeparators(path)));
        }
        QCOMPARE(f.window.table().rowCount(), rows);
    }

    // Save List where the system refuses part-way: the reason, the old list.
    void saveFailures_data()
    {
        QTest::addColumn<FailingWrites::Cause>("cause");
        QTest::addColumn<int>("lines");   // of 1,000 bytes each
        QTest::newRow("a full disk, five lines") << FailingWrites::Cause::FullDisk << 5;
        QTest::newRow("a full disk, past 16 kB") << FailingWrites::Cause::FullDisk << 20;
        QTest::newRow("a file size limit of 2 kB, cut mid-line") << FailingWrites::Cause::SizeLimit << 5;
    }

    void saveFailures()
    {
        QFETCH(FailingWrites::Cause, cause);
        QFETCH(int, lines);
        SmallDisk disk;
        if (!disk.isReady())
            QSKIP(qPrintable(disk.why()));
        const QString path = disk.filePath("list.txt");
        QVERIFY(TestFiles::write(path, "old\n"));
        Fixture f;
        f.window.paste(QString(999, 'a').append('\n').repeated(lines));
        f.dialogs.answerSaveFile(path);
        f.dialogs.answerMessage();
        int error = 0;
        {
            const FailingWrites failing(disk, cause);
            QVERIFY(failing.isReady());
            error = failing.error();
            f.window.saveList();
        }
        QCOMPARE(f.dialogs.lastCall().title, QStringLiteral("ERROR"));
        QCOMPARE(f.dialogs.lastCall().text, QDir::toNativeSeparators(path) + " could not be saved: " + qt_error_string(error));
        QVERIFY(f.window.statusText().endsWith("list not saved"));
        QCOMPARE(TestFiles::contents(path), QByteArray("old\n"));
        QCOMPARE(disk.entries(), QStringList{"list.txt"});
    }
};

QTEST_MAIN(TestListFiles)
#include "test_list_files.moc"
