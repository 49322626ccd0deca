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

// Writes the automaton to `path` the way every file is saved (see saveWith):
// on any failure the old file stays as it was.
TwResult<> save(const modAll &model, const QString &path);

// Reads a file into a fresh automaton through the guarded reader (see
// readNative), or gives the reason: a .tw file, or a JFLAP file, told apart by
// their content (see readAutomatonFile).
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
