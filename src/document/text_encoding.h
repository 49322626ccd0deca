#pragma once

#include <QByteArrayView>
#include <QString>

// The text of a .tw file. Files are written in UTF-8 without a byte-order mark,
// so an ASCII automaton is the same bytes as ever. Files written by the classic
// program are 8-bit Windows text; a file that is not valid UTF-8 is read as
// Windows-1252 so that its accented names come back as they were typed.
namespace TextEncoding {

QString decodeFileText(QByteArrayView bytes);

// Windows-1252: bytes 0x80..0x9F are the typographic characters of that code
// page (the five it leaves undefined keep their own code points); every other
// byte is the Latin-1 character of the same value.
QString fromWindows1252(QByteArrayView bytes);

} // namespace TextEncoding
