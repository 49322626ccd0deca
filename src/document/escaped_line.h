#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The one-line form of a string in a list of strings (the batch runner's
// results, lists of test strings): whatever bytes a string holds, it takes one
// line and, in a tab-separated row, one column.
//
//   \\      a backslash
//   \t      a tab (0x09)
//   \n      a line feed (0x0A)
//   \r      a carriage return (0x0D)
//   \xHH    any other byte below 0x20, the byte 0x7F, and each byte that is not
//           part of a valid UTF-8 sequence; HH is two upper-case hex digits
//
// Every other byte is itself, so valid UTF-8 text (accents, emoji) reads as it
// is. Valid UTF-8 is what Utf8 (model/utf8.h) says it is; a sequence cut
// short is invalid byte by byte.
namespace EscapedLine {

// Appends the escaped form of `bytes` to `out`, and gives the length of the
// longest start of `bytes` that is valid UTF-8, which escaping has to find
// anyway. Escaping a string in pieces gives the escaped whole only when no
// piece ends inside a UTF-8 sequence.
qsizetype append(QByteArray &out, QByteArrayView bytes);
QByteArray escape(QByteArrayView bytes);
// The escaped form of the UTF-8 encoding of `text`.
QString escape(QStringView text);

struct Unescaped
{
    QByteArray bytes;
    qsizetype badEscapeAt = -1;   // offset of a backslash that starts no escape; -1 when there is none

    bool ok() const { return badEscapeAt < 0; }
};

// The bytes an escaped line stands for; the inverse of escape(). Hex digits
// may be of either case. A byte that needs no escape stands for itself even
// where escape() would have escaped it (a raw tab is a tab), so text typed by
// hand reads as meant. A backslash followed by anything but \ t n r or x and
// two hex digits makes the line malformed: `bytes` then holds what came before.
Unescaped unescape(QByteArrayView line);

} // namespace EscapedLine
