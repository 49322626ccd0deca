#pragma once

#include "analysis/report_text.h"
#include "model/mod_all.h"

#include <QList>
#include <QStringList>
#include <optional>

namespace Analysis {

// A state or a symbol named in a report: its 0-based position and its text.
struct NamedPosition
{
    int position = 0;
    QString name;

    bool operator==(const NamedPosition &) const = default;
};

// A text that several states or several symbols share, with their 0-based positions.
struct RepeatedText
{
    QString text;
    QList<int> positions;

    bool operator==(const RepeatedText &) const = default;
};

enum class LanguageSize { Empty, Finite, Infinite };

// What is probably a mistake in an automaton, each item naming its states or
// symbols, and what its language looks like.
struct CheckReport
{
    static constexpr int listedLanguage = 20;          // a finite language is listed up to this many strings
    static constexpr quint64 uncounted = ~quint64(0);   // acceptedCount of a finite language too large to count

    bool hasStates = false;      // without states every string of symbols is REJECTED
    bool startValid = true;      // false: there are states and every string gives ERROR
    QString startName;
    QList<NamedPosition> unreachableStates;      // no string leads there (every state when the start is not valid)
    QList<NamedPosition> statesWithoutFinal;     // no final state can be reached from them, traps included
    QList<NamedPosition> symbolsThatStay;        // keep every state where it is (the column the run reads)
    QList<RepeatedText> repeatedSymbols;         // only the last column is read
    QList<RepeatedText> repeatedStateNames;      // the table can only name the last
    QList<NamedPosition> symbolsNotOneCharacter; // never match a character
    QList<QList<NamedPosition>> equivalentStates; // groups of two or more: the automaton is not minimal
    LanguageSize language = LanguageSize::Empty;
    quint64 acceptedCount = 0;                   // when the language is finite
    QStringList acceptedStrings;                 // all of them, when finite with at most listedLanguage
    std::optional<QString> shortestAccepted;     // first in the alphabet's order among the shortest
    std::optional<QString> shortestRejected;
};

CheckReport checkAutomaton(const modAll &model);

// The report as text, one item per line under its heading.
QString checkReportText(const CheckReport &report, const Escape &escape);

} // namespace Analysis
