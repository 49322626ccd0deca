#pragma once

#include "analysis/report_text.h"

#include <QList>
#include <QString>

namespace Analysis {

// One edit of a graded automaton that brings it closer to the solution, in
// the automaton's own terms: positions in its states and symbols, with the
// names to show. A state or symbol the fix adds takes the next position after
// the automaton's last (after those added before it).
struct GradeFix
{
    enum class Kind {
        MakeFinal,    // "final NAME"
        MakeNotFinal, // "not final NAME"
        SendCell,     // "NAME on SYMBOL -> NAME": the cell should lead to `target`
        EmptyCell,    // "NAME on SYMBOL -> empty": the cell should keep the state where it is
        ChooseStart,  // "start NAME"
        AddState,     // "add state NAME": not final, every cell empty
        AddSymbol,    // "add symbol SYMBOL": every cell of its column empty
    };

    Kind kind = Kind::MakeFinal;
    int state = -1;   // 0-based position of the state it is about (all kinds but AddSymbol)
    int symbol = -1;  // 0-based position of the cell's symbol (the column a run reads), or of the symbol added
    int target = -1;  // 0-based position of the state a SendCell leads to
    QString stateName;
    QString symbolText;
    QString targetName;

    // The fix in the short form of a line of grades: "q1 on b -> q0".
    QString text(const Escape &escape) const;
    // The fix as a sentence for the window: "q1 on b should go to q0."
    QString sentence(const Escape &escape) const;

    // What the fix touches on the diagram: the states (a cell's state and its
    // new target) and, for a cell, the cell.
    QList<int> touchedStates() const;
    bool touchesCell() const { return kind == Kind::SendCell || kind == Kind::EmptyCell; }

    bool operator==(const GradeFix &) const = default;
};

// The fixes in the short form, separated by ";".
QString fixesText(const QList<GradeFix> &fixes, const Escape &escape);

} // namespace Analysis
