// Compiled into every test program: the settings a test writes (the places of
// the windows beside the main window) go to Qt's folder for tests (~/.qttest),
// under an organisation of the tests' own, never to the user's settings.

#include <QCoreApplication>
#include <QStandardPaths>

namespace {

void keepSettingsApart()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("Tarnwell tests"));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(keepSettingsApart)
