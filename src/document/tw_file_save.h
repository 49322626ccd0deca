#pragma once

#include "document/tw_result.h"

#include <QByteArrayView>
#include <QString>

#include <functional>

class QIODevice;

// The one way the program writes a file: the automaton, a list of strings, an
// exported image, a JFLAP file, whatever a later window saves. Nothing is
// shown: a failure comes back as the reason, naming the file.
//
// The new content goes into a temporary file beside the target, named after it
// (".NAME.tarnwell-XXXXXX", the name cut to fit the folder's longest name) so a
// person can tell what it is. Every write is checked, the file is put on disk
// (fsync), and only then does it take the target's place, in one step
// (rename); on any failure the old file stays exactly as it was, and the
// temporary goes. The temporary is locked while it is written, so a save can
// tell one left by a save that was killed (nobody holds its lock) and removes
// such leftovers of the same target before it writes.
//
// A symbolic link stays a link to the file written, and a file keeps its
// permissions. Only a regular file is replaced: never a folder, a device or a
// pipe. A file its owner made read-only stays as it is. The reason for a
// failure is the system's own where the system refused ("No space left on
// device", "File too large").
namespace TwFile {

// Writes what the target is to hold into `out`, checking every write; gives the
// reason when it could not. The saver checks the device again, so a write that
// failed unseen still fails the save.
using ContentWriter = std::function<TwResult<>(QIODevice &out)>;

TwResult<> saveWith(const QString &path, const ContentWriter &write);
TwResult<> saveBytes(const QString &path, QByteArrayView bytes);

// The name's start that every temporary file of a save of `path` has, in the
// same folder: ".NAME.tarnwell-", NAME cut between characters so that the
// temporary's name fits `longestName` bytes.
QByteArray temporaryPrefix(const QByteArray &name, qsizetype longestName = 255);

} // namespace TwFile
