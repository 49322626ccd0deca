#include "model/leading_number.h"

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The same reading for text of either width: each character is looked at as
// its code point.
template <typename View>
qint64 leadingNumberOf(View view)
{
    const auto text = [view](qsizetype i) { return char16_t(view[i].unicode()); };
    qsizetype i = 0;
    const qsizetype n = view.size();
    while (i < n && (text(i) == u' ' || text(i) == u'\t'))
        ++i;

    bool negative = false;
    if (i < n && (text(i) == u'+' || text(i) == u'-')) {
        negative = text(i) == u'-';
        ++i;
    }

    qint64 whole = 0;
    while (i < n && isDigit(text(i))) {
        whole = qMin(whole * 10 + (text(i) - u'0'), leadingNumberLimit);
        ++i;
    }

    if (i < n && text(i) == u'.') {
        ++i;
        // Only the first fraction digit and whether anything non-zero follows it
        // decide the rounding.
        int first = -1;
        bool restNonZero = false;
        for (; i < n && isDigit(text(i)); ++i) {
            const int digit = text(i) - u'0';
            if (first < 0)
                first = digit;
            else if (digit != 0)
                restNonZero = true;
        }
        const bool roundUp = first > 5 || (first == 5 && (restNonZero || whole % 2 == 1));
        if (roundUp)
            whole = qMin(whole + 1, leadingNumberLimit);
    }

    return negative ? -whole : whole;
}

} // namespace

qint64 leadingNumber(QStringView text)
{
    return leadingNumberOf(text);
}

qint64 leadingNumber(QLatin1StringView text)
{
    return leadingNumberOf(text);
}
