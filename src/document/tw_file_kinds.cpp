#include "document/tw_file_kinds.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace TwFile {

QString finalTarget(const QString &path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 128 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}

bool isFileName(const QByteArray &path)
{
    return !path.isEmpty() && !path.contains('\0');
}

TwFailure systemFailure(int error)
{
    return {qt_error_string(error)};
}

#ifdef Q_OS_UNIX
int writeWhole(int fd, const char *data, qint64 size)
{
    for (qint64 written = 0; written < size;) {
        const ssize_t count = ::write(fd, data + written, size_t(size - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return count < 0 ? errno : EIO;
        written += count;
    }
    return 0;
}

TwFailure notAFile(unsigned mode)
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
#endif

} // namespace TwFile
