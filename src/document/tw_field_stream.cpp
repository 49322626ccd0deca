#include "document/tw_field_stream.h"

#include "document/tw_syntax.h"
#include "model/leading_number.h"
#include "model/limits.h"

using TwSyntax::endsField;
using TwSyntax::isBlank;
using TwSyntax::isLineEnd;

TwFieldStream::TwFieldStream(QByteArrayView bytes, bool utf8)
    : m_decoder(utf8)
    , m_piece(bytes)
    , m_remaining(bytes.size())
    , m_lastByte(bytes.isEmpty() ? std::nullopt : std::optional<char>(bytes.back()))
{
    skipByteOrderMark(utf8);
}

TwFieldStream::TwFieldStream(TwFileBytes &&bytes)
    : m_decoder(bytes.utf8)
    , m_pieces(std::move(bytes.pieces))
{
    for (const QByteArray &piece : std::as_const(m_pieces))
        m_remaining += piece.size();
    if (!m_pieces.isEmpty())
        m_lastByte = m_pieces.back().back();
    skipByteOrderMark(bytes.utf8);
}

// Valid UTF-8 pieces hold whole sequences, so a mark is all in the first one.
void TwFieldStream::skipByteOrderMark(bool utf8)
{
    if (utf8 && refill() && m_piece.sliced(m_pos).startsWith(TextEncoding::utf8ByteOrderMark))
        take(TextEncoding::utf8ByteOrderMark.size());
    if (exhausted())
        m_lastByte.reset();
}

int TwFieldStream::lineAfterEnd() const
{
    const bool open = m_lastByte && !isLineEnd(*m_lastByte) && *m_lastByte != ',';
    return m_line + (open ? 1 : 0);
}

bool TwFieldStream::next(QString &out)
{
    if (exhausted())
        return false;
    startField();
    readField(out);
    return true;
}

bool TwFieldStream::nextNumber(qint64 &value)
{
    if (exhausted())
        return false;
    startField();
    // A number is ASCII in either encoding, and its first byte that is not
    // ASCII ends it as the character decoded from there would: a bare field
    // that ends in this piece is read from the bytes as they are.
    if (refill() && m_piece[m_pos] != '"') {
        const QByteArrayView rest = m_piece.sliced(m_pos);
        qsizetype end = 0;
        while (end < rest.size() && !endsField(rest[end]))
            ++end;
        if (end < rest.size()) {
            value = leadingNumber(QLatin1StringView(rest.first(end)));
            take(end);
            consumeDelimiter();
            return true;
        }
    }
    m_numberText.truncate(0);
    readField(m_numberText);
    value = leadingNumber(m_numberText);
    return true;
}

qsizetype TwFieldStream::nextPlainNumbers(qint16 *out, qsizetype count)
{
    // The position and line stay in registers until the last field is read:
    // each field's start depends on the one before, and a trip through memory
    // would lengthen every step.
    const char *const start = m_piece.data() + m_pos;
    const char *const end = m_piece.data() + m_piece.size();
    const char *p = start;
    int line = m_line;
    int fieldLine = m_fieldLine;
    qsizetype read = 0;
    for (; read < count; ++read) {
        const char *q = p;
        while (q != end && isBlank(*q))
            ++q;
        const char *const digits = q;
        int value = 0;
        for (; q != end && q - digits < 5 && unsigned(*q - '0') < 10; ++q)
            value = value * 10 + (*q - '0');
        if (q == digits || value > Limits::mostNumber)
            break;
        while (q != end && isBlank(*q))
            ++q;
        if (end - q < 2 || !endsField(*q))
            break;   // also when a CR's LF may be in the next piece
        fieldLine = line;
        if (*q == '\r' && q[1] == '\n')
            ++q;
        if (isLineEnd(*q))
            ++line;
        p = q + 1;
        out[read] = qint16(value);
    }
    take(p - start);
    m_line = line;
    m_fieldLine = fieldLine;
    return read;
}

// Skips the blanks before a field.
void TwFieldStream::startField()
{
    while (refill() && isBlank(m_piece[m_pos]))
        take(1);
    m_fieldLine = m_line;
}

void TwFieldStream::readField(QString &out)
{
    if (refill() && m_piece[m_pos] == '"') {
        take(1);
        quoted(out);
    } else {
        bare(out);
    }
}

// Moves on to the next piece that holds a byte, releasing the one read.
bool TwFieldStream::nextPiece()
{
    while (m_pos >= m_piece.size()) {
        if (m_nextPiece >= m_pieces.size())
            return false;
        if (m_nextPiece > 0)
            m_pieces[m_nextPiece - 1] = QByteArray();
        m_piece = m_pieces[m_nextPiece++];
        m_pos = 0;
    }
    return true;
}

// Up to the delimiter, without the blanks at its end.
void TwFieldStream::bare(QString &out)
{
    const qsizetype start = out.size();
    for (bool last = false; !last && refill();) {
        const QByteArrayView rest = m_piece.sliced(m_pos);
        qsizetype end = 0;
        while (end < rest.size() && !endsField(rest[end]))
            ++end;
        take(end);
        last = end < rest.size() || exhausted();
        QByteArrayView text = rest.first(end);
        while (last && !text.isEmpty() && isBlank(text.back()))
            text.chop(1);
        m_decoder.append(out, text);
    }
    // Blanks that ended an earlier piece of a field cut across pieces.
    const QChar *text = out.constData();
    qsizetype end = out.size();
    while (end > start && isBlank(text[end - 1]))
        --end;
    if (end < out.size())
        out.truncate(end);
    consumeDelimiter();
}

// From after the opening quote to the closing one, line ends included, a
// doubled quote standing for one; a field never closed runs to the end of the
// file. What follows the closing quote up to the delimiter is dropped.
void TwFieldStream::quoted(QString &out)
{
    m_unclosedQuote = false;
    m_previous = 0;
    for (;;) {
        if (!refill()) {
            m_unclosedQuote = true;
            return;
        }
        const QByteArrayView rest = m_piece.sliced(m_pos);
        const qsizetype quote = rest.indexOf('"');
        const QByteArrayView text = quote < 0 ? rest : rest.first(quote);
        m_decoder.append(out, text);
        countLines(text);
        take(text.size());
        if (quote < 0)
            continue;
        take(1);
        if (!refill() || m_piece[m_pos] != '"')
            break;
        take(1);
        out += u'"';
        m_previous = '"';
    }
    while (refill() && !endsField(m_piece[m_pos]))
        take(1);
    consumeDelimiter();
}

// CR LF, LF and CR alone each end one line.
void TwFieldStream::consumeDelimiter()
{
    if (!refill())
        return;
    const char c = m_piece[m_pos];
    take(1);
    if (c == '\r' && refill() && m_piece[m_pos] == '\n')
        take(1);
    if (isLineEnd(c))
        ++m_line;
}

// Line ends inside a quoted field, which may arrive in several parts: a CR
// counts, and an LF unless a CR came just before it.
void TwFieldStream::countLines(QByteArrayView text)
{
    for (const char c : text) {
        if (c == '\r' || (c == '\n' && m_previous != '\r'))
            ++m_line;
        m_previous = c;
    }
}
