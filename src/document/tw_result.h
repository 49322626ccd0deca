#pragma once

#include <QString>

#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

// Why reading or writing an automaton's file failed, in words for the user.
struct TwFailure
{
    TwFailure(QString reason = {}, int atLine = 0, QString file = {})
        : what(std::move(reason)), line(atLine), path(std::move(file))
    {
    }

    QString what;   // "the file ends before the number of symbols", or the system's reason
    int line = 0;   // 1-based line of the file where the text went wrong; 0 when not in the text
    QString path;   // the file it is about; empty for bytes in memory

    // "Line 7: the file ends before the number of symbols", or `what` alone.
    QString message() const
    {
        return line > 0 ? QStringLiteral("Line %1: %2").arg(line).arg(what) : what;
    }
};

// What reading or writing gives: its value, or why there is none. The one way
// the document layer says what failed; TwResult<> is a write, with no value.
template <typename T = std::monostate>
class [[nodiscard]] TwResult
{
public:
    TwResult() requires std::is_same_v<T, std::monostate> : m_value(T()) {}
    TwResult(T value) : m_value(std::move(value)) {}
    TwResult(TwFailure failure) : m_failure(std::move(failure)) {}

    bool ok() const { return m_value.has_value(); }
    // Only when ok().
    const T &value() const { return *m_value; }
    T &value() { return *m_value; }
    // Empty when ok().
    const TwFailure &failure() const { return m_failure; }

    // A failure names the file it is about.
    TwResult &&aboutFile(const QString &path) &&
    {
        if (!ok())
            m_failure.path = path;
        return std::move(*this);
    }

private:
    std::optional<T> m_value;
    TwFailure m_failure;
};
