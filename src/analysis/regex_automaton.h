#pragma once

#include "analysis/regex_syntax.h"
#include "model/limits.h"
#include "model/mod_all.h"

#include <QStringView>

#include <optional>

namespace Analysis {

class DenseAutomaton;
struct Nfa;

// The automaton an expression describes, or why there is none.
struct RegexAutomaton
{
    std::optional<RegexError> error;
    // Untitled, with changes to save; the comment names the expression.
    modAll automaton;
};

// The minimal deterministic automaton of an expression (see parseRegex for the
// syntax and the alphabet): its symbols the alphabet, its states named q0, q1,
// ... in the order a breadth-first walk from the start reaches them (symbols
// in the alphabet's order), every cell filled, and a state that no string
// leads out of to acceptance only when the language needs one. Refused past
// `stateLimit` states on the way.
RegexAutomaton automatonFromRegex(QStringView text, std::optional<QStringView> alphabet = std::nullopt,
                                  int stateLimit = Limits::mostEntries);

// Thompson's construction of a parsed expression, by classes of symbols: no
// class of the expression tells the symbols of one class apart, and
// `classOfSymbol` receives each symbol's class, a column of the automaton.
Nfa regexNfa(const Regex &regex, std::vector<int> &classOfSymbol);

// The minimal automaton for a deterministic table whose columns are classes of symbols:
// `classOfSymbol` gives each symbol's column. Its equivalent states merged and
// numbered as above; every state of `table` must be reachable.
modAll minimalAutomaton(const DenseAutomaton &table, const std::vector<int> &classOfSymbol, const QStringList &symbols);

} // namespace Analysis
