#include "document/tw_file.h"

#include "document/automaton_file.h"
#include "document/tw_reader.h"
#include "document/tw_writer.h"
#include "model/mod_all.h"

#include <QFile>
#include <QFileInfo>

#include <functional>

#ifdef Q_OS_UNIX
#include <QRandomGenerator>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#else
#include <QSaveFile>
#endif

namespace TwFile {

namespace {

// Writes a file's whole content to the device, every write checked.
using Writer = std::function<TwResult<>(QIODevice &)>;

// The file a save writes: the end of a chain of symbolic links (which need not
// exist yet), so that a link stays a link.
QString finalTarget(const QString &path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 128 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}

#ifdef Q_OS_UNIX

// What an entry that is not a regular file is, as the reason why it is not
// replaced (nor read, unless it is a pipe).
TwFailure notAFile(mode_t mode)
{
    if (S_ISDIR(mode))
        return {QStringLiteral("it is a folder, not a file")};
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return {QStringLiteral("it is a device, not a file")};
    if (S_ISSOCK(mode))
        return {QStringLiteral("it is a socket, not a file")};
    if (S_ISFIFO(mode))
        return {QStringLiteral("it is a pipe, not a file")};
    return {QStringLiteral("it is not a file")};
}

// Regular files and pipes are read.
bool isReadable(mode_t mode)
{
    return S_ISREG(mode) || S_ISFIFO(mode);
}

TwFailure systemFailure(int error)
{
    return {qt_error_string(error)};
}

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { ::close(m_fd); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

private:
    int m_fd;
};

bool isFileName(const QByteArray &path)
{
    return !path.isEmpty() && !path.contains('\0');
}

// A new file beside the one a save replaces, with a name short enough for any
// folder that holds a file; removed again unless it took the old file's place.
class TemporaryFile
{
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_path.isEmpty())
            ::unlink(m_path.constData());
    }

    // False with errno set when no file could be made.
    bool create(const QByteArray &folder, mode_t mode)
    {
        static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            QByteArray path = folder + "/.tarnwell-";
            for (int i = 0; i < 8; ++i)
                path += letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)];
            m_fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
            if (m_fd >= 0) {
                m_path = path;
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    int descriptor() const { return m_fd; }

    // Puts every byte on disk, then the file in the place of `target` in one
    // step. False with errno set when it could not.
    bool replace(const QByteArray &target)
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
        return true;
    }

private:
    int m_fd = -1;
    QByteArray m_path;
};

#endif

} // namespace

#ifdef Q_OS_UNIX

