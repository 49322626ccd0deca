#pragma once

#include "model/mod_all.h"

#include <QStringList>
#include <functional>

namespace Analysis {

// The first `limit` strings the automaton accepts, shortest first and then in
// the alphabet's order (a character's place is its first position among the
// symbols). Fewer when it accepts fewer; none when the start state is not valid.
QStringList acceptedStrings(const modAll &model, int limit);

// The same for the strings it rejects. Strings that give ERROR are in neither list.
QStringList rejectedStrings(const modAll &model, int limit);

// The same strings handed to `take` one by one as they are found, so that any
// limit takes little memory; false from `take` stops the search.
void forAcceptedStrings(const modAll &model, int limit, const std::function<bool(const QString &)> &take);
void forRejectedStrings(const modAll &model, int limit, const std::function<bool(const QString &)> &take);

} // namespace Analysis
