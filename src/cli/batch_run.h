#pragma once

#include "model/mod_all.h"
#include "run/run_steps.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// One string run through the automaton exactly as Play runs it at 0 ms: an
// invalid start state stops it before it starts, each character is looked up
// when its step comes, and the first one that is not in the alphabet ends it
// with an error. The string may arrive in pieces, each ending at a whole
// character, so a line far larger than memory can be run as it is read.
class StringRun
{
public:
    StringRun(const modAll &model, const RunSteps::SymbolIndex &index, bool trace);

    // The next piece of the string; a surrogate pair is never cut in two.
    void feed(QStringView piece);
    // Ends the string. The columns after the string: "ACCEPTED", "REJECTED" or
    // "ERROR" and the status text, then with tracing the states visited (the
    // start state and each state a transition led to), all separated by tabs.
    QString finish();
    bool failed() const { return m_failed; }

private:
    const modAll &m_model;
    const RunSteps::SymbolIndex &m_index;
    bool m_trace;
    qint16 m_state;
    bool m_failed = false;
    QString m_message;
    QList<qint16> m_visited;
};

// Runs strings and writes one line per string to `out`: the string as it was
// given, a tab, and StringRun's columns. Output is collected and written in
// large pieces; every write is checked.
class BatchRun
{
public:
    BatchRun(const modAll &model, bool trace, QIODevice &out);
    ~BatchRun();

    // One string as its bytes (UTF-8), for instance from the command line.
    // Input is decoded in pieces that end at whole UTF-8 sequences, so no
    // character, and no surrogate pair, is ever cut in two.
    void runString(QByteArrayView bytes);
    // Every line of `in`; a line loses its LF or CR LF ending and nothing else.
    // Reads `chunkSize` bytes at a time and holds no more than that of a line.
    void runLines(QIODevice &in, qint64 chunkSize = 64 * 1024);

    // Writes what is still held; false when any read or write failed.
    bool flush();
    // Some string ended with ERROR.
    bool anyError() const { return m_anyError; }
    // Why reading the strings or writing the results failed.
    const QString &ioError() const { return m_ioError; }

private:
    class Line;
    void write(QByteArrayView bytes);
    void endString(StringRun &run);

    const modAll &m_model;
    const RunSteps::SymbolIndex m_index;
    bool m_trace;
    QIODevice &m_out;
    QByteArray m_buffer;
    bool m_anyError = false;
    QString m_ioError;
};
