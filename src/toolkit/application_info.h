#pragma once

#include <QCoreApplication>
#include <QVersionNumber>

// The application's title and version, set once at start (and by tests that need
// them). The names also say where the program's settings are kept
// (~/.config/Tarnwell/Tarnwell.conf on Linux).
inline void registerApplicationInfo()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Tarnwell"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarnwell"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARNWELL_VERSION));
}

// The version as the user sees it, major.minor.revision: of its four fields the
// revision is the fourth, and the third is never shown.
inline QString shownVersion()
{
    const QVersionNumber number = QVersionNumber::fromString(QCoreApplication::applicationVersion());
    return QStringLiteral("%1.%2.%3").arg(number.segmentAt(0)).arg(number.segmentAt(1)).arg(number.segmentAt(3));
}

// What --version prints: "Tarnwell 1.1.5".
inline QString versionLine()
{
    return QCoreApplication::applicationName() + u' ' + shownVersion();
}
