// What the programs open. Regular files and pipes are read; folders, devices,
// sockets and files over the size limit are refused at once with the reason;
// a named pipe nobody writes to reads as an empty file. Each kind is opened in
// this process with TwFile::loadNative and by tarnwell-run as a process of its
// own, whose wait is only a guard against a hang.

#include "document/tw_file.h"
#include "document/tw_reader.h"
#include "test_automata.h"

#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray example = TARNWELL_EXAMPLES_DIR "/ends-in-a.tw";   // accepts "ba"

QByteArray contents(const QByteArray &path)
{
    QFile file(QString::fromUtf8(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every byte as printf's %b reads it back, so the shell passes bytes that are
// not UTF-8 on exactly.
QByteArray forPrintf(const QByteArray &bytes)
{
    QByteArray out;
    for (const char c : bytes)
        out += "\\0" + QByteArray::number(uchar(c), 8).rightJustified(3, '0');
    return out;
}

} // namespace

class TestFileKinds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opens_data()
    {
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<QString>("reason");   // empty: read
        const QString device = "it is a device, not a file";
        QTest::newRow("a file") << QByteArray("file") << "";
        QTest::newRow("a file whose name is not UTF-8") << QByteArray("bad name") << "";
        QTest::newRow("a pipe, as the shell's <(...) gives one") << QByteArray("pipe") << "";
        QTest::newRow("a named pipe without a writer: an empty file") << QByteArray("fifo")
                                                                     << "Line 1: the file ends before the \"Q\" keyword";
        QTest::newRow("/dev/zero") << QByteArray("/dev/zero") << device;
        QTest::newRow("/dev/urandom") << QByteArray("/dev/urandom") << device;
        QTest::newRow("a folder") << QByteArray("folder") << "it is a folder, not a file";
        QTest::newRow("a socket") << QByteArray("socket") << "it is a socket, not a file";
        QTest::newRow("a file over 1 GiB") << QByteArray("huge")
                                           << "the file is larger than 1 GiB, the most Tarnwell reads";
        QTest::newRow("nothing") << QByteArray("missing") << "No such file or directory";
    }

    void opens()
    {
        QFETCH(QByteArray, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QByteArray name = kind == "bad name" ? QByteArray("bad\xffname.tw") : kind;
        const QByteArray path = kind.startsWith('/') ? kind : QFile::encodeName(dir.path()) + "/" + name;
        // QTemporaryDir cannot name what is not UTF-8, so cannot remove it.
        const auto removeBadName = qScopeGuard([&] {
            if (kind == "bad name")
                ::unlink(path.constData());
        });
        // How the shell names it to tarnwell-run; $1 is the path.
        QByteArray shellWord = "\"$(printf '%b' \"$1\")\"";
        int socketFd = -1;
        int pipeEnds[2] = {-1, -1};
        if (kind == "file" || kind == "bad name") {
            const int fd = ::open(path.constData(), O_WRONLY | O_CREAT, 0600);
            QVERIFY(fd >= 0);
            const QByteArray bytes = contents(example);
            QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
            ::close(fd);
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        } else if (kind == "folder") {
            QCOMPARE(::mkdir(path.constData(), 0700), 0);
        } else if (kind == "socket") {
            socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
            QCOMPARE(::bind(socketFd, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
        } else if (kind == "huge") {
            QFile huge(QFile::decodeName(path));
            QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize((qint64(1) << 30) + 1));   // sparse: no disk used
        } else if (kind == "pipe") {
            shellWord = "<(cat \"$1\")";
        }

        QProcess run;
        run.start("bash", {"-c", "exec \"$0\" " + QString::fromLatin1(shellWord) + " ba", TARNWELL_RUN_PATH,
                           QString::fromLatin1(kind == "pipe" ? example : forPrintf(path))});
        QVERIFY2(run.waitForFinished(10000), "tarnwell-run still runs after 10 s");
        const QByteArray error = run.readAllStandardError();
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.exitCode(), reason.isEmpty() ? 0 : 2);
        QCOMPARE(run.readAllStandardOutput(), reason.isEmpty() ? QByteArray("ba\tACCEPTED\n") : QByteArray());
        QVERIFY2(error.endsWith(reason.isEmpty() ? QByteArray() : ": " + reason.toUtf8() + "\n"), error.constData());

        if (kind == "pipe") {
            const QByteArray bytes = contents(example);
            QCOMPARE(::pipe(pipeEnds), 0);
            QCOMPARE(::write(pipeEnds[1], bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
            ::close(pipeEnds[1]);
        }
        const TwResult<modAll> loaded =
            TwFile::loadNative(kind == "pipe" ? "/dev/fd/" + QByteArray::number(pipeEnds[0]) : path);
        if (pipeEnds[0] >= 0)
            ::close(pipeEnds[0]);
        if (socketFd >= 0)
            ::close(socketFd);
        QCOMPARE(loaded.failure().message(), reason);
        if (loaded.ok())
            QCOMPARE(describe(loaded.value()), describe(readAutomaton(contents(example)).value()));
    }
};

QTEST_GUILESS_MAIN(TestFileKinds)
#include "test_file_kinds.moc"
