#pragma once

#include <QtGlobal>

// The byte engine's data-parallel path, for automata of at most 16 states
// (Mytkowicz, Musuvathi and Schulte, "Data-parallel finite-state machines",
// ASPLOS 2014).
//
// A table walk waits at every byte for the load that gives the next state. To
// break that chain the automaton runs from all of its states at once: a vector
// of 16 lanes holds, for each state s, the state reached from s over the bytes
// so far. A byte moves every lane with one byte shuffle (SSSE3 `pshufb`):
// lane s takes the value at lane[s] of the byte's own vector, whose lane t is
// the step from t. The vector a byte brings does not depend on any state, so
// its load runs ahead and only the shuffle waits for the one before it: about
// a byte per cycle. After a block the lane of the
// state the block began in is the state it ends in; blocks chain through it.
//
// The stop class (see byte_engine.h) needs no lane of its own: its vector has
// 0x80 in every lane, which is no state, and which the shuffle turns into 0 at
// the next byte. An OR of every vector the block went through keeps that bit,
// so after the block the real state's lane says whether the run met the stop
// class; when it did, the block is run again by the plain loop, which stops at
// the byte and lets the slow path deal with it. Results are therefore exactly
// the plain loop's.
namespace ByteEngineVector {

// Bytes per block: long enough that the work between blocks is small, short
// enough that a block run again costs little.
constexpr qsizetype blockSize = 256;

// Enough lanes for the states of the automata this path takes.
constexpr int laneCount = 16;
// The value of every lane after a byte of the stop class.
constexpr quint8 stopped = 0x80;

// One byte's step from every state: lane t holds the state reached from t.
struct alignas(16) Lanes
{
    quint8 lane[laneCount];
};

// Whether this processor can run the data-parallel path.
bool available();

// Runs whole blocks of [p, end) from `state` (a state number, below
// laneCount), `lanesByByte` giving each byte's step. Returns the end of the
// last whole block run, or the start of the first block in which the run met
// the stop class; `state` is then the state at that point.
const uchar *runBlocks(const Lanes *lanesByByte, const uchar *p, const uchar *end, quint8 &state);

} // namespace ByteEngineVector
