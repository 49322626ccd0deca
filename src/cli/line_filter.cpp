#include "cli/line_filter.h"

#include "cli/line_reader.h"

#include <QIODevice>

LineFilter::LineFilter(const modAll &model, std::optional<RunVerdict> only, QIODevice &out)
    : m_engine(model)
    , m_lines(m_engine)
    , m_only(only)
    , m_out(out)
    , m_buffer(only ? readSize : 0, Qt::Uninitialized)
{
}

void LineFilter::runString(QByteArrayView bytes)
{
    const ByteEngine::Verdict verdict = m_lines.runString(bytes);
    note(verdict);
    if (keeps(verdict)) {
        put(bytes);
        put("\n");
    }
}

void LineFilter::runLines(QIODevice &in, qint64 chunkSize)
{
    const QString failure = readLines(in, chunkSize, *this);
    if (!failure.isEmpty() && ok())
        m_ioError = failure;
}

const char *LineFilter::whole(const char *p, const char *end)
{
    if (!m_only)
        return m_lines.run(p, end, [this](ByteEngine::Verdict verdict, const uchar *, const uchar *) {
            note(verdict);
            return true;
        });
    // Kept lines next to each other in the buffer go out as one piece.
    const uchar *keptFrom = nullptr;
    const uchar *keptTo = nullptr;
    const auto putKept = [&] {
        put(QByteArrayView(keptFrom, keptTo));
        return ok();
    };
    const char *const rest = m_lines.run(p, end, [&](ByteEngine::Verdict verdict, const uchar *line, const uchar *next) {
        note(verdict);
        if (!keeps(verdict))
            return true;
        if (line != keptTo) {
            if (!putKept())
                return false;
            keptFrom = line;
        }
        keptTo = next;
        return true;
    });
    putKept();
    return rest;
}

void LineFilter::piece(QByteArrayView bytes)
{
    ByteRun &run = m_lines.pieces();
    if (!m_inLine) {
        m_inLine = true;
        m_pieces = m_only ? Pieces::Hold : Pieces::Drop;
    }
    run.feed(bytes);
    // A line that has met an error is ERROR whatever follows.
    if (m_pieces == Pieces::Hold && run.stopped()) {
        if (*m_only == RunVerdict::Error) {
            put(m_held);
            m_pieces = Pieces::Write;
        } else {
            m_pieces = Pieces::Drop;
        }
        m_held = QByteArray();
    }
    if (m_pieces == Pieces::Hold)
        m_held += bytes;
    else if (m_pieces == Pieces::Write)
        put(bytes);
}

void LineFilter::endPieces(QByteArrayView ending)
{
    const ByteEngine::Verdict verdict = m_lines.pieces().finish();
    note(verdict);
    if (keeps(verdict)) {
        put(m_held);
        put(ending.isEmpty() ? QByteArrayView("\n") : ending);
    }
    m_held = QByteArray();
    m_inLine = false;
}

qint64 LineFilter::count(RunVerdict verdict) const
{
    qint64 total = 0;
    for (size_t v = 0; v < std::size(m_counts); ++v)
        if (runVerdict(ByteEngine::Verdict(v)) == verdict)
            total += m_counts[v];
    return total;
}

bool LineFilter::flush()
{
    if (!m_only) {
        QByteArray counts;
        for (const RunVerdict verdict : {RunVerdict::Accepted, RunVerdict::Rejected, RunVerdict::Error})
            counts += verdictText(verdict).toUtf8() + ' ' + QByteArray::number(count(verdict)) + '\n';
        put(counts);
    }
    writeBuffer();
    return ok();
}

void LineFilter::put(QByteArrayView bytes)
{
    if (bytes.isEmpty() || !ok())
        return;
    if (m_used + bytes.size() > m_buffer.size()) {
        writeBuffer();
        if (bytes.size() > m_buffer.size()) {
            if (ok() && m_out.write(bytes.data(), bytes.size()) != bytes.size())
                m_ioError = QStringLiteral("cannot write the results: ") + m_out.errorString();
            return;
        }
    }
    std::memcpy(m_buffer.data() + m_used, bytes.data(), size_t(bytes.size()));
    m_used += bytes.size();
}

void LineFilter::writeBuffer()
{
    if (m_used > 0 && ok() && m_out.write(m_buffer.constData(), m_used) != m_used)
        m_ioError = QStringLiteral("cannot write the results: ") + m_out.errorString();
    m_used = 0;
}
