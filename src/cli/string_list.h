#pragma once

#include "document/tw_result.h"
#include "run/run_verdict.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>
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

// Takes the next string of a list; false stops the reading.
using TakeString = std::function<bool(ListedString &&string)>;

// Reads a list whose bytes arrive in pieces, cut anywhere: each line is read
// as soon as it is whole, so only the line being read is held.
class LineReader
{
public:
    explicit LineReader(TakeString take) : m_take(std::move(take)) {}

    // False once a line could not be read (see failure()) or `take` stopped.
    bool feed(QByteArrayView bytes);
    // The text ended: a last line without its line end is a line too.
    bool finish();
    // The line that could not be read, and why; its `line` is 0 when all could.
    const TwFailure &failure() const { return m_failure; }

private:
    bool readLine(QByteArrayView line);

    TakeString m_take;
    QByteArray m_partial;   // the start of a line the bytes so far ended inside
    int m_lineNumber = 0;
    TwFailure m_failure;
    bool m_stopped = false;
};

// The most a list file may hold, for a reader that holds the whole list.
inline constexpr qint64 defaultSizeLimit = qint64(1) << 30;

// Reads the list file named by exactly these bytes through the guarded reader
// (regular files and pipes; folders, devices and sockets refused at once, a
// named pipe without a writer read as empty), refusing it past `sizeLimit`
// bytes, and hands each string to `take` as its line is read. The failure
// names the file: the system's reason or the limit (line 0), or the first line
// that could not be read (its number).
TwResult<> readFile(const QByteArray &path, qint64 sizeLimit, const TakeString &take);
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
