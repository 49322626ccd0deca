#include "document/text_encoding.h"

namespace TextEncoding {

namespace {

// Windows-1252: bytes 0x80..0x9F are the typographic characters of that code
// page (the five it leaves undefined keep their own code points); every other
// byte is the Latin-1 character of the same value.
constexpr char16_t windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

QChar fromWindows1252(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0x80 && value <= 0x9F ? QChar(windows1252High[value - 0x80]) : QChar(value);
}

} // namespace

FileDecoder::FileDecoder(bool utf8)
    : m_utf8(utf8)
    , m_decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom)
{
}

void FileDecoder::append(QString &out, QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    // ASCII reads the same in both encodings: most values are only ASCII.
    qsizetype ascii = 0;
    while (ascii < bytes.size() && uchar(bytes[ascii]) < 0x80)
        ++ascii;
    out.append(QLatin1StringView(bytes.first(ascii)));
    const QByteArrayView rest = bytes.sliced(ascii);
    if (rest.isEmpty())
        return;
    const qsizetype start = out.size();
    out.resize(start + rest.size());   // never more UTF-16 units than bytes
    QChar *end = out.data() + start;
    if (m_utf8) {
        end = m_decoder.appendToBuffer(end, rest);
    } else {
        for (const char byte : rest)
            *end++ = fromWindows1252(byte);
    }
    out.truncate(end - out.constData());
}

} // namespace TextEncoding
