#pragma once

#include "run/immediate_run.h"

#include "document/tw_file_bytes.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

// What the run of every string needs of one automaton, prepared once.
struct BatchAutomaton
{
    explicit BatchAutomaton(const modAll &automaton);

    const RunAutomaton run;
    const QList<QByteArray> escapedNames;   // each state's name as a result line shows it
};

// One string run through the automaton exactly as Play runs it at 0 ms (see
// ImmediateRun), from its UTF-8 bytes. A byte that is not valid UTF-8 is no
// character, so it is never a symbol. The string may arrive in pieces, so a
// line far larger than memory can be run as it is read.
class StringRun
{
public:
    StringRun(const BatchAutomaton &automaton, bool trace);

    // The next piece of the string as UTF-8 bytes, of which the first `valid`
    // are valid UTF-8. A piece never ends inside a UTF-8 sequence that the next
    // piece could complete.
    void feed(QByteArrayView piece, qsizetype valid);
    // Ends the string and appends the columns after it to `out`: "ACCEPTED",
    // "REJECTED" or "ERROR" and the status text, then with tracing the states
    // visited (the start state and each state a transition led to), all
    // separated by tabs and each in its one-line form.
    void finish(QByteArray &out);
    // Ends the string: how its run ended, for those who show it otherwise.
    RunOutcome finish();
    // The status text of `end`, the character named in it as a result line
    // shows it.
    QString statusText(const RunOutcome &end) const;
    bool failed() const { return m_run.stopped(); }

private:
    const BatchAutomaton &m_automaton;
    ImmediateRun m_run;
    QByteArray m_nonCharacter;   // the byte that stopped the run, when it was no character
};

// One whole string's run, as a result line tells it and a little more.
struct StringResult
{
    RunVerdict verdict = RunVerdict::Rejected;
    qint16 state = -1;       // where it ended (see RunOutcome::state)
    qsizetype steps = 0;     // characters taken, the one it stopped at not included
    QString status;          // "Successfully completed" or why it stopped
};

// Runs `bytes` as StringRun does; the first `valid` of them are valid UTF-8.
StringResult runWholeString(const BatchAutomaton &automaton, QByteArrayView bytes, qsizetype valid);

// Runs strings and writes one line per string to `out`: the string in its
// one-line form (see EscapedLine), a tab, and StringRun's columns. Output is
// collected and written in large pieces; every write is checked, and after the
// first read or write that fails nothing more is read or run.
class BatchRun
{
public:
    BatchRun(const modAll &model, bool trace, QIODevice &out);
    ~BatchRun();

    // One string as its bytes (UTF-8), for instance from the command line.
    void runString(QByteArrayView bytes);
    // Every line of `in`; a line loses its LF or CR LF ending and nothing else.
    // Reads `chunkSize` bytes at a time and holds no more than that of a line.
    void runLines(QIODevice &in, qint64 chunkSize = ioBlockSize);

    // Writes what is still held; false when any read or write failed.
    bool flush();
    // No read or write has failed so far.
    bool ok() const { return m_ioError.isEmpty(); }
    // Some string ended with ERROR.
    bool anyError() const { return m_anyError; }
    // Why reading the strings or writing the results failed.
    const QString &ioError() const { return m_ioError; }

private:
    class Line;
    // Gives the length of the valid UTF-8 start of `bytes`.
    qsizetype writeEscaped(QByteArrayView bytes);
    void flushWhenFull();
    void endString(StringRun &run);

    const BatchAutomaton m_automaton;
    bool m_trace;
    QIODevice &m_out;
    QByteArray m_buffer;
    bool m_anyError = false;
    QString m_ioError;
};
