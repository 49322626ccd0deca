#pragma once

#include "cli/line_reader.h"
#include "run/byte_engine.h"
#include "run/byte_engine_run.h"

#include "document/tw_file_bytes.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

// One whole string's run, as a result line tells it and a little more: what a
// list of test strings shows of each.
struct StringResult
{
    RunVerdict verdict = RunVerdict::Rejected;
    qint16 state = -1;       // where it ended (for ERROR, where it stopped); -1 for an invalid start
    qsizetype steps = 0;     // characters taken, the one it stopped at not included
    QString status;          // "Successfully completed" or why it stopped, the character
                             // named as a result line shows it
};

// Runs `bytes`, of which the first `valid` are valid UTF-8, exactly as the
// batch runner runs a line: a byte that is not valid UTF-8 is no character, so
// the run stops there with ERROR unless it stopped before.
StringResult runWholeString(const ByteEngine &engine, QByteArrayView bytes, qsizetype valid);

// Runs strings through the automaton exactly as Play runs it at 0 ms, on the
// byte engine, and writes one line per string to `out`: the string in its
// one-line form (see EscapedLine), a tab, then "ACCEPTED", "REJECTED" or
// "ERROR" and the status text, then with tracing the states visited (the start
// state and each state a transition led to), all separated by tabs and each in
// its one-line form. A byte that is not valid UTF-8 is no character, so it is
// never a symbol.
//
// Nothing is allocated per string: lines are run where they lie in the read
// buffer, results gather in one buffer that is reused and written in large
// pieces. A line longer than a read is run piece by piece as it arrives, so a
// line far larger than memory runs too. Every write is checked, and after the
// first read or write that fails nothing more is read or run.
class BatchRun final : private LineSink
{
public:
    BatchRun(const modAll &model, bool trace, QIODevice &out);

    // One string as its bytes (UTF-8), for instance from the command line.
    void runString(QByteArrayView bytes);
    // Every line of `in`; a line loses its LF or CR LF ending and nothing else.
    // Reads `chunkSize` bytes at a time and holds no more than that of a line.
    void runLines(QIODevice &in, qint64 chunkSize = ioBlockSize);

    // Writes what is still held; false when any read or write failed.
    bool flush();
    // No read or write has failed so far.
    bool ok() const override { return m_ioError.isEmpty(); }
    // Some string ended with ERROR.
    bool anyError() const { return m_anyError; }
    // Why reading the strings or writing the results failed.
    const QString &ioError() const { return m_ioError; }

private:
    // The lines that end in [p, end), each run where it lies.
    const char *whole(const char *p, const char *end) override;
    // A line that goes on past the end of a read: its pieces are echoed and
    // run as they come.
    void piece(QByteArrayView bytes) override;
    void endPieces(QByteArrayView ending) override;
    // Echoes `bytes`, part of a line cut into pieces: a UTF-8 sequence cut by
    // the end of a piece waits in m_cut, so the line is escaped as it would be
    // whole.
    void escapePiece(QByteArrayView bytes);
    // Appends the columns after the string, ends the line, writes when full.
    void endString();
    void appendColumns(ByteEngine::Verdict verdict, const std::vector<qint16> &visited);
    void putEscaped(QByteArrayView bytes);
    // Adds `bytes` to the results held; what does not fit goes out first.
    void put(QByteArrayView bytes);
    void flushWhenFull();
    void write(QByteArrayView bytes);

    const ByteEngine m_engine;
    ByteRun m_run;
    const QList<QByteArray> m_escapedNames;   // each state's name as a result line shows it
    // What follows a string that ends ACCEPTED or REJECTED, untraced: a tab,
    // the verdict, a line feed; in a block of fixed size, which the hot path
    // copies with one move.
    struct Ending
    {
        explicit Ending(const QString &verdict);
        QByteArrayView text() const { return {bytes, size}; }
        char bytes[16] = {};
        qsizetype size = 0;
    };
    const Ending m_acceptedEnd;
    const Ending m_rejectedEnd;
    const bool m_symbolsPlain;                // no symbol holds a byte the one-line form escapes
    QIODevice &m_out;
    QByteArray m_buffer;                      // results not written yet: the first m_used bytes
    char *const m_bufferStart;                // m_buffer's bytes, kept: the hot path writes here directly
    qsizetype m_used = 0;
    QByteArray m_scratch;                     // a piece of a result being escaped or assembled
    uchar m_cut[4] = {};                      // the start of a UTF-8 sequence a piece ended inside
    int m_cutSize = 0;
    bool m_anyError = false;
    QString m_ioError;
};
