#include "cli/batch_run.h"

#include "cli/copy_line.h"
#include "document/escaped_line.h"
#include "model/characters.h"
#include "model/mod_all.h"
#include "model/utf8.h"

#include <QIODevice>

#include <cstring>

namespace {

// Results are written once this much has gathered: large writes, few of them.
constexpr qsizetype writeSize = 4 * ioBlockSize;

// Whether a string made only of the automaton's symbols is written as it is:
// no symbol holds a byte that the one-line form escapes.
bool symbolsStandForThemselves(const modAll &model)
{
    for (const QString &symbol : model.symbols) {
        const QByteArray bytes = symbol.toUtf8();
        if (EscapedLine::escape(QByteArrayView(bytes)) != bytes)
            return false;
    }
    return true;
}

QList<QByteArray> escapedNames(const modAll &model)
{
    QList<QByteArray> names;
    for (const StateEntry &state : model.states)
        names.append(EscapedLine::escape(QByteArrayView(state.name.toUtf8())));
    return names;
}

} // namespace

StringResult runWholeString(const ByteEngine &engine, QByteArrayView bytes, qsizetype valid)
{
    const QString text = QString::fromUtf8(bytes.first(valid));
    const ByteEngine::TextRun end = engine.runText(text);
    StringResult result;
    if (end.verdict == ByteEngine::Verdict::InvalidStart) {
        result.verdict = RunVerdict::Error;
        result.status = statusText(end.verdict, QString());
        return result;
    }
    const QStringView taken = QStringView(text).first(end.consumed);
    result.state = end.state;
    result.steps = Characters::count(taken);
    QByteArray stoppedAt;   // the character or byte that stopped the run
    ByteEngine::Verdict verdict = end.verdict;
    if (verdict == ByteEngine::Verdict::InvalidCharacter) {
        stoppedAt = Characters::first(QStringView(text).sliced(end.consumed)).toUtf8();
    } else if (valid < bytes.size()) {
        verdict = ByteEngine::Verdict::InvalidCharacter;
        stoppedAt = bytes.sliced(valid, 1).toByteArray();
    }
    result.verdict = runVerdict(verdict);
    result.status = statusText(verdict, QString::fromUtf8(EscapedLine::escape(QByteArrayView(stoppedAt))));
    return result;
}

BatchRun::Ending::Ending(const QString &verdict)
{
    const QByteArray text = '\t' + verdict.toUtf8() + '\n';
    Q_ASSERT(text.size() <= qsizetype(sizeof bytes));   // the verdicts are short words of this program
    size = qMin(text.size(), qsizetype(sizeof bytes));
    std::memcpy(bytes, text.constData(), size_t(size));
}

BatchRun::BatchRun(const modAll &model, bool trace, QIODevice &out)
    : m_engine(model)
    , m_run(m_engine, trace)
    , m_escapedNames(escapedNames(model))
    , m_acceptedEnd(RunTexts::accepted())
    , m_rejectedEnd(RunTexts::rejected())
    , m_symbolsPlain(symbolsStandForThemselves(model))
    , m_out(out)
    // Room for a full buffer and a read's worth of line, each byte escaped to
    // four: it is made once and never grows.
    , m_buffer(writeSize + 4 * ioBlockSize + 64, Qt::Uninitialized)
    , m_bufferStart(m_buffer.data())
{
}

void BatchRun::runString(QByteArrayView bytes)
{
    if (!ok())
        return;
    const ByteEngine::Verdict verdict = m_run.run(bytes);
    // Most lines are all symbols and run to a verdict: when no symbol needs
    // escaping, the line is its own one-line form, copied with its ending.
    if (m_symbolsPlain && m_run.visited().empty()
        && (verdict == ByteEngine::Verdict::Accepted || verdict == ByteEngine::Verdict::Rejected)) {
        const Ending &ending = verdict == ByteEngine::Verdict::Accepted ? m_acceptedEnd : m_rejectedEnd;
        if (m_used + bytes.size() + qsizetype(sizeof ending.bytes) <= m_buffer.size()) {
            char *const to = m_bufferStart + m_used;
            copyLine(to, bytes.data(), bytes.size());
            std::memcpy(to + bytes.size(), ending.bytes, sizeof ending.bytes);   // one move; what follows is written over
            m_used += bytes.size() + ending.size;
            flushWhenFull();
            return;
        }
    }
    m_scratch.resize(0);
    EscapedLine::append(m_scratch, bytes);
    put(m_scratch);
    endString();
}

