#pragma once

#include "document/tw_result.h"

#include <QByteArray>

class QIODevice;
struct modAll;

// Writes the automaton as a .tw file: one value per line, each line ending in
// CR LF, in this order:
//
//   Q, the number of states N, then per state its name and "True"/"False";
//   Start, the 0-based start state (-1 for none);
//   E, the number of symbols M, then the M symbols;
//   Q/E, then the N*M transition entries row by row (1-based targets, 0 for none);
//   the comment, one quoted line per piece between CR LF pairs (no line when empty).
//
// A number is written with its sign (a blank, or "-"), its digits and one
// blank: " 2 ", "-1 ". Names and symbols are written bare unless they would not
// read back that way (TwSyntax::needsQuotes); inside quotes a double quote is
// doubled. An entry the model does not hold (a row not sized yet, a short row)
// is written as 0. The text is UTF-8 without a byte-order mark.
//
// Every write is checked: on failure it stops and gives the device's reason.
TwResult<> writeAutomaton(const modAll &model, QIODevice &device);

// The same bytes, in memory.
QByteArray automatonBytes(const modAll &model);

// Whether Save would write the same file for both: what a user can see of an
// automaton. Rows fitted to the alphabet, spare entries and values past the
// counts are not written, so they make no difference here.
bool writtenAlike(const modAll &a, const modAll &b);
