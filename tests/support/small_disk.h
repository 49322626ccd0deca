#pragma once

#include <QString>
#include <QTemporaryDir>

// A folder on a file system of its own, a few kilobytes large, so a test can
// fill it and watch a save meet a full disk. It is mounted in a mount namespace
// of the calling thread alone (made on first use), so nothing outside the test
// sees it; that takes the right to mount (root, as in the test containers).
// Without it, isReady() is false and why() says so: the test skips.
class SmallDisk
{
public:
    explicit SmallDisk(qint64 bytes = 256 * 1024);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isReady() const { return m_mounted; }
    const QString &why() const { return m_why; }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Takes every free byte with a file of its own ("filler"); true when the
    // disk is then full.
    bool fill();
    // Frees what fill() took.
    void empty();
    // The entries of the folder, hidden ones included, without the filler.
    QStringList entries() const;

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};

// Writes that fail part-way, for as long as it lives: the small disk filled,
// or a file size limit of 2 kB for the whole process (as ulimit -f sets it;
// its signal must be ignored, see TwFile::ignoreFileSizeLimitSignal).
class FailingWrites
{
public:
    enum class Cause { FullDisk, SizeLimit };

    FailingWrites(SmallDisk &disk, Cause cause);
    ~FailingWrites();
    FailingWrites(const FailingWrites &) = delete;
    FailingWrites &operator=(const FailingWrites &) = delete;

    // The writes do fail.
    bool isReady() const { return m_ready; }
    // The errno a write then fails with.
    int error() const;

private:
    SmallDisk &m_disk;
    Cause m_cause;
    bool m_ready = false;
    qint64 m_savedLimit = 0;
};
