#pragma once

#include "document/tw_result.h"

#include <QByteArray>
#include <QString>

// What the file reader and the file saver both say about what lies at a path.
namespace TwFile {

// The file a save writes: the end of a chain of symbolic links (which need not
// exist yet), so that a link stays a link.
QString finalTarget(const QString &path);

// A path the system could name: not empty, no NUL byte.
bool isFileName(const QByteArray &path);

// The system's own reason for errno `error`.
TwFailure systemFailure(int error);

#ifdef Q_OS_UNIX
// Writes every byte to the descriptor: a pipe or a terminal may take less than
// asked, and a signal may cut a write short, so it goes on until all is
// written or the system refuses. Gives 0, or the errno of the refusal.
int writeWhole(int fd, const char *data, qint64 size);

// Why an entry of this mode (from stat) is neither read (unless it is a pipe)
// nor replaced: "it is a folder, not a file".
TwFailure notAFile(unsigned mode);
#endif

} // namespace TwFile
