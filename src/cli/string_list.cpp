#include "cli/string_list.h"

#include "document/escaped_line.h"
#include "document/tw_file_read.h"

#include <QFile>

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
QString readOneLine(QByteArrayView line, ListedString &out)
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

bool LineReader::feed(QByteArrayView bytes)
{
    while (!m_stopped && !bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf('\n');
        if (end < 0) {
            m_partial += bytes;
            return true;
        }
        QByteArrayView line = bytes.first(end);
        bytes = bytes.sliced(end + 1);
        if (!m_partial.isEmpty()) {
            m_partial += line;
            line = m_partial;
        }
        if (line.endsWith('\r'))
            line.chop(1);
        m_stopped = !readLine(line);
        m_partial.resize(0);
    }
    return !m_stopped;
}

bool LineReader::finish()
{
    if (!m_stopped && !m_partial.isEmpty())
        m_stopped = !readLine(m_partial);
    m_partial = QByteArray();
    return !m_stopped;
}

bool LineReader::readLine(QByteArrayView line)
{
    ++m_lineNumber;
    ListedString string;
    const QString error = readOneLine(line, string);
    if (!error.isEmpty()) {
        m_failure = TwFailure(error, m_lineNumber);
        return false;
    }
    return m_take(std::move(string));
}

Parsed parse(QByteArrayView text)
{
    Parsed parsed;
    LineReader reader([&parsed](ListedString &&string) {
        parsed.strings.append(std::move(string));
        return true;
    });
    if (!reader.feed(text) || !reader.finish())
        parsed.error = reader.failure().message();
    return parsed;
}

TwResult<> readFile(const QByteArray &path, qint64 sizeLimit, const TakeString &take)
{
    LineReader reader(take);
    TwReadOptions options;
    options.sizeLimit = sizeLimit;
    const TwResult<> read = TwFile::readNative(path, options, [&reader](QByteArray &&piece) { return reader.feed(piece); });
    if (!read.ok())
        return read;
    reader.finish();
    if (reader.failure().line > 0) {
        TwFailure failure = reader.failure();
        failure.path = QFile::decodeName(path);
        return failure;
    }
    return {};
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
