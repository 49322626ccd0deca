#pragma once

#include "model/mod_all.h"

#include <QString>
#include <optional>

// The automaton's file on disk. Neither function shows anything: a failure
// comes back as the reason, in words for the user.
namespace TwFile {

// Writes the automaton to `path` through a temporary file in the same folder
// that replaces the old file only once every byte is written; on any failure
// the old file stays as it was. Gives the reason on failure, nothing on success.
std::optional<QString> save(const modAll &model, const QString &path);

// Reads `path` into a fresh automaton (see readAutomaton), or gives the reason.
struct Loaded
{
    std::optional<modAll> automaton;
    QString failure;
};
Loaded load(const QString &path);

} // namespace TwFile
