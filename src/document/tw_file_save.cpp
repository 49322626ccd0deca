#include "document/tw_file_save.h"

#include "document/tw_file_bytes.h"
#include "document/tw_file_kinds.h"
#include "model/utf8.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <QRandomGenerator>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#else
#include <QSaveFile>   // compiled for systems other than Unix only (see below)
#endif

namespace TwFile {

namespace {

constexpr QByteArrayView temporaryMark = ".tarnwell-";
constexpr qsizetype randomLetters = 6;

} // namespace

QByteArray temporaryPrefix(const QByteArray &name, qsizetype longestName)
{
    const qsizetype room = qMax<qsizetype>(0, longestName - 1 - temporaryMark.size() - randomLetters);
    QByteArray kept = name.first(qMin(name.size(), room));
    if (kept.size() < name.size())
        kept.truncate(Utf8::completeLength(kept));
    return '.' + kept + temporaryMark.toByteArray();
}

namespace {

#ifdef Q_OS_UNIX

// Retries a system call that a signal cut short.
template <typename Call>
auto retried(Call &&call)
{
    decltype(call()) result;
    do
        result = call();
    while (result < 0 && errno == EINTR);
    return result;
}

qsizetype longestNameIn(const QByteArray &folder)
{
    const long longest = ::pathconf(folder.constData(), _PC_NAME_MAX);
    return longest > 0 ? qsizetype(longest) : 255;
}

// Removes the temporaries `prefix` names in `folder` that no save holds: what
// a save that was killed left. A file that changed places while it was looked
// at is left alone.
void removeLeftovers(const QByteArray &folder, const QByteArray &prefix)
{
    DIR *entries = ::opendir(folder.constData());
    if (!entries)
        return;
    while (const dirent *entry = ::readdir(entries)) {
        const QByteArrayView name(entry->d_name);
        if (name.size() != prefix.size() + randomLetters || !name.startsWith(prefix))
            continue;
        const QByteArray path = folder + '/' + name.toByteArray();
        const int fd = retried([&] { return ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY); });
        if (fd < 0)
            continue;
        struct stat opened{}, named{};
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0
            && ::lstat(path.constData(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
            ::unlink(path.constData());
        ::close(fd);
    }
    ::closedir(entries);
}

// The new file beside the one a save replaces, locked for as long as it is
// open; removed again unless it took the old file's place.
class TemporaryFile
{
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;
    ~TemporaryFile()
    {
        if (!m_path.isEmpty())
            ::unlink(m_path.constData());
        if (m_fd >= 0)
            ::close(m_fd);
    }

    // False with errno set when no file could be made.
    bool create(const QByteArray &folder, const QByteArray &prefix, mode_t mode)
    {
        static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            QByteArray path = folder + '/' + prefix;
            for (qsizetype i = 0; i < randomLetters; ++i)
                path += letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)];
            const int fd = retried([&] {
                return ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
            });
            if (fd < 0) {
                if (errno == EEXIST)
                    continue;
                return false;
            }
            // Another save clearing leftovers may have taken the file between
            // its making and its lock: then it is no longer in the folder.
            struct stat status{};
            if (retried([&] { return ::flock(fd, LOCK_EX); }) != 0 || ::fstat(fd, &status) != 0) {
                const int error = errno;
                ::close(fd);
                ::unlink(path.constData());
                errno = error;
                return false;
            }
            if (status.st_nlink == 0) {
                ::close(fd);
                continue;
            }
            m_fd = fd;
            m_path = path;
            return true;
        }
        errno = EEXIST;
        return false;
    }

    int descriptor() const { return m_fd; }

    // Puts every byte on disk, then the file in the place of `target` in one
    // step. False with errno set when it could not.
    bool replace(const QByteArray &target, const QByteArray &folder)
    {
        const int fd = std::exchange(m_fd, -1);
        if (::fsync(fd) != 0) {
            const int error = errno;
            ::close(fd);
            errno = error;
            return false;
        }
        if (::close(fd) != 0 || ::rename(m_path.constData(), target.constData()) != 0)
            return false;
        m_path.clear();
        // The new name on disk too; a folder that cannot be synced is no failure.
        const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folderFd >= 0) {
            ::fsync(folderFd);
            ::close(folderFd);
        }
        return true;
    }

private:
    int m_fd = -1;
    QByteArray m_path;
};

// The temporary file as the writer sees it. A write goes on until every byte
// is written or the system refuses, and keeps the system's reason: a write cut
// short (a size limit reached part-way) is no success.
class SaveDevice final : public QIODevice
{
public:
    explicit SaveDevice(int fd) : m_fd(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

    bool isSequential() const override { return true; }
    // errno of the first write that failed; 0 while none has.
    int failure() const { return m_failure; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (m_failure == 0)
            m_failure = writeWhole(m_fd, data, size);
        if (m_failure == 0)
            return size;
        setErrorString(qt_error_string(m_failure));
        return -1;
    }

private:
    int m_fd;
    int m_failure = 0;
};

TwResult<> writeFile(const QString &path, const ContentWriter &write)
{
    const QByteArray target = QFile::encodeName(finalTarget(path));
    if (!isFileName(target))
        return systemFailure(ENOENT);
    struct stat old{};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return notAFile(old.st_mode);
    if (exists && ::access(target.constData(), W_OK) != 0)
        return systemFailure(errno);

    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.first(slash);
    const QByteArray prefix = temporaryPrefix(target.sliced(slash + 1), longestNameIn(folder));
    removeLeftovers(folder, prefix);

    // Readable by nobody else until it has the old file's permissions; a new
    // file gets the usual ones, 0666 less the umask.
    TemporaryFile temporary;
    if (!temporary.create(folder, prefix, exists ? 0600 : 0666))
        return systemFailure(errno);
    if (exists)
        ::fchmod(temporary.descriptor(), old.st_mode & 0777);

    SaveDevice file(temporary.descriptor());
    const TwResult<> written = write(file);
    // The system's reason comes first, and a failed write fails the save even
    // when the writer did not look.
    if (file.failure() != 0)
        return systemFailure(file.failure());
    if (!written.ok())
        return written;
    if (!temporary.replace(target, folder))
        return systemFailure(errno);
    return {};
}

#else

// Systems other than Unix (Windows): the save through Qt alone, QSaveFile
// writing beside the target and renaming. Only a build for such a system
// compiles these lines; the tests, run on Linux, never reach them.

TwResult<> writeFile(const QString &path, const ContentWriter &write)
{
    QSaveFile file(finalTarget(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return TwFailure{file.errorString()};
    const TwResult<> written = write(file);
    if (file.error() != QFileDevice::NoError || !written.ok()) {
        const TwFailure failure = file.error() != QFileDevice::NoError ? TwFailure{file.errorString()} : written.failure();
        file.cancelWriting();
        return failure;
    }
    if (!file.commit())
        return TwFailure{file.errorString()};
    return {};
}

#endif

} // namespace

TwResult<> saveWith(const QString &path, const ContentWriter &write)
{
    return writeFile(path, write).aboutFile(path);
}

TwResult<> saveBytes(const QString &path, QByteArrayView bytes)
{
    return saveWith(path, [bytes](QIODevice &out) -> TwResult<> {
        for (qsizetype at = 0; at < bytes.size();) {
            const qint64 written = out.write(bytes.data() + at, qMin(ioBlockSize, bytes.size() - at));
            if (written <= 0)
                return TwFailure{out.errorString()};
            at += qsizetype(written);
        }
        return {};
    });
}

} // namespace TwFile
