#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <memory>

// What the About box needs of the operating system to find and start a system
// information tool: the registry's three read calls, a file-exists test and the
// starting of a program. Windows reads its real registry; other systems have
// none, so no key opens there and the desktop's own information programs are
// offered instead.
class HostSystem
{
public:
    using Key = quintptr; // an open registry key

    static constexpr quint32 localMachine = 0x80000002; // the local-machine root key
    // Read access only: a standard user may not open local-machine keys for
    // writing, and the About box never writes.
    static constexpr quint32 readAccess = 0x20019;
    static constexpr quint32 stringType = 1; // text ending in a NUL
    static constexpr quint32 numberType = 4; // 32-bit number, least significant byte first

    virtual ~HostSystem() = default;

    // Opens `keyName` under the root key `root`; false when it cannot be opened.
    virtual bool openKey(quint32 root, const QString &keyName, quint32 options, quint32 access,
                         Key &key) = 0;
    // Reads the value `valueName` into `buffer`, whose size is the room there is.
    // On success gives the value's type and the size of its data in bytes; fails
    // when the value is missing or its data does not fit.
    virtual bool queryValue(Key key, const QString &valueName, quint32 &type, QByteArray &buffer,
                            quint32 &size) = 0;
    virtual void closeKey(Key key) = 0;

    virtual bool fileExists(const QString &path) = 0;
    // Starts `program` on its own, without waiting for it; false when it did not start.
    virtual bool startProgram(const QString &program) = 0;
    // A system information program of the desktop's own, for systems whose
    // registry names none; empty when none is installed.
    virtual QString fallbackSystemInfoTool() = 0;
};

// The host the program was built for.
std::unique_ptr<HostSystem> makeHostSystem();
