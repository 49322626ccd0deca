#pragma once

#include "document/tw_result.h"

#include <QByteArray>
#include <QList>
#include <QPointF>

#include <optional>

struct modAll;

// The automaton as a JFLAP 7 finite automaton file, with the meaning the run
// gives it: a transition for every state and every symbol that is one
// character, to the state the run goes to (its own state for an empty cell or
// a target that names no state; the last of repeated symbols), the start state
// as the initial state when it is valid, and the final states. A string with a
// character outside the alphabet, ERROR for Tarnwell, is rejected by JFLAP,
// which has nothing else to say. States are placed at `places` (by state) when
// every state has one, else on a circle, or a grid when there are many.
// Refused when a name or a symbol holds a character XML cannot carry.
TwResult<QByteArray> jffBytes(const modAll &model, const QList<std::optional<QPointF>> &places = {});
