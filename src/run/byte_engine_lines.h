#pragma once

#include "run/byte_engine_run.h"

#include <array>
#include <cstring>

// The lines of a read buffer run one after another when only each line's
// verdict matters (counting them, or keeping the lines of one verdict): one
// loop walks the table over every byte and, at each line feed, takes the
// verdict of the state reached, so a line costs its bytes and one comparison.
//
// A line ends at LF, and a CR just before it is part of the ending, not of
// the line. The loop knows neither CR nor anything outside ASCII symbols: CR
// is in the stop class here, and Stop leads to itself, so a line that met
// either ends in Stop. Such a line, and a long one, is found whole with memchr
// and run again by a ByteRun, exactly as the batch runner runs a line (long
// ones data-parallel, where the automaton allows).
class ByteLines
{
public:
    using Verdict = ByteEngine::Verdict;

    explicit ByteLines(const ByteEngine &engine)
        : m_engine(engine)
        , m_run(engine, false)
    {
        for (int byte = 0; byte < 256; ++byte)
            m_lineClass[size_t(byte)] = byte == '\r' ? 0 : engine.m_byteClass[size_t(byte)];
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
        // Held here, where nothing `onLine` writes can change them, so the
        // loop keeps them in registers.
        const Row *const table = m_engine.m_table.data();
        const uint32_t *const lineClass = m_lineClass.data();
        const Row start = m_engine.m_start;
        const Row stop = m_engine.m_stop;
        const Row acceptLimit = m_engine.m_acceptLimit;
        const bool startIsValid = m_engine.m_startIsValid;
        const uchar *line = p;
        Row state = start;
        while (p != last) {
            // Short lines: the whole stretch in one loop, with no look at a
            // step until the line's end.
            const uchar *const stretchEnd = !startIsValid ? p : last - p > longLine ? p + longLine : last;
            for (; p != stretchEnd; ++p) {
                const uchar byte = *p;
                if (byte != '\n') {
                    state = table[state + lineClass[byte]];
                    continue;
                }
                if (state == stop)
                    break;
                if (!onLine(state < acceptLimit ? Verdict::Accepted : Verdict::Rejected, line, p + 1))
                    return reinterpret_cast<const char *>(p + 1);
                state = start;
                line = p + 1;
            }
            if (p == stretchEnd && (p == last || p - line < longLine) && startIsValid)
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
            state = start;
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
    // The engine's byte classes with CR in the stop class, 32 bits wide so
    // that a step adds one straight from memory. (An invalid start state
    // sends every line to the ByteRun, which reports it.)
    std::array<uint32_t, 256> m_lineClass{};
};