void BatchRun::runLines(QIODevice &in, qint64 chunkSize)
{
    const QString failure = readLines(in, chunkSize, *this);
    if (!failure.isEmpty() && ok())
        m_ioError = failure;
}

const char *BatchRun::whole(const char *p, const char *end)
{
    while (p != end && ok()) {
        const auto *newline = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        if (!newline)
            break;
        QByteArrayView line(p, newline);
        if (line.endsWith('\r'))
            line.chop(1);
        runString(line);
        p = newline + 1;
    }
    return p;
}

void BatchRun::piece(QByteArrayView bytes)
{
    escapePiece(bytes);
    m_run.feed(bytes);
}

void BatchRun::escapePiece(QByteArrayView bytes)
{
    // A sequence the last piece ended inside takes bytes until it is whole,
    // or until they show it never will be; what is settled is escaped, and
    // a new sequence they begin waits in its place.
    while (m_cutSize > 0 && !bytes.isEmpty()) {
        m_cut[m_cutSize++] = uchar(bytes.front());
        bytes = bytes.sliced(1);
        const QByteArrayView cut(reinterpret_cast<const char *>(m_cut), m_cutSize);
        const qsizetype whole = Utf8::completeLength(cut);
        putEscaped(cut.first(whole));
        m_cutSize = int(m_cutSize - whole);
        std::memmove(m_cut, m_cut + whole, size_t(m_cutSize));
    }
    if (m_cutSize > 0)
        return;   // the piece ended before the sequence did
    const qsizetype whole = Utf8::completeLength(bytes);
    putEscaped(bytes.first(whole));
    m_cutSize = int(bytes.size() - whole);
    std::memcpy(m_cut, bytes.data() + whole, size_t(m_cutSize));
    flushWhenFull();
}

void BatchRun::endPieces(QByteArrayView)
{
    putEscaped(QByteArrayView(reinterpret_cast<const char *>(m_cut), m_cutSize));
    m_cutSize = 0;
    m_run.finish();
    endString();
}

void BatchRun::endString()
{
    const ByteEngine::Verdict verdict = m_run.verdict();
    const std::vector<qint16> &visited = m_run.visited();
    // Most lines end in a verdict with nothing after it: one append.
    if (visited.empty() && verdict == ByteEngine::Verdict::Accepted)
        put(m_acceptedEnd.text());
    else if (visited.empty() && verdict == ByteEngine::Verdict::Rejected)
        put(m_rejectedEnd.text());
    else
        appendColumns(verdict, visited);
    flushWhenFull();
}

void BatchRun::appendColumns(ByteEngine::Verdict verdict, const std::vector<qint16> &visited)
{
    m_scratch.resize(0);
    m_scratch += '\t';
    m_scratch += verdictText(runVerdict(verdict)).toUtf8();
    if (verdict == ByteEngine::Verdict::InvalidCharacter || verdict == ByteEngine::Verdict::InvalidStart) {
        m_anyError = true;
        const QString shown = QString::fromUtf8(EscapedLine::escape(m_run.invalidCharacter()));
        m_scratch += '\t';
        m_scratch += statusText(verdict, shown).toUtf8();
    }
    for (const qint16 state : visited) {
        m_scratch += '\t';
        m_scratch += m_escapedNames[state];
        if (m_scratch.size() >= writeSize) {   // a long trace goes out as it gathers
            put(m_scratch);
            m_scratch.resize(0);
        }
    }
    m_scratch += '\n';
    put(m_scratch);
}

void BatchRun::putEscaped(QByteArrayView bytes)
{
    m_scratch.resize(0);
    EscapedLine::append(m_scratch, bytes);
    put(m_scratch);
}

void BatchRun::put(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    if (m_used + bytes.size() > m_buffer.size()) {
        flush();
        if (bytes.size() > m_buffer.size()) {
            write(bytes);
            return;
        }
    }
    std::memcpy(m_bufferStart + m_used, bytes.data(), size_t(bytes.size()));
    m_used += bytes.size();
}

void BatchRun::flushWhenFull()
{
    if (m_used >= writeSize)
        flush();
}

bool BatchRun::flush()
{
    write(QByteArrayView(m_bufferStart, m_used));
    m_used = 0;
    return ok();
}

void BatchRun::write(QByteArrayView bytes)
{
    if (!bytes.isEmpty() && ok() && m_out.write(bytes.data(), bytes.size()) != bytes.size())
        m_ioError = QStringLiteral("cannot write the results: ") + m_out.errorString();
}
