#pragma once

#include <QLatin1StringView>
#include <QStringView>
#include <QtGlobal>

// The whole number that the decimal number at the start of `text` rounds to:
// blanks (spaces, tabs) before it are skipped, then an optional sign, digits and
// an optional fraction. A fraction is rounded to the nearest whole number, a half
// going to the even neighbour (2.5 gives 2, 3.5 gives 4); the rounding is exact,
// done on the digits, never through a binary fraction. Text that does not start
// with a number gives 0. Magnitudes beyond leadingNumberLimit saturate there, so
// callers can range-check or clamp without overflow.
//
// The file reader reads every number field this way, and the custom run speed
// is read the same way from its text box.
qint64 leadingNumber(QStringView text);
// The same for 8-bit text: the reader reads a number from a file's bytes this
// way, as a number is ASCII in every encoding a file may be in.
qint64 leadingNumber(QLatin1StringView text);

inline constexpr qint64 leadingNumberLimit = Q_INT64_C(1000000000000000);
