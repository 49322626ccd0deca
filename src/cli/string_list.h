#pragma once

#include "run/run_verdict.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

// A string of a test list, with the verdict it should get, if any.
struct ListedString
{
    QByteArray bytes;                     // the string (UTF-8, or any bytes at all)
    std::optional<RunVerdict> expected;   // none: the string is only run
};

// A list of test strings as text: one string per line in its escaped form (see
// EscapedLine), optionally followed by a tab and ACCEPTED, REJECTED or ERROR,
// the verdict it should get. Further columns are ignored, so the batch runner's
// own result lines ("ab<TAB>ERROR<TAB>Invalid alphabet 'b'") read as a list.
// Lines end with LF or CR LF; a line that ends the text without one is a line
// too, and an empty line is the empty string.
namespace StringList {

struct Parsed
{
    QList<ListedString> strings;
    QString error;   // the first line that could not be read, and why; empty when all could

    bool ok() const { return error.isEmpty(); }
};

Parsed parse(QByteArrayView text);
// One line of a list, without its line ending.
QByteArray line(const ListedString &string);
// A whole list, every line ending with LF.
QByteArray text(const QList<ListedString> &strings);

// The verdict a column names exactly ("ACCEPTED", "REJECTED", "ERROR").
std::optional<RunVerdict> verdictNamed(QStringView name);

// How a list's run came out, in one line: "12 of 14 as expected, 2 differ"
// when some strings have an expected verdict (counting only those), else
// "14 strings run".
QString summaryText(qsizetype run, qsizetype withExpectation, qsizetype differing);

} // namespace StringList
