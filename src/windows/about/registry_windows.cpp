#include "windows/about/desktop_host_system.h"

#include <windows.h>

// The registry through advapi32's ANSI calls; names are passed in the system's
// ANSI code page, as the values come back in it.

bool DesktopHostSystem::openKey(quint32 root, const QString &keyName, quint32 options,
                                quint32 access, Key &key)
{
    // The root keys are 32-bit handles sign-extended to pointer width, as windows.h defines them.
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
    HKEY opened = nullptr;
    const QByteArray name = keyName.toLocal8Bit();
    const LONG rc =
        RegOpenKeyExA(rootKey, name.constData(), DWORD(options), REGSAM(access), &opened);
    if (rc != ERROR_SUCCESS)
        return false;
    key = reinterpret_cast<Key>(opened);
    return true;
}

bool DesktopHostSystem::queryValue(Key key, const QString &valueName, quint32 &type,
                                   QByteArray &buffer, quint32 &size)
{
    const QByteArray name = valueName.toLocal8Bit();
    DWORD valueType = 0;
    DWORD dataSize = DWORD(buffer.size());
    const LONG rc = RegQueryValueExA(reinterpret_cast<HKEY>(key), name.constData(), nullptr,
                                     &valueType, reinterpret_cast<LPBYTE>(buffer.data()),
                                     &dataSize);
    if (rc != ERROR_SUCCESS)
        return false;
    type = quint32(valueType);
    size = quint32(dataSize);
    return true;
}

void DesktopHostSystem::closeKey(Key key)
{
    RegCloseKey(reinterpret_cast<HKEY>(key));
}
