#pragma once

#include <QtGlobal>

#include <limits>

// The numbers the automaton and its run are held to.
namespace Limits {

// Counts and positions are 16-bit signed: an automaton has at most this many
// states and symbols, and an editor's list at most this many entries.
inline constexpr qint16 mostEntries = std::numeric_limits<qint16>::max();
// Every number in a .tw file is 16-bit signed.
inline constexpr qint16 leastNumber = std::numeric_limits<qint16>::min();
inline constexpr qint16 mostNumber = std::numeric_limits<qint16>::max();
// The run's timer takes intervals of 0 to this many milliseconds.
inline constexpr int mostInterval = 65535;

} // namespace Limits
