#pragma once

#include <QChar>
#include <QStringView>

// The field syntax of a .tw file, shared by the reader and the writer so that
// what one writes the other reads back.
//
// A .tw file is one value per line, every line ending in CR LF. The reader takes
// it as a stream of fields: a field ends at a comma or at the end of a line (CR
// LF, LF or CR alone); blanks before an unquoted field are skipped and blanks at
// its end are dropped; a field that begins with a double quote runs to its
// closing quote (line ends included), a doubled quote inside it standing for
// one quote, and whatever follows the closing quote up to the end of the field
// is not part of it.
namespace TwSyntax {

inline constexpr char statesKeyword[] = "Q";
inline constexpr char startKeyword[] = "Start";
inline constexpr char alphabetKeyword[] = "E";
inline constexpr char tableKeyword[] = "Q/E";
inline constexpr char trueFlag[] = "True";
inline constexpr char falseFlag[] = "False";

// Every delimiter is ASCII, so the reader finds fields in the bytes of a file
// whichever encoding it is in, and decodes each field on its own.
inline bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
inline bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }
inline bool isBlank(char c) { return c == ' ' || c == '\t'; }
inline bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
inline bool endsField(char c) { return c == ',' || isLineEnd(c); }

// Whether a name or symbol written bare on its line would read back as
// something else: it holds a field delimiter, a line end or a double quote, or
// begins or ends with a blank. Such text is written as a quoted field. Anything
// else is written bare, one value to a line, as every name and symbol of an
// ordinary automaton is.
inline bool needsQuotes(QStringView text)
{
    if (text.isEmpty())
        return false;
    if (isBlank(text.front()) || isBlank(text.back()))
        return true;
    for (QChar c : text)
        if (c == u',' || c == u'"' || isLineEnd(c))
            return true;
    return false;
}

} // namespace TwSyntax
