#include "small_disk.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const QString fillerName = QStringLiteral("filler");

// Once per thread: mounts made after it stay in this thread's namespace, and
// none travels back to the system's.
QString enterPrivateMounts()
{
    static thread_local QString why = [] {
        if (::unshare(CLONE_NEWNS) != 0)
            return QStringLiteral("cannot make a mount namespace: ") + qt_error_string(errno);
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return QStringLiteral("cannot make the mounts private: ") + qt_error_string(errno);
        return QString();
    }();
    return why;
}

} // namespace

SmallDisk::SmallDisk(qint64 bytes)
{
    m_why = enterPrivateMounts();
    if (!m_why.isEmpty())
        return;
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0700";
    if (::mount("tarnwell-test", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData())
        != 0) {
        m_why = QStringLiteral("cannot mount a small file system: ") + qt_error_string(errno);
        return;
    }
    m_mounted = true;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

bool SmallDisk::fill()
{
    const int fd = ::open(QFile::encodeName(filePath(fillerName)).constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (fd < 0)
        return false;
    static const char block[4096] = {};
    for (qsizetype size = sizeof block; size > 0;) {
        if (::write(fd, block, size_t(size)) < 0)
            size /= 2;   // the last page may take less than a block
    }
    const bool full = ::write(fd, block, 1) < 0 && errno == ENOSPC;
    ::close(fd);
    return full;
}

void SmallDisk::empty()
{
    QFile::remove(filePath(fillerName));
}

QStringList SmallDisk::entries() const
{
    QStringList names = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.removeAll(fillerName);
    return names;
}

FailingWrites::FailingWrites(SmallDisk &disk, Cause cause)
    : m_disk(disk)
    , m_cause(cause)
{
    if (cause == Cause::FullDisk) {
        m_ready = disk.isReady() && disk.fill();
        return;
    }
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return;
    m_savedLimit = qint64(limit.rlim_cur);
    limit.rlim_cur = 2048;
    m_ready = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FailingWrites::~FailingWrites()
{
    if (m_cause == Cause::FullDisk) {
        m_disk.empty();
        return;
    }
    rlimit limit{};
    if (m_ready && ::getrlimit(RLIMIT_FSIZE, &limit) == 0) {
        limit.rlim_cur = rlim_t(m_savedLimit);
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
}

int FailingWrites::error() const
{
    return m_cause == Cause::FullDisk ? ENOSPC : EFBIG;
}
