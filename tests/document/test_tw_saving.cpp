// Saving a .tw file: over names as long as a folder allows, and when the
// system refuses part-way (a file size limit, a full device, a flush to the disk
// that fails). A save either puts the whole new file in place or fails with the
// system's own reason and leaves the old file, and nothing else, behind.

#include "document/tw_file.h"
#include "document/tw_writer.h"
#include "test_automata.h"
#include "test_files.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// While not 0, every fsync in this program fails with this error, as it does
// when the disk cannot take the data written (EIO) or has no room left for it
// (ENOSPC, on a file system that allots space when it writes back).
int fsyncError = 0;

// Makes fsync fail with `error` for as long as it lives.
struct FailingFsync
{
    explicit FailingFsync(int error) { fsyncError = error; }
    ~FailingFsync() { fsyncError = 0; }
    FailingFsync(const FailingFsync &) = delete;
    FailingFsync &operator=(const FailingFsync &) = delete;
};

} // namespace

// Defined in the program, this fsync is the one the statically linked document
// library calls instead of the C library's.
extern "C" int fsync(int fd)
{
    if (fsyncError != 0) {
        errno = fsyncError;
        return -1;
    }
    return int(::syscall(SYS_fsync, fd));
}

namespace {

modAll withComment(modAll m, const QString &comment)
{
    m.comment = comment;
    return m;
}

// Some 150 kB.
modAll largeAutomaton() { return makeAutomaton({}, {}, QStringList(30000, "xyz"), {}); }

// Why the save failed; empty when it succeeded.
QString saveFailure(const modAll &m, const QString &path) { return TwFile::save(m, path).failure().message(); }

QString loaded(const QString &path)
{
    const TwResult<modAll> read = TwFile::load(path);
    return read.ok() ? describe(read.value()) : read.failure().message();
}

// Takes `room` bytes, then refuses every write with a reason of its own, as a
// lost drive does part-way through a file.
class FailDevice final : public QIODevice
{
public:
    explicit FailDevice(qint64 room) : m_room(room) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    QByteArray written;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 taken = qMin(size, m_room - written.size());
        if (taken <= 0) {
            setErrorString("the device went away");
            return -1;
        }
        written.append(data, taken);
        return taken;
    }

private:
    qint64 m_room;
};

QStringList folderEntries(const QTemporaryDir &dir)
{
    return TestFiles::entries(dir.path());
}

} // namespace

