#pragma once

#include <QCoreApplication>

// The application's title and version, set once at start (and by tests that need
// them). The version has four fields; windows show only major.minor.revision,
// the revision being the fourth field.
inline void registerApplicationInfo()
{
    QCoreApplication::setApplicationName(QStringLiteral("Tarnwell"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARNWELL_VERSION));
}
