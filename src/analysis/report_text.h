#pragma once

#include <QString>
#include <functional>

namespace Analysis {

// How a string, a state name or a symbol is written into a line of a report:
// the caller passes the escape of the result-line format (backslash, tab, line
// ends and other control characters), so the report reads like every other list
// of strings the program writes.
using Escape = std::function<QString(const QString &)>;

// `text` escaped, or "" when it is empty, so that the empty string is seen.
inline QString shown(const QString &text, const Escape &escape)
{
    return text.isEmpty() ? QStringLiteral("\"\"") : escape(text);
}

} // namespace Analysis
