#include "cli/batch_run.h"

#include "document/escaped_line.h"
#include "document/text_encoding.h"
#include "model/mod_all.h"

#include <QIODevice>

using TextEncoding::completeUtf8Length;

BatchAutomaton::BatchAutomaton(const modAll &automaton)
    : run(automaton)
    , escapedNames([&automaton] {
        QList<QByteArray> names;
        for (const StateEntry &state : automaton.states)
            names.append(EscapedLine::escape(QByteArrayView(state.name.toUtf8())));
        return names;
    }())
{
}

StringRun::StringRun(const BatchAutomaton &automaton, bool trace)
    : m_automaton(automaton)
    , m_run(automaton.run, trace)
{
}

void StringRun::feed(QByteArrayView piece, qsizetype valid)
{
    if (m_run.stopped() || piece.isEmpty())
        return;
    m_run.feed(QString::fromUtf8(piece.first(valid)));
    if (valid < piece.size() && !m_run.stopped()) {
        m_run.stopAtNonCharacter();
        m_nonCharacter = piece.sliced(valid, 1).toByteArray();
    }
}

RunOutcome StringRun::finish()
{
    return m_run.finish();
}

QString StringRun::statusText(const RunOutcome &end) const
{
    const QString shown = m_nonCharacter.isEmpty()
        ? EscapedLine::escape(end.invalidCharacter)
        : QString::fromLatin1(EscapedLine::escape(QByteArrayView(m_nonCharacter)));
    return end.statusText(shown);
}

void StringRun::finish(QByteArray &out)
{
    const RunOutcome end = finish();
    out += verdictText(end.verdict).toUtf8();
    if (end.verdict == RunVerdict::Error) {
        out += '\t';
        out += statusText(end).toUtf8();
    }
    for (const qint16 state : end.visited) {
        out += '\t';
        out += m_automaton.escapedNames[state];
    }
}

namespace {

// Characters in the first `units` UTF-16 units of the valid UTF-8 `text`: a
// sequence of four bytes is two units, any other one.
qsizetype charactersIn(QByteArrayView text, qsizetype units)
{
    qsizetype characters = 0;
    for (qsizetype i = 0; i < text.size() && units > 0; ++i) {
        const auto byte = quint8(text[i]);
        if ((byte & 0xC0) == 0x80)
            continue;
        units -= byte >= 0xF0 ? 2 : 1;
        ++characters;
    }
    return characters;
}

} // namespace

StringResult runWholeString(const BatchAutomaton &automaton, QByteArrayView bytes, qsizetype valid)
{
    StringRun run(automaton, false);
    run.feed(bytes, valid);
    const RunOutcome end = run.finish();
    return {end.verdict, end.state, charactersIn(bytes.first(valid), end.consumed), run.statusText(end)};
}

// A line of input arriving in pieces: each piece is echoed and run at once as
// far as its complete UTF-8 sequences go; an unfinished sequence waits for the
// next piece, so that both see the line as they would see it whole.
class BatchRun::Line
{
public:
    explicit Line(BatchRun &batch) : m_batch(batch), m_run(batch.m_automaton, batch.m_trace) {}

    void feed(QByteArrayView bytes)
    {
        if (!m_tail.isEmpty()) {
            m_tail += bytes;
            bytes = m_tail;
        }
        const QByteArrayView complete = bytes.first(completeUtf8Length(bytes));
        m_run.feed(complete, m_batch.writeEscaped(complete));
        m_tail = bytes.sliced(complete.size()).toByteArray();
    }

    void finish()
    {
        m_run.feed(m_tail, m_batch.writeEscaped(m_tail));
        m_batch.endString(m_run);
    }

private:
    BatchRun &m_batch;
    StringRun m_run;
    QByteArray m_tail;   // an unfinished UTF-8 sequence
};

BatchRun::BatchRun(const modAll &model, bool trace, QIODevice &out)
    : m_automaton(model)
    , m_trace(trace)
    , m_out(out)
{
}

BatchRun::~BatchRun() = default;

void BatchRun::runString(QByteArrayView bytes)
{
    if (!ok())
        return;
    Line line(*this);
    line.feed(bytes);
    line.finish();
}

void BatchRun::runLines(QIODevice &in, qint64 chunkSize)
{
    QByteArray chunk(chunkSize, Qt::Uninitialized);
    std::optional<Line> line;
    bool heldReturn = false;   // a CR ended the last piece: the line's end, if LF follows
    while (ok()) {
        const qint64 count = in.read(chunk.data(), chunkSize);
        if (count < 0)
            m_ioError = QStringLiteral("cannot read the strings: ") + in.errorString();
        if (count <= 0)
            break;
        QByteArrayView data(chunk.constData(), count);
        while (!data.isEmpty() && ok()) {
            if (!line)
                line.emplace(*this);
            const qsizetype newline = data.indexOf('\n');
            QByteArrayView piece = newline < 0 ? data : data.first(newline);
            if (heldReturn && newline != 0)
                line->feed("\r");
            heldReturn = piece.endsWith('\r');
            if (heldReturn)
                piece.chop(1);
            line->feed(piece);
            if (newline < 0)
                break;
            heldReturn = false;
            line->finish();
            line.reset();
            data = data.sliced(newline + 1);
        }
    }
    if (line && ok()) {
        if (heldReturn)
            line->feed("\r");
        line->finish();
    }
}

void BatchRun::endString(StringRun &run)
{
    m_buffer += '\t';
    run.finish(m_buffer);
    m_buffer += '\n';
    m_anyError = m_anyError || run.failed();
    flushWhenFull();
}

qsizetype BatchRun::writeEscaped(QByteArrayView bytes)
{
    const qsizetype valid = EscapedLine::append(m_buffer, bytes);
    flushWhenFull();
    return valid;
}

void BatchRun::flushWhenFull()
{
    if (m_buffer.size() >= ioBlockSize)
        flush();
}

bool BatchRun::flush()
{
    if (!m_buffer.isEmpty() && ok()) {
        if (m_out.write(m_buffer) != m_buffer.size())
            m_ioError = QStringLiteral("cannot write the results: ") + m_out.errorString();
    }
    m_buffer.resize(0);   // keeps its capacity for the next results
    return ok();
}
