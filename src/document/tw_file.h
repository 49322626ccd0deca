#pragma once

#include "document/automaton_file.h"
#include "document/tw_file_bytes.h"
#include "document/tw_result.h"
#include "model/mod_all.h"

#include <QByteArray>
#include <QString>

// The automaton's file on disk. Neither function shows anything: a failure
// comes back as the reason, in words for the user, naming the file.
namespace TwFile {

// Writes the automaton to `path` through a temporary file with a short name in
// the same folder, which replaces the old file only once every byte is written
// and on disk; on any failure the old file stays as it was. A symbolic link
// stays a link to the file written, and the file keeps its permissions. A
// failure gives the system's own reason where the system refused.
TwResult<> save(const modAll &model, const QString &path);
// Writes `bytes` to `path` the same way.
TwResult<> saveBytes(const QByteArray &bytes, const QString &path);

// Reads a file into a fresh automaton, or gives the reason: a .tw file, or a
// JFLAP file, told apart by their content (see readAutomatonFile). Takes
// regular files and pipes (a pipe is read up to the size limit). Refuses at
// once folders, devices and sockets, and a file over the size limit before
// reading it. Opening never waits: a named pipe that nobody writes to reads as
// an empty file.
TwResult<modAll> load(const QString &path);
// The file named by exactly these bytes, which need not be valid in any
// encoding, as a command line gives them.
TwResult<modAll> loadNative(const QByteArray &path, const TwReadOptions &options = {});
// The same, with what kind of file it was and the places it gave the states.
TwResult<LoadedAutomaton> loadDocument(const QString &path);
TwResult<LoadedAutomaton> loadDocumentNative(const QByteArray &path, const TwReadOptions &options = {});

// Makes a write past the process's file size limit (ulimit -f) fail with the
// system's reason instead of ending the program, so a save can report it and
// the unsaved changes stay. Each program calls it first thing.
void ignoreFileSizeLimitSignal();

} // namespace TwFile