class TestTwSaving : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // As both programs do first thing.
    void initTestCase() { TwFile::ignoreFileSizeLimitSignal(); }

    void savesOverLongNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("248 bytes") << QString(245, 'a') + ".tw";
        QTest::newRow("255 bytes, the longest a name can be") << QString(252, 'a') + ".tw";
        QTest::newRow("255 bytes of two-byte characters") << QString(126, QChar(0xE9)) + ".tw";
    }

    void savesOverLongNames()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const modAll changed = withComment(endsInA(), "changed");
        QCOMPARE(saveFailure(endsInA(), path), QString());
        QCOMPARE(saveFailure(changed, path), QString());
        QCOMPARE(loaded(path), describe(changed));
        QCOMPARE(folderEntries(dir), QStringList{name});
    }

    // A size limit cuts a write short, as a full disk does: the reason is the
    // system's, and the old file is all that is left.
    void failedSaveGivesTheSystemsReason()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.tw");
        QCOMPARE(saveFailure(endsInA(), path), QString());
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const rlimit small{100000, saved.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const QString failure = saveFailure(largeAutomaton(), path);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &saved), 0);
        QCOMPARE(failure, qt_error_string(EFBIG));
        QCOMPARE(loaded(path), describe(endsInA()));
        QCOMPARE(folderEntries(dir), QStringList{"kept.tw"});
    }

    // Written but not flushed to the disk: the save fails with the system's
    // reason and leaves what was there, the old file or nothing.
    void unflushedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<int>("error");
        QTest::newRow("over a file, the disk failing") << true << EIO;
        QTest::newRow("over a file, the disk full") << true << ENOSPC;
        QTest::newRow("a new file") << false << EIO;
    }

    void unflushedSaveKeepsTheOldFile()
    {
        QFETCH(bool, exists);
        QFETCH(int, error);
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.tw");
        if (exists)
            QCOMPARE(saveFailure(endsInA(), path), QString());
        QString failure;
        {
            const FailingFsync failing(error);
            failure = saveFailure(withComment(endsInA(), "changed"), path);
        }
        QCOMPARE(failure, qt_error_string(error));
        QCOMPARE(folderEntries(dir), exists ? QStringList{"kept.tw"} : QStringList());
        if (exists)
            QCOMPARE(loaded(path), describe(endsInA()));
    }

    // A device that fails part-way, before, inside or after the first block the
    // writer hands it: the write fails with the device's reason, never reports
    // success, and what reached the device is the start of the file.
    void deviceFailingPartWay_data()
    {
        QTest::addColumn<qint64>("room");
        QTest::newRow("at once") << qint64(0);
        QTest::newRow("in the first line") << qint64(2);
        QTest::newRow("at the end of a block") << qint64(64 * 1024);
        QTest::newRow("in the second block") << qint64(64 * 1024 + 1);
        QTest::newRow("at the last byte") << qint64(automatonBytes(largeAutomaton()).size() - 1);
    }

    void deviceFailingPartWay()
    {
        QFETCH(qint64, room);
        const QByteArray whole = automatonBytes(largeAutomaton());
        FailDevice device(room);
        QCOMPARE(writeAutomaton(largeAutomaton(), device).failure().message(), QStringLiteral("the device went away"));
        QCOMPARE(device.written, whole.first(room));
    }

    void fullDeviceGivesTheSystemsReason()
    {
        QFile full("/dev/full");
        QVERIFY(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        QCOMPARE(writeAutomaton(largeAutomaton(), full).failure().message(), qt_error_string(ENOSPC));
    }

    // Without the signal ignored, a write past the size limit ends the process.
    void fileSizeLimitLeavesTheProgramRunning()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.tw");
        QCOMPARE(saveFailure(endsInA(), path), QString());
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_DFL);   // as a program starts
            TwFile::ignoreFileSizeLimitSignal();
            const rlimit small{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &small);
            ::_exit(saveFailure(largeAutomaton(), path) == qt_error_string(EFBIG) ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY2(WIFEXITED(status), "the save ended the process");
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(loaded(path), describe(endsInA()));
    }

    void batchRunnerOutlivesTheFileSizeLimit()
    {
        QTemporaryDir dir;
        const QString automaton = dir.filePath("ends-in-a.tw");
        QCOMPARE(saveFailure(endsInA(), automaton), QString());
        QProcess run;
        run.setStandardInputFile(QProcess::nullDevice());
        // Some 12 kB of results into a file that may hold 1 kB.
        run.start("bash", {"-c", "ulimit -f 1; yes ab | head -n 1000 | \"$0\" \"$1\" > \"$2\"", TARNWELL_RUN_PATH,
                           automaton, dir.filePath("results.txt")});
        QVERIFY2(run.waitForFinished(10000), "tarnwell-run still runs after 10 s");
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.exitCode(), 2);
    }

    void keepsPermissions()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("shared.tw");
        QCOMPARE(saveFailure(endsInA(), path), QString());
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);
        QCOMPARE(saveFailure(withComment(endsInA(), "changed"), path), QString());
        struct stat status{};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, mode_t(0640));
    }

    void keepsSymbolicLinks()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("target.tw");
        const QString link = dir.filePath("link.tw");
        QCOMPARE(saveFailure(endsInA(), target), QString());
        QVERIFY(QFile::link(target, link));
        const modAll changed = withComment(endsInA(), "changed");
        QCOMPARE(saveFailure(changed, link), QString());
        QCOMPARE(QFileInfo(link).symLinkTarget(), target);
        QCOMPARE(loaded(target), describe(changed));
    }

    void replacesOnlyFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a folder") << "folder" << "it is a folder, not a file";
        QTest::newRow("a named pipe") << "fifo" << "it is a pipe, not a file";
    }

    void replacesOnlyFiles()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath(kind));
        QCOMPARE(kind == "folder" ? ::mkdir(path.constData(), 0700) : ::mkfifo(path.constData(), 0600), 0);
        QCOMPARE(saveFailure(endsInA(), QFile::decodeName(path)), reason);
        struct stat status{};
        QCOMPARE(::stat(path.constData(), &status), 0);
        QVERIFY(kind == "folder" ? S_ISDIR(status.st_mode) : S_ISFIFO(status.st_mode));
        QCOMPARE(folderEntries(dir), QStringList{kind});
    }
};

QTEST_GUILESS_MAIN(TestTwSaving)
#include "test_tw_saving.moc"
