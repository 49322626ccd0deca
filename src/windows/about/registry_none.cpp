#include "windows/about/desktop_host_system.h"

// This system has no registry: no key can be opened, so nothing is ever read.

bool DesktopHostSystem::openKey(quint32, const QString &, quint32, quint32, Key &)
{
    return false;
}

bool DesktopHostSystem::queryValue(Key, const QString &, quint32 &, QByteArray &, quint32 &)
{
    return false;
}

void DesktopHostSystem::closeKey(Key)
{
}
