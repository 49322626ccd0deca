#pragma once

#include "cli/line_reader.h"
#include "run/byte_engine_lines.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QIODevice;

// tarnwell-run --count and --only: strings run exactly as the batch runner
// runs them, of which only the verdicts matter. Counting writes nothing until
// the end, then one line per verdict in a fixed order ("ACCEPTED n",
// "REJECTED n", "ERROR n"). Keeping one verdict writes each line that has it
// as it was read, with its own ending (LF where the last line has none), and
// nothing for the others.
//
// Lines are run where they lie in the read buffer, and kept ones gather in one
// buffer made once, written in large pieces. A line longer than a read runs
// piece by piece; a line that may be kept is held until its verdict is known,
// or, when it is long and the input is a file, read again then (a line that
// has met an error is known to be ERROR at once, and is written or dropped
// from there).
class LineFilter final : private LineSink
{
public:
    // Counts the verdicts when `only` is empty; else keeps the lines whose
    // verdict is `only`.
    LineFilter(const modAll &model, std::optional<RunVerdict> only, QIODevice &out);

    // One string, from the command line: kept, it is written with LF.
    void runString(QByteArrayView bytes);
    // Every line of `in`, read `chunkSize` bytes at a time.
    void runLines(QIODevice &in, qint64 chunkSize = readSize);

    // Writes the counts, or what is still held; false when any read or write
    // failed.
    bool flush();
    bool ok() const override { return m_ioError.isEmpty(); }
    // Some string ended with ERROR.
    bool anyError() const { return count(RunVerdict::Error) > 0; }
    // Why reading the strings or writing the results failed.
    const QString &ioError() const { return m_ioError; }

    // Reads and writes this large: few system calls, and the table's loop
    // runs long.
    static constexpr qint64 readSize = qint64(256) * 1024;

private:
    // Lines up to this long are copied with a few moves (see copyLine).
    static constexpr qsizetype shortLine = 16;

    const char *whole(const char *p, const char *end) override;
    void piece(QByteArrayView bytes) override;
    void endPieces(QByteArrayView ending) override;

    // What becomes of the pieces of the line being read: held while it may
    // be kept; when it grows long and the input can be read again (a file,
    // not a pipe), let go and read again if kept; written as they come once
    // it is known to be kept, dropped once it is known not to be.
    enum class Pieces { Hold, ReadAgain, Write, Drop };
    // Writes the line being read, as far as it has come.
    void putLineSoFar();

    void note(ByteEngine::Verdict verdict) { ++m_counts[size_t(verdict)]; }
    bool keeps(ByteEngine::Verdict verdict) const { return m_kept[size_t(verdict)]; }
    qint64 count(RunVerdict verdict) const;
    // Adds `bytes` to what is to be written; what does not fit goes out first.
    void put(QByteArrayView bytes);
    void writeBuffer();

    const ByteEngine m_engine;
    ByteLines m_lines;
    const std::optional<RunVerdict> m_only;
    bool m_kept[4] = {};         // by ByteEngine::Verdict: a line of it is written
    qint64 m_counts[4] = {};     // by ByteEngine::Verdict
    QIODevice *m_in = nullptr;   // the input, while its lines are run
    qint64 m_holdLimit = 0;      // a line held grows no longer than a read
    qint64 m_offset = 0;         // where in it the next bytes run lie
    Pieces m_pieces = Pieces::Drop;
    bool m_inLine = false;       // a line cut into pieces has begun
    qint64 m_lineOffset = 0;     // where it begins in the input
    qint64 m_lineLength = 0;     // its bytes so far
    QByteArray m_held;           // its pieces so far, while held
    QIODevice &m_out;
    QByteArray m_buffer;         // what is to be written: the first m_used bytes
    char *const m_bufferStart;   // m_buffer's bytes, kept: lines are copied here directly
    qsizetype m_used = 0;
    QString m_ioError;
};
