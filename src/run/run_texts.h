#pragma once

#include <QString>

// The words a run shows in the output field and the status bar.
namespace RunTexts {

inline QString pending() { return QStringLiteral("PENDING"); }
inline QString error() { return QStringLiteral("ERROR"); }
inline QString accepted() { return QStringLiteral("ACCEPTED"); }
inline QString rejected() { return QStringLiteral("REJECTED"); }
inline QString running() { return QStringLiteral("Running ..."); }
inline QString completed() { return QStringLiteral("Successfully completed"); }
inline QString invalidStartState() { return QStringLiteral("Invalid start state"); }
inline QString invalidAlphabet(const QString &character)
{
    return QStringLiteral("Invalid alphabet '") + character + QLatin1Char('\'');
}
inline QString verdict(bool accepting) { return accepting ? accepted() : rejected(); }

} // namespace RunTexts
