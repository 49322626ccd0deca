#pragma once

#include "analysis/grade_automaton.h"

#include <QByteArray>
#include <QString>

// The lines of tarnwell-run --grade: for each file, its name, its score, the
// fewest edits, the agreement, the first counterexample with the solution's
// verdict and the file's, and one least fix; tab-separated, or as CSV after a
// header row. Every name, string and symbol is escaped as the result lines
// escape them, so each line is one line and each column one column.
class GradeLines
{
public:
    GradeLines(const modAll &solution, bool csv);

    // The CSV header row; nothing for tab-separated lines.
    QByteArray header() const;
    // The line of a file read, `path` as the command line gave it.
    QByteArray graded(const QByteArray &path, const modAll &file) const;
    // The line of a file that could not be read: the reason in the fixes' place.
    QByteArray unread(const QByteArray &path, const QString &reason) const;

private:
    QByteArray line(const QByteArrayList &fields) const;

    Analysis::GradeSolution m_solution;
    bool m_csv;
};
