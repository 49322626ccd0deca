// Feeds arbitrary bytes to the reader of lists of strings, as Open List and
// tarnwell-run --expect read a file: whole, and line by line as pieces of
// every size arrive. Both ways must give the same strings or the same first
// line refused; a list that is read must be written back and read again
// unchanged, and written the second time to the same bytes.

#include "cli/string_list.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool same(const QList<ListedString> &a, const QList<ListedString> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].bytes != b[i].bytes || a[i].expected != b[i].expected)
            return false;
    return true;
}

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const StringList::Parsed whole = StringList::parse(bytes);

    // Pieces of a size the input chooses, so every cut is tried somewhere.
    const qsizetype piece = size == 0 ? 1 : qsizetype(data[0] % 7) + 1;
    QList<ListedString> strings;
    StringList::LineReader reader([&strings](ListedString &&string) {
        strings.append(std::move(string));
        return true;
    });
    for (qsizetype at = 0; at < bytes.size() && reader.feed(bytes.sliced(at, qMin(piece, bytes.size() - at)));)
        at += piece;
    reader.finish();
    require(reader.failure().line > 0 ? reader.failure().message() == whole.error : whole.ok());
    if (!whole.ok()) {
        require(whole.error.startsWith(QLatin1String("Line ")));
        return 0;
    }
    require(same(strings, whole.strings));

    const QByteArray written = StringList::text(whole.strings);
    const StringList::Parsed again = StringList::parse(written);
    require(again.ok() && same(again.strings, whole.strings));
    require(StringList::text(again.strings) == written);
    return 0;
}
