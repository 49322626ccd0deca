#pragma once

#include "document/text_encoding.h"
#include "document/tw_file_bytes.h"

#include <QByteArrayView>
#include <QString>
#include <optional>

// Cuts a .tw file's bytes into fields (see tw_syntax.h) and decodes each field
// on its own, counting lines as it goes. It reads either bytes the caller
// holds, or a file's pieces, each of which it releases once it has gone past
// it: the raw file and the text decoded from it are never both held in full.
class TwFieldStream
{
public:
    TwFieldStream(QByteArrayView bytes, bool utf8);
    explicit TwFieldStream(TwFileBytes &&bytes);

    bool exhausted() const { return m_remaining == 0; }
    // Appends the next field to `out`; false, appending nothing, when exhausted.
    bool next(QString &out);
    // The number at the start of the next field (see leadingNumber); false
    // when exhausted.
    bool nextNumber(qint64 &value);
    // Up to `count` number fields in the form the writer gives them (blanks,
    // digits of a value up to Limits::mostNumber, blanks, a comma or the
    // line's end), read into `out` at once; stops before any other field,
    // which nextNumber() reads. Gives how many were read.
    qsizetype nextPlainNumbers(qint16 *out, qsizetype count);

    // The line the last field started on (1-based).
    int fieldLine() const { return m_fieldLine; }
    // Where a field would start after the end of the file: the next line when
    // the last one has no line end.
    int lineAfterEnd() const;
    // The last field opened a quote that the file never closes.
    bool unclosedQuote() const { return m_unclosedQuote; }
    // Bytes not read yet: every field still to come takes at least one, so
    // this bounds how many can follow.
    qint64 remaining() const { return m_remaining; }

private:
    void skipByteOrderMark(bool utf8);
    void startField();
    void readField(QString &out);
    // Makes m_piece[m_pos] the next byte; false at the end of the file.
    bool refill() { return m_pos < m_piece.size() || nextPiece(); }
    bool nextPiece();
    void take(qsizetype n)
    {
        m_pos += n;
        m_remaining -= n;
    }
    void bare(QString &out);
    void quoted(QString &out);
    void consumeDelimiter();
    void countLines(QByteArrayView text);

    TextEncoding::FileDecoder m_decoder;
    QList<QByteArray> m_pieces;       // empty when reading the caller's bytes
    qsizetype m_nextPiece = 0;
    QByteArrayView m_piece;           // the piece being read
    qsizetype m_pos = 0;              // in m_piece
    qint64 m_remaining = 0;
    std::optional<char> m_lastByte;   // the file's last byte; none when it holds no text
    int m_line = 1;
    int m_fieldLine = 1;
    bool m_unclosedQuote = false;
    char m_previous = 0;              // the byte before, inside a quoted field
    QString m_numberText;             // a number field that needs decoding
};
