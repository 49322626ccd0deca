#include "windows/about/desktop_host_system.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

bool DesktopHostSystem::fileExists(const QString &path)
{
    return QFileInfo(path).isFile();
}

bool DesktopHostSystem::startProgram(const QString &program)
{
    return QProcess::startDetached(program, {});
}

QString DesktopHostSystem::fallbackSystemInfoTool()
{
#ifdef Q_OS_WIN
    return {}; // the registry names the tool there
#else
    // The information centres of the common desktops, most detailed first.
    static const char *const tools[] = {"kinfocenter", "hardinfo2", "hardinfo", "cpu-x",
                                        "gnome-system-monitor", "mate-system-monitor",
                                        "xfce4-taskmanager"};
    for (const char *tool : tools) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool));
        if (!path.isEmpty())
            return path;
    }
    return {};
#endif
}

std::unique_ptr<HostSystem> makeHostSystem()
{
    return std::make_unique<DesktopHostSystem>();
}
