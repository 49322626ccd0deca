#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

// The text of a .tw file. Files are written in UTF-8 without a byte-order mark,
// so an automaton that uses only ASCII is plain ASCII. A file that is not valid
// UTF-8 is 8-bit Windows text and is read as Windows-1252, so that names typed
// with accents on such a system come back as they were typed. The encoding is
// decided once for the whole file; each value is then decoded on its own.
namespace TextEncoding {

// The byte-order mark a UTF-8 file may begin with; it is not part of the text.
inline constexpr QByteArrayView utf8ByteOrderMark("\xEF\xBB\xBF");

// Decodes the values of one file in the encoding chosen for the whole file.
// Every piece given to it holds whole characters: a file that is valid UTF-8
// is only ever cut at ASCII delimiters and between UTF-8 sequences.
class FileDecoder
{
public:
    explicit FileDecoder(bool utf8);

    // Appends the text of `bytes` to `out`. A byte-order mark inside the text
    // is the character U+FEFF like any other.
    void append(QString &out, QByteArrayView bytes);

private:
    bool m_utf8;
    QStringDecoder m_decoder;
};

} // namespace TextEncoding
