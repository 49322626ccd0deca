#pragma once

#include "document/automaton_file.h"
#include "document/jff_reader.h"

// The deterministic automaton that accepts exactly what a JFLAP machine
// accepts. Its alphabet is the characters the machine reads, in code point
// order. A JFLAP automaton rejects where it has no transition, while an empty
// cell keeps a Tarnwell automaton in its state, so every missing transition
// goes to a non-final state that no symbol leaves, named "trap" (or "trap2",
// "trap3" ... when that name is taken), added only when one is needed.
//
// A deterministic machine keeps its states, names, order and places. One with
// moves on the empty string, or with two targets for one state and character,
// goes through the subset construction from its initial state: each state is
// a set of the machine's states, named after them ("q1", "{q0,q2}", shortened
// past a few names as "{q0,q1,q2 +4}"), in the order a breadth-first walk
// reaches them; it is refused without an initial state, or when it needs more
// states than an automaton can have.
//
// Without an initial state there is no start state (-1): every string gives
// ERROR, as with a .tw file that has none.
TwResult<LoadedAutomaton> automatonFromJff(const JffMachine &machine);
