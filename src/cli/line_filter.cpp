#include "cli/line_filter.h"

#include "cli/copy_line.h"

#include <QIODevice>

#include <cstring>

LineFilter::LineFilter(const modAll &model, std::optional<RunVerdict> only, QIODevice &out)
    : m_engine(model)
    , m_lines(m_engine)
    , m_only(only)
    , m_out(out)
    // Room for a full buffer and one short line more.
    , m_buffer(only ? readSize + shortLine : 0, Qt::Uninitialized)
    , m_bufferStart(m_buffer.data())
{
    for (size_t verdict = 0; verdict < std::size(m_kept); ++verdict)
        m_kept[verdict] = only && runVerdict(ByteEngine::Verdict(verdict)) == *only;
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
    m_in = &in;
    m_holdLimit = chunkSize;
    m_offset = in.isSequential() ? 0 : in.pos();
    const QString failure = readLines(in, chunkSize, *this);
    m_in = nullptr;
    if (!failure.isEmpty() && ok())
        m_ioError = failure;
}

const char *LineFilter::whole(const char *p, const char *end)
{
    if (!m_only) {
        const char *const rest = m_lines.run(p, end, [this](ByteEngine::Verdict verdict, const uchar *, const uchar *) {
            note(verdict);
            return true;
        });
        m_offset += rest - p;
        return rest;
    }
    // A short line is copied whether it is kept or not, and what is written
    // grows only when it is: whether a line is kept is as hard to foresee as
    // its verdict, and a branch foreseen wrong costs more than the copy. The
    // count of bytes to write stays in a register meanwhile.
    qsizetype used = m_used;
    const auto withUsed = [&](auto &&call) {
        m_used = used;
        call();
        used = m_used;
        return ok();
    };
    const char *const rest = m_lines.run(p, end, [&](ByteEngine::Verdict verdict, const uchar *line, const uchar *next) {
        note(verdict);
        const auto *bytes = reinterpret_cast<const char *>(line);
        const qsizetype size = next - line;
        // A long line, or a full buffer, goes out as any other output.
        if (size > shortLine || used > readSize)
            return withUsed([&] {
                if (keeps(verdict))
                    put(QByteArrayView(bytes, size));
            });
        copyLine(m_bufferStart + used, bytes, size);
        used += size & -qsizetype(keeps(verdict));
        return true;
    });
    m_used = used;
    m_offset += rest - p;
    return rest;
}

void LineFilter::piece(QByteArrayView bytes)
{
    if (!m_inLine) {
        m_inLine = true;
        m_pieces = m_only ? Pieces::Hold : Pieces::Drop;
        m_lineOffset = m_offset;
        m_lineLength = 0;
    }
    m_offset += bytes.size();
    ByteRun &run = m_lines.pieces();
    run.feed(bytes);
    // A line that has met an error is ERROR whatever follows.
    if (run.stopped() && (m_pieces == Pieces::Hold || m_pieces == Pieces::ReadAgain)) {
        if (*m_only == RunVerdict::Error) {
            putLineSoFar();
            m_pieces = Pieces::Write;
        } else {
            m_pieces = Pieces::Drop;
        }
        m_held = QByteArray();
    }
    if (m_pieces == Pieces::Hold) {
        m_held += bytes;
        if (m_held.size() > m_holdLimit && m_in && !m_in->isSequential()) {
            m_held = QByteArray();
            m_pieces = Pieces::ReadAgain;
        }
    } else if (m_pieces == Pieces::Write) {
        put(bytes);
    }
    m_lineLength += bytes.size();
}

void LineFilter::endPieces(QByteArrayView ending)
{
    const ByteEngine::Verdict verdict = m_lines.pieces().finish();
    note(verdict);
    if (keeps(verdict)) {
        if (m_pieces != Pieces::Write)
            putLineSoFar();
        put(ending.isEmpty() ? QByteArrayView("\n") : ending);
    }
    m_offset += ending.size();
    m_held = QByteArray();
    m_inLine = false;
}

void LineFilter::putLineSoFar()
{
    if (m_pieces != Pieces::ReadAgain) {
        put(m_held);
        return;
    }
    const qint64 resume = m_in->pos();
    bool readOk = m_in->seek(m_lineOffset);
    QByteArray chunk(qMin(m_lineLength, readSize), Qt::Uninitialized);
    for (qint64 left = m_lineLength; readOk && left > 0 && ok();) {
        const qint64 count = m_in->read(chunk.data(), qMin<qint64>(left, chunk.size()));
        readOk = count > 0;
        if (readOk) {
            put(QByteArrayView(chunk.constData(), count));
            left -= count;
        }
    }
    if ((!readOk || !m_in->seek(resume)) && ok())
        m_ioError = QStringLiteral("cannot read the strings again: ") + m_in->errorString();
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
    std::memcpy(m_bufferStart + m_used, bytes.data(), size_t(bytes.size()));
    m_used += bytes.size();
}

void LineFilter::writeBuffer()
{
    if (m_used > 0 && ok() && m_out.write(m_bufferStart, m_used) != m_used)
        m_ioError = QStringLiteral("cannot write the results: ") + m_out.errorString();
    m_used = 0;
}
