#include "cli/grade_lines.h"

#include "document/escaped_line.h"

namespace {

const Analysis::Escape escape = qOverload<QStringView>(&EscapedLine::escape);

QByteArray escaped(const QString &text)
{
    return escape(text).toUtf8();
}

// A CSV field. One that a spreadsheet would take for a formula (a state named
// "=HYPERLINK(...)" in a student's file) gets a ' before it, which shows it as
// text; one with a comma or a quote is quoted. Line breaks were escaped already.
QByteArray csvField(QByteArray field)
{
    if (!field.isEmpty() && QByteArrayView("=+-@").contains(field.front()))
        field.prepend('\'');
    if (!field.contains(',') && !field.contains('"'))
        return field;
    return '"' + field.replace("\"", "\"\"") + '"';
}

} // namespace

GradeLines::GradeLines(const modAll &solution, bool csv)
    : m_solution(solution)
    , m_csv(csv)
{
}

QByteArray GradeLines::header() const
{
    return m_csv ? QByteArray("FILE,SCORE,EDITS,AGREEMENT,COUNTEREXAMPLE,SOLUTION-VERDICT,FILE-VERDICT,FIXES\n")
                 : QByteArray();
}

QByteArray GradeLines::graded(const QByteArray &path, const modAll &file) const
{
    const Analysis::GradeResult grade = Analysis::gradeAutomaton(file, m_solution);
    const Analysis::CompareResult &compared = grade.compared;
    QByteArrayList fields{EscapedLine::escape(path), QByteArray::number(grade.score), grade.editsText().toLatin1(),
                          grade.agreement.text().toLatin1()};
    if (compared.equivalent)
        fields << QByteArray() << QByteArray() << QByteArray();
    else
        fields << escaped(compared.counterexample) << verdictText(compared.otherVerdict).toLatin1()
               << verdictText(compared.thisVerdict).toLatin1();
    fields << Analysis::fixesText(grade.fixes, escape).toUtf8();
    return line(fields);
}

QByteArray GradeLines::unread(const QByteArray &path, const QString &reason) const
{
    return line({EscapedLine::escape(path), {}, {}, {}, {}, {}, {}, escaped(reason)});
}

QByteArray GradeLines::line(const QByteArrayList &fields) const
{
    if (!m_csv)
        return fields.join('\t') + '\n';
    QByteArrayList quoted;
    for (const QByteArray &field : fields)
        quoted.append(csvField(field));
    return quoted.join(',') + '\n';
}
