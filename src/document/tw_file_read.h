#pragma once

#include "document/tw_file_bytes.h"
#include "document/tw_result.h"

#include <QByteArray>

// The one way the program reads a file the user names: an automaton (a .tw or
// a JFLAP file), a list of strings. Nothing is shown: a failure comes back as
// the reason.
//
// Takes regular files and pipes (a pipe is read up to the size limit). Refuses
// at once folders, devices and sockets, without opening a device (opening some
// does something: a tape rewinds), and a file over the size limit before
// reading it. Opening never waits: a named pipe that nobody writes to reads as
// an empty file.
namespace TwFile {

// Reads the file named by exactly these bytes (which need not be valid in any
// encoding, as a command line gives them), handing its bytes to `take` in
// pieces as readPieces cuts them. When `take` stops the reading, the result is
// still a success: the taker knows why it stopped.
TwResult<> readNative(const QByteArray &path, const TwReadOptions &options, const TwTakePiece &take);

} // namespace TwFile
