#include "document/tw_file_read.h"

#include "document/tw_file_kinds.h"
#include "document/tw_reader.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace TwFile {

namespace {

TwResult<> endOfReading(TwPiecesEnd end, const TwReadOptions &options, const QString &readError)
{
    switch (end) {
    case TwPiecesEnd::ReadFailed:
        return TwReadFailure::cannotRead(readError);
    case TwPiecesEnd::TooLarge:
        return TwReadFailure::tooLarge(options);
    case TwPiecesEnd::Complete:
    case TwPiecesEnd::Stopped:
        break;
    }
    return {};
}

#ifdef Q_OS_UNIX

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

// Regular files and pipes are read.
bool isReadable(mode_t mode)
{
    return S_ISREG(mode) || S_ISFIFO(mode);
}

TwResult<> readFile(const QByteArray &path, const TwReadOptions &options, const TwTakePiece &take)
{
    if (!isFileName(path))
        return systemFailure(ENOENT);
    // A path that names a device is refused unopened. What was opened is
    // checked again below: that check is the one that counts.
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
    const TwPiecesEnd end = readPieces(readSome, options, take);
    return endOfReading(end, options, qt_error_string(readError));
}

#else

// Systems other than Unix (Windows): the read through QFile alone. Only a build
// for such a system compiles these lines; the tests, run on Linux, never reach
// them.

TwResult<> readFile(const QByteArray &path, const TwReadOptions &options, const TwTakePiece &take)
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
    const TwPiecesEnd end = readPieces([&file](char *into, qint64 max) { return file.read(into, max); }, options, take);
    return endOfReading(end, options, file.errorString());
}

#endif

} // namespace

TwResult<> readNative(const QByteArray &path, const TwReadOptions &options, const TwTakePiece &take)
{
    return readFile(path, options, take).aboutFile(QFile::decodeName(path));
}

} // namespace TwFile
