#include "cli/batch_run.h"

#include "document/text_encoding.h"
#include "run/run_texts.h"

#include <QIODevice>

using TextEncoding::completeUtf8Length;

StringRun::StringRun(const modAll &model, const RunSteps::SymbolIndex &index, bool trace)
    : m_model(model)
    , m_index(index)
    , m_trace(trace)
    , m_state(model.start_state)
{
    if (!RunSteps::startIsValid(model)) {
        m_failed = true;
        m_message = RunTexts::invalidStartState();
    } else if (m_trace && model.state_count > 0) {
        m_visited.append(m_state);
    }
}

void StringRun::feed(QStringView piece)
{
    if (m_failed || piece.isEmpty())
        return;
    const RunSteps::Stop stop = RunSteps::runText(m_model, m_index, piece, m_state, [this](qint16 state) {
        if (m_trace)
            m_visited.append(state);
    });
    if (stop.failed) {
        m_failed = true;
        m_message = RunTexts::invalidAlphabet(RunSteps::firstCharacter(piece.sliced(stop.consumed)).toString());
    }
}

QString StringRun::finish()
{
    QString columns = m_failed ? RunTexts::error() + u'\t' + m_message
                               : RunTexts::verdict(RunSteps::isAccepting(m_model, m_state));
    for (const qint16 state : std::as_const(m_visited))
        columns += u'\t' + m_model.states[state].name;
    m_visited.clear();
    return columns;
}

// A line of input arriving in pieces: each piece is echoed at once and run as
// far as its complete UTF-8 sequences go.
class BatchRun::Line
{
public:
    explicit Line(BatchRun &batch) : m_batch(batch), m_run(batch.m_model, batch.m_index, batch.m_trace) {}

    void feed(QByteArrayView bytes)
    {
        m_batch.write(bytes);
        if (!m_tail.isEmpty()) {
            m_tail += bytes;
            bytes = m_tail;
        }
        const qsizetype complete = completeUtf8Length(bytes);
        m_run.feed(QString::fromUtf8(bytes.first(complete)));
        m_tail = bytes.sliced(complete).toByteArray();
    }

    void finish()
    {
        m_run.feed(QString::fromUtf8(m_tail));
        m_batch.endString(m_run);
    }

private:
    BatchRun &m_batch;
    StringRun m_run;
    QByteArray m_tail;   // an unfinished UTF-8 sequence
};

BatchRun::BatchRun(const modAll &model, bool trace, QIODevice &out)
    : m_model(model)
    , m_index(model)
    , m_trace(trace)
    , m_out(out)
{
}

BatchRun::~BatchRun() = default;

void BatchRun::runString(QByteArrayView bytes)
{
    Line line(*this);
    line.feed(bytes);
    line.finish();
}

void BatchRun::runLines(QIODevice &in, qint64 chunkSize)
{
    QByteArray chunk(chunkSize, Qt::Uninitialized);
    std::optional<Line> line;
    bool heldReturn = false;   // a CR ended the last piece: the line's end, if LF follows
    for (;;) {
        const qint64 count = in.read(chunk.data(), chunkSize);
        if (count < 0 && m_ioError.isEmpty())
            m_ioError = QStringLiteral("cannot read the strings: ") + in.errorString();
        if (count <= 0)
            break;
        QByteArrayView data(chunk.constData(), count);
        while (!data.isEmpty()) {
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
    if (line) {
        if (heldReturn)
            line->feed("\r");
        line->finish();
    }
}

void BatchRun::endString(StringRun &run)
{
    const QString columns = run.finish();
    m_anyError = m_anyError || run.failed();
    write("\t");
    write(columns.toUtf8());
    write("\n");
}

void BatchRun::write(QByteArrayView bytes)
{
    m_buffer += bytes;
    if (m_buffer.size() >= 64 * 1024)
        flush();
}

bool BatchRun::flush()
{
    if (!m_buffer.isEmpty() && m_ioError.isEmpty()) {
        if (m_out.write(m_buffer) != m_buffer.size())
            m_ioError = QStringLiteral("cannot write the results: ") + m_out.errorString();
    }
    m_buffer.clear();
    return m_ioError.isEmpty();
}