namespace {

TwResult<> writeFile(const Writer &write, const QString &path)
{
    const QByteArray target = QFile::encodeName(finalTarget(path));
    if (!isFileName(target))
        return systemFailure(ENOENT);
    struct stat old{};
    const bool exists = ::stat(target.constData(), &old) == 0;
    // Only a regular file is replaced: a save never turns a folder, a device
    // or a pipe into a file.
    if (exists && !S_ISREG(old.st_mode))
        return notAFile(old.st_mode);
    // A file its owner made read-only stays as it is, although its folder
    // would let it be replaced.
    if (exists && ::access(target.constData(), W_OK) != 0)
        return systemFailure(errno);

    // Readable by nobody else until it has the old file's permissions; a new
    // file gets the usual ones, 0666 less the umask.
    TemporaryFile temporary;
    const qsizetype slash = target.lastIndexOf('/');
    if (!temporary.create(slash < 0 ? QByteArray(".") : target.first(slash), exists ? 0600 : 0666))
        return systemFailure(errno);
    if (exists)
        ::fchmod(temporary.descriptor(), old.st_mode & 0777);

    QFile file;
    if (!file.open(temporary.descriptor(), QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        return TwFailure{file.errorString()};
    if (TwResult<> written = write(file); !written.ok())
        return written;
    if (!temporary.replace(target))
        return systemFailure(errno);
    return {};
}

TwResult<TwFileBytes> readFile(const QByteArray &path, const TwReadOptions &options)
{
    if (!isFileName(path))
        return systemFailure(ENOENT);
    // Opening some devices does something (a tape rewinds), so a path that
    // names one is refused unopened. What was opened is checked again below:
    // that check is the one that counts.
    struct stat status{};
    if (::stat(path.constData(), &status) == 0 && !isReadable(status.st_mode))
        return notAFile(status.st_mode);
    // Non-blocking, so that opening a named pipe never waits for a writer.
    int fd = -1;
    do
        fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return systemFailure(errno);
    const Descriptor closer(fd);
    if (::fstat(fd, &status) != 0)
        return TwReadFailure::cannotRead(qt_error_string(errno));
    if (!isReadable(status.st_mode))
        return notAFile(status.st_mode);
    if (S_ISREG(status.st_mode) && status.st_size > options.sizeLimit)
        return TwReadFailure::tooLarge(options);
    // Reading a pipe waits for its data as usual.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return TwReadFailure::cannotRead(qt_error_string(errno));

    TwFileBytes bytes;
    int readError = 0;
    const auto readSome = [fd, &readError](char *into, qint64 max) -> qint64 {
        ssize_t got = 0;
        do
            got = ::read(fd, into, size_t(max));
        while (got < 0 && errno == EINTR);
        if (got < 0)
            readError = errno;
        return got;
    };
    switch (readPieces(readSome, options, bytes)) {
    case TwPiecesEnd::ReadFailed:
        return TwReadFailure::cannotRead(qt_error_string(readError));
    case TwPiecesEnd::TooLarge:
        return TwReadFailure::tooLarge(options);
    case TwPiecesEnd::Complete:
        break;
    }
    return bytes;
}

} // namespace

void ignoreFileSizeLimitSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

#else

namespace {

TwResult<> writeFile(const Writer &write, const QString &path)
{
    QSaveFile file(finalTarget(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return TwFailure{file.errorString()};
    if (TwResult<> written = write(file); !written.ok()) {
        file.cancelWriting();
        return written;
    }
    if (!file.commit())
        return TwFailure{file.errorString()};
    return {};
}

TwResult<TwFileBytes> readFile(const QByteArray &path, const TwReadOptions &options)
{
    QFile file(QFile::decodeName(path));
    const QFileInfo info(file);
    if (info.isDir())
        return TwFailure{QStringLiteral("it is a folder, not a file")};
    if (info.exists() && !info.isFile())
        return TwFailure{QStringLiteral("it is not a file")};
    if (!file.open(QIODevice::ReadOnly))
        return TwFailure{file.errorString()};
    if (file.size() > options.sizeLimit)
        return TwReadFailure::tooLarge(options);
    TwFileBytes bytes;
    switch (readPieces([&](char *into, qint64 max) { return file.read(into, max); }, options, bytes)) {
    case TwPiecesEnd::ReadFailed:
        return TwReadFailure::cannotRead(file.errorString());
    case TwPiecesEnd::TooLarge:
        return TwReadFailure::tooLarge(options);
    case TwPiecesEnd::Complete:
        break;
    }
    return bytes;
}

} // namespace

void ignoreFileSizeLimitSignal() {}

#endif

TwResult<> save(const modAll &model, const QString &path)
{
    return writeFile([&model](QIODevice &file) { return writeAutomaton(model, file); }, path).aboutFile(path);
}

TwResult<> saveBytes(const QByteArray &bytes, const QString &path)
{
    const Writer write = [&bytes](QIODevice &file) -> TwResult<> {
        for (qsizetype done = 0; done < bytes.size();) {
            const qint64 written = file.write(bytes.constData() + done, qMin<qsizetype>(bytes.size() - done, ioBlockSize));
            if (written <= 0)
                return TwFailure{file.errorString()};
            done += qsizetype(written);
        }
        return {};
    };
    return writeFile(write, path).aboutFile(path);
}

TwResult<LoadedAutomaton> loadDocumentNative(const QByteArray &path, const TwReadOptions &options)
{
    TwResult<TwFileBytes> bytes = readFile(path, options);
    if (!bytes.ok())
        return TwResult<LoadedAutomaton>(bytes.failure()).aboutFile(QFile::decodeName(path));
    return readAutomatonFile(std::move(bytes.value())).aboutFile(QFile::decodeName(path));
}

TwResult<LoadedAutomaton> loadDocument(const QString &path)
{
    return loadDocumentNative(QFile::encodeName(path));
}

TwResult<modAll> loadNative(const QByteArray &path, const TwReadOptions &options)
{
    TwResult<LoadedAutomaton> loaded = loadDocumentNative(path, options);
    if (!loaded.ok())
        return loaded.failure();
    return std::move(loaded.value().automaton);
}

TwResult<modAll> load(const QString &path)
{
    return loadNative(QFile::encodeName(path));
}

} // namespace TwFile
