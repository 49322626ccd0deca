#pragma once

#include "analysis/agreement.h"
#include "analysis/compare_automata.h"
#include "analysis/dense_automaton.h"
#include "analysis/grade_fix.h"
#include "model/mod_all.h"

#include <QList>

namespace Analysis {

// A file graded against a solution, as a teacher grades a student's automaton.
//
// EDITS is the fewest edits that make the file give the solution's verdict on
// every string, found exactly up to two (see least_edits.h); an edit makes a
// state final or not, sends one cell to another state or empties it, chooses
// another start state, adds a state or adds a symbol. The score is 100 when
// they are equivalent; otherwise the larger of the agreement's whole percent
// and 80 for one edit, 60 for two, 0 beyond, at most 99.
struct GradeResult
{
    enum class Edits {
        Found,      // `edits` edits, `fixes` one least fix
        MoreThanTwo,
        NotSearched, // too large to search to the end
    };

    CompareResult compared; // "this" is the file, "other" the solution
    Agreement agreement;
    Edits editsFound = Edits::Found;
    int edits = 0;
    QList<GradeFix> fixes;
    int score = 100;

    // "0", "1", "2", "3+", or "?" when not searched.
    QString editsText() const;
};

// The solution, made ready once for grading many files against it: minimized
// (the same verdicts, fewer states for every check to visit).
class GradeSolution
{
public:
    explicit GradeSolution(const modAll &solution);
    const DenseAutomaton &automaton() const { return m_automaton; }

private:
    DenseAutomaton m_automaton;
};

GradeResult gradeAutomaton(const modAll &file, const GradeSolution &solution);

// The score by the rule above, from the columns a line of grades gives.
int gradeScore(bool equivalent, const Agreement &agreement, GradeResult::Edits editsFound, int edits);

// The grade in words for the window, below the comparison: the score, the
// agreement, and the fixes as sentences.
QString gradeReportText(const GradeResult &grade, const Escape &escape);

} // namespace Analysis
