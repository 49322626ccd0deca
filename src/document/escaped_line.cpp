#include "document/escaped_line.h"

#include "model/utf8.h"

#include <cstring>

namespace EscapedLine {

namespace {

// Printable ASCII other than the backslash, the one printable byte that
// begins an escape.
bool isPlainAscii(uchar byte)
{
    return byte >= 0x20 && byte < 0x7F && byte != '\\';
}

// Eight bytes at once, in machine order.
quint64 wordAt(const uchar *p)
{
    quint64 word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

constexpr quint64 eachByte(uchar byte) { return 0x0101010101010101u * byte; }

// Whether all eight bytes of `word` are plain ASCII, tested together: a byte
// with its top bit set is not ASCII, a byte below 0x20 borrows into its top bit
// when 0x20 is taken from it, 0x7F carries into its top bit when 1 is added,
// and a backslash is the byte that XOR with backslashes turns to zero. A carry
// or borrow that crosses into the next byte only comes from a byte that is
// caught already, so the answer for the word is exact.
bool isPlainAsciiWord(quint64 word)
{
    const quint64 top = eachByte(0x80);
    const quint64 backslashes = word ^ eachByte('\\');
    const quint64 below20 = (word - eachByte(0x20)) & ~word;
    const quint64 is7F = word + eachByte(0x01);
    const quint64 zeroByte = (backslashes - eachByte(0x01)) & ~backslashes;
    return ((word | below20 | is7F | zeroByte) & top) == 0;
}

void appendEscape(QByteArray &out, uchar byte)
{
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    switch (byte) {
    case '\\': out += "\\\\"; break;
    case '\t': out += "\\t"; break;
    case '\n': out += "\\n"; break;
    case '\r': out += "\\r"; break;
    default: {
        const char escape[] = {'\\', 'x', hexDigits[byte >> 4], hexDigits[byte & 0xF]};
        out.append(escape, sizeof escape);
    }
    }
}

int hexValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    return -1;
}

} // namespace

qsizetype append(QByteArray &out, QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype validLength = size;
    qsizetype plainFrom = 0;   // bytes that stand for themselves are copied a run at a time
    qsizetype pos = 0;
    while (pos < size) {
        if (isPlainAscii(p[pos])) {
            // Where there is some plain text there is usually more.
            for (++pos; size - pos >= 8 && isPlainAsciiWord(wordAt(p + pos));)
                pos += 8;
            continue;
        }
        if (p[pos] >= 0x80) {
            int length = 0;
            if (Utf8::check(p + pos, size - pos, length) == Utf8::Sequence::Complete) {
                pos += length;
                continue;
            }
            validLength = qMin(validLength, pos);
        }
        out.append(bytes.sliced(plainFrom, pos - plainFrom));
        appendEscape(out, p[pos]);
        plainFrom = ++pos;
    }
    out.append(bytes.sliced(plainFrom));
    return validLength;
}

QByteArray escape(QByteArrayView bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    append(out, bytes);
    return out;
}

QString escape(QStringView text)
{
    return QString::fromUtf8(escape(text.toUtf8()));
}

Unescaped unescape(QByteArrayView line)
{
    Unescaped result;
    result.bytes.reserve(line.size());
    qsizetype pos = 0;
    while (pos < line.size()) {
        const qsizetype backslash = line.indexOf('\\', pos);
        if (backslash < 0)
            break;
        result.bytes.append(line.sliced(pos, backslash - pos));
        const char kind = backslash + 1 < line.size() ? line[backslash + 1] : '\0';
        pos = backslash + 2;
        switch (kind) {
        case '\\': result.bytes += '\\'; break;
        case 't': result.bytes += '\t'; break;
        case 'n': result.bytes += '\n'; break;
        case 'r': result.bytes += '\r'; break;
        case 'x': {
            const int high = pos < line.size() ? hexValue(line[pos]) : -1;
            const int low = pos + 1 < line.size() ? hexValue(line[pos + 1]) : -1;
            if (high < 0 || low < 0) {
                result.badEscapeAt = backslash;
                return result;
            }
            result.bytes += char(high << 4 | low);
            pos += 2;
            break;
        }
        default:
            result.badEscapeAt = backslash;
            return result;
        }
    }
    result.bytes.append(line.sliced(pos));
    return result;
}

} // namespace EscapedLine
