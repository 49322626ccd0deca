#include "run/byte_engine_run.h"

#include "model/utf8.h"

#include <algorithm>
#include <cstring>

using Utf8::Sequence;

ByteRun::ByteRun(const ByteEngine &engine, bool trace)
    : m_engine(engine)
    , m_trace(trace)
{
    begin();
}

void ByteRun::beginTrace()
{
    m_visited.clear();
    if (m_running && m_engine.m_hasStates)
        m_visited.push_back(m_engine.stateOf(m_state));
}

void ByteRun::feedRest(const uchar *p, const uchar *end)
{
    if (p != end && m_unfinishedSize > 0)
        p = completeUnfinished(p, end);
    if (p)
        runPiece(p, end);
}

void ByteRun::runPiece(const uchar *p, const uchar *end)
{
    for (;;) {
        if (m_trace)
            p = m_engine.walk(p, end, m_state, [this](uint32_t cell, Row next) { noteStep(cell, next); });
        else
            p = m_engine.runBytes(p, end, m_state);
        if (p == end)
            return;
        // A byte of the stop class: an ASCII character that is no symbol, or
        // the first byte of something that is not ASCII.
        int length = 1;
        const Sequence sequence = *p < 0x80 ? Sequence::Invalid : Utf8::check(p, end - p, length);
        if (sequence == Sequence::Unfinished) {
            m_plain = false;
            m_unfinishedSize = quint8(end - p);
            std::memcpy(m_unfinished, p, size_t(m_unfinishedSize));
            return;
        }
        if (sequence == Sequence::Invalid) {
            stopAt(p, 1);
            return;
        }
        if (!stepWide(Utf8::decode(p, length))) {
            stopAt(p, length);
            return;
        }
        p += length;
    }
}

const uchar *ByteRun::completeUnfinished(const uchar *p, const uchar *end)
{
    const int wanted = Utf8::sequenceLength(m_unfinished[0]);
    const int taken = int(std::min<qsizetype>(wanted - m_unfinishedSize, end - p));
    std::memcpy(m_unfinished + m_unfinishedSize, p, size_t(taken));
    m_unfinishedSize = quint8(m_unfinishedSize + taken);
    int length = 0;
    switch (Utf8::check(m_unfinished, m_unfinishedSize, length)) {
    case Sequence::Unfinished:
        return nullptr;
    case Sequence::Invalid:
        stopAt(m_unfinished, 1);
        return nullptr;
    case Sequence::Complete:
        break;
    }
    m_unfinishedSize = 0;
    m_plain = !m_trace;
    if (!stepWide(Utf8::decode(m_unfinished, length))) {
        stopAt(m_unfinished, length);
        return nullptr;
    }
    return p + taken;
}

bool ByteRun::stepWide(char32_t character)
{
    if (!m_trace)
        return m_engine.stepWide(character, m_state, [](uint32_t, Row) {});
    return m_engine.stepWide(character, m_state, [this](uint32_t cell, Row next) { noteStep(cell, next); });
}

void ByteRun::noteStep(uint32_t cell, Row next)
{
    if (m_engine.moves(cell))
        m_visited.push_back(m_engine.stateOf(next));
}

void ByteRun::stopAt(const uchar *character, int size)
{
    m_running = false;
    m_plain = false;
    m_verdict = ByteEngine::Verdict::InvalidCharacter;
    m_invalidSize = quint8(size);
    std::memcpy(m_invalid, character, size_t(size));
}
