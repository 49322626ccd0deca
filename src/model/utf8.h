#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// What valid UTF-8 is, wherever bytes become characters (the batch runner's
// input, the escaped form of a string, the pieces a file is read in): the
// Unicode definition, with no overlong forms, no surrogates and nothing past
// U+10FFFF. A byte that begins no valid sequence, or a sequence cut short, is
// no character.
namespace Utf8 {

// Length of the sequence that `lead` begins: 1 for ASCII, 2 to 4, 0 when it
// begins none (a continuation byte, C0, C1, F5 and above).
inline int sequenceLength(uchar lead)
{
    if (lead < 0x80)
        return 1;
    if (lead < 0xC2 || lead > 0xF4)
        return 0;
    return lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Whether `byte` may stand at `position` (1 to 3) of a sequence led by `lead`.
// The second byte's range is what excludes overlong forms (E0, F0), surrogates
// (ED) and code points past U+10FFFF (F4); later bytes are any continuation.
inline bool continues(uchar lead, int position, uchar byte)
{
    if (position == 1) {
        const uchar low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        const uchar high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        return byte >= low && byte <= high;
    }
    return (byte & 0xC0) == 0x80;
}

// What the bytes at the start of a piece hold.
enum class Sequence { Complete, Unfinished, Invalid };

// Checks the sequence at `bytes`, of which `available` (at least 1) can be
// read; `length` receives sequenceLength() of its first byte. Unfinished: what
// is there is right so far, and more bytes could complete it.
inline Sequence check(const uchar *bytes, qsizetype available, int &length)
{
    length = sequenceLength(bytes[0]);
    if (length == 0)
        return Sequence::Invalid;
    for (int i = 1; i < length; ++i) {
        if (i >= available)
            return Sequence::Unfinished;
        if (!continues(bytes[0], i, bytes[i]))
            return Sequence::Invalid;
    }
    return Sequence::Complete;
}

// The code point of a complete sequence of `length` bytes.
inline char32_t decode(const uchar *bytes, int length)
{
    if (length == 1)
        return bytes[0];
    char32_t code = bytes[0] & (0x7F >> length);
    for (int i = 1; i < length; ++i)
        code = code << 6 | (bytes[i] & 0x3F);
    return code;
}

// Length of the longest start of `bytes` that does not end inside a sequence
// that more bytes could complete. Text cut there is valid piece by piece
// exactly when it is valid whole.
inline qsizetype completeLength(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype lead = size - 1; lead >= 0 && lead > size - 4; --lead) {
        if ((p[lead] & 0xC0) == 0x80)
            continue;
        int length = 0;
        return check(p + lead, size - lead, length) == Sequence::Unfinished ? lead : size;
    }
    return size;
}

} // namespace Utf8
