// The one save every file goes through (TwFile::saveWith and saveBytes): on a
// full disk and past a file size limit it fails with the system's reason and
// leaves the old file as it was; its temporary file is named after its target,
// and one left by a save that was killed goes at the target's next save.

#include "document/tw_file.h"
#include "document/tw_file_save.h"
#include "small_disk.h"
#include "test_files.h"
#include "test_automata.h"

#include <QDir>
#include <QIODevice>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString saveFailure(const QString &path, const QByteArray &bytes)
{
    return TwFile::saveBytes(path, bytes).failure().message();
}

using TestFiles::contents;
using TestFiles::entries;

// Five lines of a list, and a list past the 16 kB a buffered writer keeps back.
const QByteArray shortList = "a\tACCEPTED\nb\tREJECTED\nab\nba\tACCEPTED\n\tREJECTED\n";
QByteArray longList() { return QByteArray(5000, 'a') + '\n' + QByteArray(20000, 'b') + '\n'; }

bool holdsLeftover(const QString &folder, const QString &name)
{
    return QDir(folder).exists(name);
}

} // namespace

class TestFileSaving : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TwFile::ignoreFileSizeLimitSignal(); }

    // What a person finds beside the file while it is being saved.
    void temporaryIsNamedAfterItsTarget_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("a short name") << "list.txt" << "\\.list\\.txt\\.tarnwell-[a-z0-9]{6}";
        QTest::newRow("255 bytes: cut to fit") << QString(251, 'n') + ".svg"
                                               << "\\." + QString(238, 'n') + "\\.tarnwell-[a-z0-9]{6}";
        QTest::newRow("two-byte characters: cut between them")
            << "x" + QString(125, QChar(0xE9)) + ".tw" << "\\.x" + QString(118, QChar(0xE9)) + "\\.tarnwell-[a-z0-9]{6}";
    }

    void temporaryIsNamedAfterItsTarget()
    {
        QFETCH(QString, name);
        QFETCH(QString, pattern);
        QTemporaryDir dir;
        QStringList seen;
        const TwResult<> saved = TwFile::saveWith(dir.filePath(name), [&](QIODevice &out) -> TwResult<> {
            seen = entries(dir.path());
            out.write("x");
            return {};
        });
        QCOMPARE(saved.failure().message(), QString());
        QCOMPARE(seen.size(), 1);
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(seen.first()).hasMatch(),
                 qPrintable(seen.first()));
        QVERIFY(QFile::encodeName(seen.first()).size() <= 255);
        QCOMPARE(entries(dir.path()), QStringList{name});
    }

    // Leftovers of a killed save of the same target go; anything else stays:
    // a temporary another save holds, one of another file, a file that only
    // looks like one.
    void removesLeftoversOfTheSameTarget_data()
    {
        QTest::addColumn<QString>("leftover");
        QTest::addColumn<bool>("held");
        QTest::addColumn<bool>("removed");
        QTest::newRow("of the same target") << ".list.txt.tarnwell-k1ll3d" << false << true;
        QTest::newRow("one a running save holds") << ".list.txt.tarnwell-runs00" << true << false;
        QTest::newRow("of another file") << ".other.txt.tarnwell-k1ll3d" << false << false;
        QTest::newRow("a longer name") << ".list.txt.tarnwell-k1ll3d2" << false << false;
        QTest::newRow("with no target in its name") << ".tarnwell-k1ll3d00" << false << false;
    }

    void removesLeftoversOfTheSameTarget()
    {
        QFETCH(QString, leftover);
        QFETCH(bool, held);
        QFETCH(bool, removed);
        QTemporaryDir dir;
        QVERIFY(TestFiles::write(dir.filePath(leftover), QByteArray(1000, 'x')));
        const int fd = ::open(QFile::encodeName(dir.filePath(leftover)).constData(), O_RDONLY);
        QVERIFY(fd >= 0);
        if (held)
            QCOMPARE(::flock(fd, LOCK_EX), 0);
        QCOMPARE(saveFailure(dir.filePath("list.txt"), shortList), QString());
        ::close(fd);
        QCOMPARE(holdsLeftover(dir.path(), leftover), !removed);
        QCOMPARE(contents(dir.filePath("list.txt")), shortList);
    }

    // A save killed part-way leaves its temporary; a save running at the same
    // time leaves it alone, the next save after the kill removes it.
    void killedSaveIsCleanedUpByTheNext()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.tw");
        QCOMPARE(TwFile::save(endsInA(), path).failure().message(), QString());
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            const TwResult<> never = TwFile::saveWith(path, [](QIODevice &out) -> TwResult<> {
                out.write(QByteArray(100000, 'x'));
                for (;;)
                    ::pause();
            });
            ::_exit(never.ok() ? 0 : 1);
        }
        // However the test ends, the child does not outlive it.
        bool reaped = false;
        const auto reap = qScopeGuard([&] {
            if (!reaped) {
                ::kill(child, SIGKILL);
                ::waitpid(child, nullptr, 0);
            }
        });
        QString temporary;
        for (int tries = 0; tries < 1000 && temporary.isEmpty(); ++tries) {
            const QStringList now = entries(dir.path()).filter(".kept.tw.tarnwell-");
            if (now.isEmpty() || QFileInfo(dir.filePath(now.first())).size() < 100000)
                QTest::qWait(10);
            else
                temporary = now.first();
        }
        QVERIFY2(!temporary.isEmpty(), "the child never wrote its temporary file");

        QCOMPARE(saveFailure(path, shortList), QString());
        QVERIFY2(holdsLeftover(dir.path(), temporary), "a running save lost its temporary file");

        QCOMPARE(::kill(child, SIGKILL), 0);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        reaped = true;
        QCOMPARE(entries(dir.path()), (QStringList{temporary, "kept.tw"}));
        QCOMPARE(saveFailure(path, longList()), QString());
        QCOMPARE(entries(dir.path()), QStringList{"kept.tw"});
        QCOMPARE(contents(path), longList());
    }

    // A full disk or a size limit, small content and large: the system's
    // reason, the old file.
    void failingWrites_data()
    {
        QTest::addColumn<FailingWrites::Cause>("cause");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("a full disk, five lines") << FailingWrites::Cause::FullDisk << shortList;
        QTest::newRow("a full disk, past 16 kB") << FailingWrites::Cause::FullDisk << longList();
        QTest::newRow("a size limit, cut mid-line") << FailingWrites::Cause::SizeLimit << QByteArray(5000, 'a');
    }

    void failingWrites()
    {
        QFETCH(FailingWrites::Cause, cause);
        QFETCH(QByteArray, bytes);
        SmallDisk disk;
        if (!disk.isReady())
            QSKIP(qPrintable(disk.why()));
        const QString path = disk.filePath("list.txt");
        QCOMPARE(saveFailure(path, "old\n"), QString());
        QString failure;
        int error = 0;
        {
            const FailingWrites failing(disk, cause);
            QVERIFY(failing.isReady());
            error = failing.error();
            failure = saveFailure(path, bytes);
        }
        QCOMPARE(failure, qt_error_string(error));
        QCOMPARE(contents(path), QByteArray("old\n"));
        QCOMPARE(disk.entries(), QStringList{"list.txt"});
    }

    // A writer that does not look at what a write returned, or that fails on
    // its own: the save fails all the same, with the better reason.
    void writerFailures_data()
    {
        QTest::addColumn<bool>("deviceFails");
        QTest::addColumn<bool>("writerFails");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a failed write the writer did not see") << true << false << qt_error_string(EFBIG);
        QTest::newRow("a failed write the writer saw") << true << true << qt_error_string(EFBIG);
        QTest::newRow("the writer's own failure") << false << true << "the picture could not be made";
    }

    void writerFailures()
    {
        QFETCH(bool, deviceFails);
        QFETCH(bool, writerFails);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("image.png");
        QCOMPARE(saveFailure(path, "old"), QString());
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const rlimit small{deviceFails ? 100 : saved.rlim_cur, saved.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const TwResult<> result = TwFile::saveWith(path, [&](QIODevice &out) -> TwResult<> {
            out.write(QByteArray(1000, 'p'));
            if (writerFails)
                return TwFailure{"the picture could not be made"};
            return {};
        });
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &saved), 0);
        QCOMPARE(result.failure().message(), reason);
        QCOMPARE(result.failure().path, path);
        QCOMPARE(contents(path), QByteArray("old"));
        QCOMPARE(entries(dir.path()), QStringList{"image.png"});
    }
};

QTEST_GUILESS_MAIN(TestFileSaving)
#include "test_file_saving.moc"
