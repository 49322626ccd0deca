#pragma once

#include "run/byte_engine_run.h"

#include <array>
#include <cstring>

// The lines of a read buffer run one after another when only each line's
// verdict matters (counting them, or keeping the lines of one verdict): one
// loop walks the table over every byte and takes the verdict at each line
// feed, so a short line costs its bytes and one comparison more.
//
// A line ends at LF, and a CR just before it is part of the ending, not of
// the line. The loop knows neither CR nor anything outside ASCII symbols: CR
// is in the stop class here, so a line that holds one, or a byte of the stop
// class, or that is long, is found whole with memchr and run by a ByteRun,
// exactly as the batch runner runs a line (long ones data-parallel, where the
// automaton allows).
class ByteLines
{
public:
    using Verdict = ByteEngine::Verdict;

    explicit ByteLines(const ByteEngine &engine)
        : m_engine(engine)
        , m_run(engine, false)
        , m_lineClass(engine.m_byteClass)
    {
        m_lineClass['\r'] = 0;
    }

    // Runs every line of [p, end) that ends with LF there; `onLine(verdict,
    // line, next)` is called for each, [line, next) holding the line with its
    // ending. Returns where the bytes after the last LF begin (`end` when
    // there are none), or, when `onLine` returns false, where the line after
    // that one begins.
    template <typename OnLine>
    const char *run(const char *from, const char *end, OnLine &&onLine)
    {
        const auto *p = reinterpret_cast<const uchar *>(from);
        const auto *const last = reinterpret_cast<const uchar *>(end);
        const ByteEngine &e = m_engine;
        const uchar *line = p;
        Row state = e.m_start;
        while (p != last) {
            // Short lines of ASCII symbols: the whole stretch in one loop.
            const uchar *const stretchEnd = !e.m_startIsValid ? p : last - p > longLine ? p + longLine : last;
            for (; p != stretchEnd; ++p) {
                const uchar byte = *p;
                if (byte == '\n') {
                    if (!onLine(e.verdictAt(state), line, p + 1))
                        return reinterpret_cast<const char *>(p + 1);
                    state = e.m_start;
                    line = p + 1;
                    continue;
                }
                const Row next = e.m_table[state + m_lineClass[byte]];
                if (next == e.m_stop)
                    break;
                state = next;
            }
            if (p == stretchEnd && p != last && p - line < longLine && e.m_startIsValid)
                continue;
            // The rest of the line is left to the ByteRun.
            const auto *newline = static_cast<const uchar *>(std::memchr(p, '\n', size_t(last - p)));
            if (!newline)
                break;
            QByteArrayView bytes(reinterpret_cast<const char *>(line), newline - line);
            if (bytes.endsWith('\r'))
                bytes.chop(1);
            if (!onLine(m_run.run(bytes), line, newline + 1))
                return reinterpret_cast<const char *>(newline + 1);
            state = e.m_start;
            p = line = newline + 1;
        }
        return reinterpret_cast<const char *>(line);
    }

    // One string, without a line ending.
    Verdict runString(QByteArrayView bytes) { return m_run.run(bytes); }
    // A line cut into pieces (longer than a read), as ByteRun takes it.
    ByteRun &pieces() { return m_run; }

private:
    using Row = ByteEngine::Row;

    // A line longer than this runs as a ByteRun run does: found with memchr,
    // then through the data-parallel path.
    static constexpr qsizetype longLine = ByteEngineVector::blockSize;

    const ByteEngine &m_engine;
    ByteRun m_run;
    // The engine's byte classes with CR in the stop class. (An invalid start
    // state sends every line to the ByteRun, which reports it.)
    std::array<uint8_t, 256> m_lineClass{};
};
