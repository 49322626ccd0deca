#pragma once

#include <QString>
#include <QStringView>

// What one character is, for symbols and for the input a run reads: one
// Unicode code point, so a surrogate pair (an emoji, a symbol outside the basic
// plane) is one character. An alphabet symbol is exactly one character, and a
// run step takes one character from the front of the input.
namespace Characters {

// Number of UTF-16 units of the first character of `text` (1 or 2; 0 when empty).
inline qsizetype firstLength(QStringView text)
{
    if (text.isEmpty())
        return 0;
    return text.size() > 1 && text[0].isHighSurrogate() && text[1].isLowSurrogate() ? 2 : 1;
}

// The first character of `text` (empty when `text` is).
inline QStringView first(QStringView text)
{
    return text.first(firstLength(text));
}

// Whether `text` is exactly one character, as a symbol must be.
inline bool isOne(QStringView text)
{
    return !text.isEmpty() && firstLength(text) == text.size();
}

// The code point of `character`, one character. A lone surrogate is a
// character of its own (the input box can hold one), so it stands for itself,
// never for U+FFFD, which may be a symbol of its own.
inline char32_t codePoint(QStringView character)
{
    return firstLength(character) == 2 ? QChar::surrogateToUcs4(character[0], character[1])
                                       : char32_t(character[0].unicode());
}

// The text of one character, a code point or a lone surrogate (one unit).
inline QString text(char32_t character)
{
    if (QChar::requiresSurrogates(character))
        return QString::fromUcs4(&character, 1);
    return QString(QChar(char16_t(character)));
}

// Number of characters in `text`.
qsizetype count(QStringView text);

} // namespace Characters
