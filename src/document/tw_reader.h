#pragma once

#include "document/tw_file_bytes.h"
#include "document/tw_result.h"
#include "model/mod_all.h"

#include <QByteArrayView>

class QIODevice;

// The failures of a read that are not in the text.
namespace TwReadFailure {
TwFailure tooLarge(const TwReadOptions &options);
TwFailure cannotRead(const QString &reason);
} // namespace TwReadFailure

// Reads a .tw file into a fresh automaton (only the automaton's fields are
// set): `state_count`, `states`,
// `start_state`, `symbol_count`, `symbols`, `transitions` and `comment`. Every
// sequence is sized with its spare and the table is complete, one row per
// state and one entry per symbol.
//
// The keywords and the flags are not examined beyond "True" meaning final;
// names, symbols, the start state and the targets are taken as they stand. The
// read fails only when the file ends before the last transition entry (or
// before "Q/E" when the table has no entries), when a number lies outside the
// 16-bit range, or when a count is negative. A file that ends inside a quoted
// value that never closes is reported at the line where that value opened.
// Memory grows with what the file holds, never with what it claims: a short
// file claiming 32767 states and 32767 symbols fails as soon as it runs out.
// A failure in the text gives its line: for a file that ends too early, the
// line where the missing value belongs.
TwResult<modAll> readAutomaton(QByteArrayView bytes);

// Reads a file that was read in pieces, releasing each piece once past it.
TwResult<modAll> readAutomaton(TwFileBytes &&bytes);

// Reads the whole device, refusing it once it gives more than the size limit.
TwResult<modAll> readAutomaton(QIODevice &device, const TwReadOptions &options = {});
