#pragma once

#include <QtGlobal>

// UTF-8 as the byte engine reads it: the Unicode definition, with no overlong
// forms, no surrogates and nothing past U+10FFFF. A byte that begins no valid
// sequence, or a sequence cut short, is not a character; the run names its
// first byte.
namespace ByteEngineUtf8 {

// Length of the sequence that `lead` begins (2 to 4), 0 when it begins none.
// ASCII is handled before a byte gets here.
inline int sequenceLength(uchar lead)
{
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

// What the bytes at `bytes` (of which `available` can be read) hold.
enum class Sequence { Complete, Unfinished, Invalid };

// Checks the sequence at `bytes`; `length` receives sequenceLength() of its lead.
// Unfinished: what is there is right so far, and more bytes could complete it.
inline Sequence checkSequence(const uchar *bytes, qsizetype available, int &length)
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
    char32_t code = bytes[0] & (0x7F >> length);
    for (int i = 1; i < length; ++i)
        code = code << 6 | (bytes[i] & 0x3F);
    return code;
}

} // namespace ByteEngineUtf8
