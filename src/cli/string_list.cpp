#include "cli/string_list.h"

#include "document/escaped_line.h"

namespace StringList {

std::optional<RunVerdict> verdictNamed(QStringView name)
{
    for (const RunVerdict verdict : {RunVerdict::Accepted, RunVerdict::Rejected, RunVerdict::Error}) {
        if (name == verdictText(verdict))
            return verdict;
    }
    return std::nullopt;
}

namespace {

// Reads one line (its ending removed) into `out`; an empty text on success,
// else why it could not be read.
QString readLine(QByteArrayView line, ListedString &out)
{
    const qsizetype tab = line.indexOf('\t');
    const QByteArrayView string = tab < 0 ? line : line.first(tab);
    EscapedLine::Unescaped unescaped = EscapedLine::unescape(string);
    if (!unescaped.ok())
        return QStringLiteral("the backslash at column %1 begins no escape (a backslash itself is written \\\\)")
            .arg(unescaped.badEscapeAt + 1);
    out.bytes = std::move(unescaped.bytes);
    out.expected.reset();
    if (tab < 0)
        return {};
    QByteArrayView rest = line.sliced(tab + 1);
    const qsizetype next = rest.indexOf('\t');
    const QByteArrayView column = next < 0 ? rest : rest.first(next);
    if (column.isEmpty())
        return {};
    out.expected = verdictNamed(QString::fromUtf8(column));
    if (!out.expected)
        return QStringLiteral("\"%1\" is not ACCEPTED, REJECTED or ERROR")
            .arg(EscapedLine::escape(QString::fromUtf8(column)));
    return {};
}

} // namespace

Parsed parse(QByteArrayView text)
{
    Parsed parsed;
    qsizetype lineNumber = 0;
    while (!text.isEmpty()) {
        ++lineNumber;
        const qsizetype end = text.indexOf('\n');
        QByteArrayView line = end < 0 ? text : text.first(end);
        text = end < 0 ? QByteArrayView() : text.sliced(end + 1);
        if (end >= 0 && line.endsWith('\r'))
            line.chop(1);
        ListedString string;
        const QString error = readLine(line, string);
        if (!error.isEmpty()) {
            parsed.error = QStringLiteral("Line %1: %2").arg(lineNumber).arg(error);
            return parsed;
        }
        parsed.strings.append(std::move(string));
    }
    return parsed;
}

QByteArray line(const ListedString &string)
{
    QByteArray out = EscapedLine::escape(QByteArrayView(string.bytes));
    if (string.expected) {
        out += '\t';
        out += verdictText(*string.expected).toLatin1();
    }
    return out;
}

QByteArray text(const QList<ListedString> &strings)
{
    QByteArray out;
    for (const ListedString &string : strings) {
        out += line(string);
        out += '\n';
    }
    return out;
}

QString summaryText(qsizetype run, qsizetype withExpectation, qsizetype differing)
{
    if (withExpectation == 0)
        return run == 1 ? QStringLiteral("1 string run") : QStringLiteral("%1 strings run").arg(run);
    return QStringLiteral("%1 of %2 as expected, %3 differ")
        .arg(withExpectation - differing)
        .arg(withExpectation)
        .arg(differing);
}

} // namespace StringList
