#pragma once

#include "windows/about/host_system.h"

// The real host. Its registry calls are compiled per system: advapi32 on
// Windows, and on other systems a registry in which no key exists.
class DesktopHostSystem final : public HostSystem
{
public:
    bool openKey(quint32 root, const QString &keyName, quint32 options, quint32 access,
                 Key &key) override;
    bool queryValue(Key key, const QString &valueName, quint32 &type, QByteArray &buffer,
                    quint32 &size) override;
    void closeKey(Key key) override;

    bool fileExists(const QString &path) override;
    bool startProgram(const QString &program) override;
    QString fallbackSystemInfoTool() override;
};
