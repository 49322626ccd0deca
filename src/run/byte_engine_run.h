#pragma once

#include "run/byte_engine.h"

#include <QByteArrayView>

#include <vector>

// Strings run one after another through a ByteEngine, each given as UTF-8
// bytes in pieces of any size, as they come out of a read buffer: the batch
// runner finds a line's end in the buffer, feeds what lies before it, and
// calls finish() there; a line longer than the buffer is fed a buffer at a
// time. The run allocates nothing per string (the trace reuses its storage).
//
// Each string runs the way Play runs it at 0 ms: an invalid start state stops
// it before it starts, each character is looked up when its step comes, and
// the first one that is not in the alphabet ends it with an error. A byte that
// is not valid UTF-8 is no character, so it is never a symbol; a character cut
// short by the end of the string is no character either, and its first byte
// is the one named.
class ByteRun
{
public:
    // With `trace`, the states visited are recorded (see visited()); that run
    // takes the plain loop, since it looks at every step.
    ByteRun(const ByteEngine &engine, bool trace);

    // The next bytes of the string. A piece may end anywhere, inside a
    // character too. Once the run has stopped at an error, the rest of the
    // string is not looked at.
    void feed(QByteArrayView bytes)
    {
        if (m_finished)
            begin();
        const auto *p = reinterpret_cast<const uchar *>(bytes.data());
        const uchar *const end = p + bytes.size();
        // Most strings are short lines of symbols: they take this loop alone.
        if (m_plain && bytes.size() <= ByteEngineVector::blockSize) {
            p = m_engine.walk(p, end, m_state, [](uint32_t, Row) {});
            if (p == end)
                return;
        }
        if (m_running)
            feedRest(p, end);
    }
    // Ends the string and gives its verdict. The results below stay until the
    // next string begins, with the next feed() or finish().
    ByteEngine::Verdict finish()
    {
        if (m_finished)
            begin();
        if (m_running && m_unfinishedSize > 0)
            stopAt(m_unfinished, 1);
        else if (m_running)
            m_verdict = m_engine.verdictAt(m_state);
        m_finished = true;
        return m_verdict;
    }

    // A whole string at once, as feed() then finish() on a new string; most
    // lines lie whole in the read buffer, and a short one of symbols takes one
    // loop alone.
    ByteEngine::Verdict run(QByteArrayView string)
    {
        if (!m_trace && m_engine.m_startIsValid && string.size() <= ByteEngineVector::blockSize) {
            const auto *p = reinterpret_cast<const uchar *>(string.data());
            const uchar *const end = p + string.size();
            const Row state = m_engine.walkThrough(p, end, m_engine.m_start);
            if (state != m_engine.m_stop) {
                m_state = state;
                m_running = true;
                m_finished = true;
                m_unfinishedSize = 0;
                m_invalidSize = 0;
                return m_verdict = m_engine.verdictAt(state);
            }
        }
        begin();
        feed(string);
        return finish();
    }

    // The string has already met its error: what follows cannot change it.
    bool stopped() const { return !m_running; }
    ByteEngine::Verdict verdict() const { return m_verdict; }
    // The state reached so far, as a position in `states` (where the run
    // stopped, after an error).
    qint16 state() const { return m_engine.stateOf(m_state); }
    // The character that stopped the run, as its bytes: the whole character
    // (even when it came in two pieces), or the one byte that begins no
    // character. Empty unless the verdict is InvalidCharacter.
    QByteArrayView invalidCharacter() const
    {
        return QByteArrayView(reinterpret_cast<const char *>(m_invalid), m_invalidSize);
    }
    // With tracing: the states visited, as positions in `states`: the start
    // state, then the state each transition led to (a stay adds nothing).
    // Empty when the automaton has no states or the start state is invalid.
    const std::vector<qint16> &visited() const { return m_visited; }

private:
    using Row = ByteEngine::Row;

    void begin()
    {
        m_state = m_engine.m_start;
        m_running = m_engine.m_startIsValid;
        m_plain = m_running && !m_trace;
        m_finished = false;
        m_unfinishedSize = 0;
        m_invalidSize = 0;
        m_verdict = m_running ? ByteEngine::Verdict::Rejected : ByteEngine::Verdict::InvalidStart;
        if (m_trace)
            beginTrace();
    }
    void beginTrace();
    // feed() past its short loop: a character the last piece ended inside, a
    // long piece, the trace, a byte of the stop class.
    void feedRest(const uchar *p, const uchar *end);
    void runPiece(const uchar *p, const uchar *end);
    // Adds the start of a piece to the character the last piece ended inside;
    // gives where the piece goes on, or nullptr when nothing of it is left to run.
    const uchar *completeUnfinished(const uchar *p, const uchar *end);
    // Takes the step on a character outside ASCII; false when it is no symbol.
    bool stepWide(char32_t character);
    // Records the state a traced step led to, when it followed a transition.
    void noteStep(uint32_t cell, Row next);
    void stopAt(const uchar *character, int size);

    // The fields a string sets as it begins and ends lie side by side, so the
    // compiler can set them with few stores: short lines pay for each one.
    const ByteEngine &m_engine;
    Row m_state = 0;                     // the state reached so far
    bool m_running = true;               // no error yet
    bool m_finished = false;             // finish() was called: the next call begins a new string
    quint8 m_unfinishedSize = 0;
    quint8 m_invalidSize = 0;
    ByteEngine::Verdict m_verdict = ByteEngine::Verdict::Rejected;
    bool m_plain = true;                 // running, untraced, no character waiting: feed() may take its short loop
    bool m_trace;
    uchar m_unfinished[4] = {};          // a character the last piece ended inside
    uchar m_invalid[4] = {};             // the character or byte that stopped the run
    std::vector<qint16> m_visited;
};
