#include "scripted_dialogs.h"
#include "toolkit/application_info.h"
#include "windows/about/frm_about.h"
#include "windows/about/host_system.h"

#include <QTest>

// The local-machine registry as a standard user sees it (write access refused), a
// file system where only the programs that are there start, and a desktop with a
// tool of its own, logging the values read and the programs started.
struct FakeHost final : HostSystem
{
    QStringList keys, files, log;                     // the keys and files there are
    QMap<QString, QPair<quint32, QByteArray>> values; // by value name: type and data

    bool openKey(quint32 root, const QString &name, quint32, quint32 access, Key &) override
    {
        return root == localMachine && (access & 0xD0026) == 0 && keys.contains(name);
    }
    bool queryValue(Key, const QString &name, quint32 &type, QByteArray &buffer,
                    quint32 &size) override
    {
        log << "read " + name;
        const qsizetype room = qMin<qsizetype>(size, buffer.size());
        std::tie(type, buffer) = values.value(name);
        size = quint32(buffer.size());
        return type != 0 && buffer.size() <= room; // type 0: no such value
    }
    void closeKey(Key) override {}
    bool fileExists(const QString &path) override { return files.contains(path); }
    bool startProgram(const QString &program) override
    {
        log << "start " + program;
        return files.contains(program);
    }
    QString fallbackSystemInfoTool() override { return "desk"; }
};

class TestAbout : public QObject
{
    Q_OBJECT
    FakeHost host;
    ScriptedDialogs dialogs;

private Q_SLOTS:
    void initTestCase() { registerApplicationInfo(); }
    void init() { host = FakeHost(); dialogs.clear(); }
    // Reads the value V, of the given type and data, of the key K (or of a key there
    // is not): what GetKeyValue returned, and the text it gave back for "caller".
    void getKeyValue()
    {
        host.keys = QStringList("K");
        const auto read = [&](quint32 type, const QByteArray &data, const char *key = "K") {
            host.values["V"] = {type, data};
            QString value = QStringLiteral("caller");
            const bool found = frm_about(host, dialogs, nullptr)
                                   .GetKeyValue(HostSystem::localMachine, key, "V", value);
            return QString::number(found) + u' ' + value;
        };
        // A text filling the buffer, its one terminating NUL dropped; one byte more does not
        // fit and reads as a missing value does.
        QCOMPARE(read(1, QByteArray(1022, 'a') + QByteArray(2, '\0')),
                 "1 " + QString(1022, u'a') + QChar(0));
        QCOMPARE(read(1, QByteArray(1025, 'a')), "0 ");
        QCOMPARE(read(4, QByteArray("\x78\0\x34\x12", 4)), "1 305397880"); // low byte first
        QCOMPARE(read(2, "x"), "1 caller"); // another type keeps the caller's text
        QCOMPARE(read(1, "x", "L"), "0 "); // no such key
    }

    void startSysInfo_data()
    {
        // The registry names the tool C:\m.exe (P) or the shared tools folder C:\S (F);
        // the files there are C:\m.exe (M) and C:\S\MSINFO32.EXE (T).
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("result"); // the host's log, then the boxes shown
        QTest::newRow("path named: folder never read") << "PMFT" << "read PATH, start C:\\m.exe";
        QTest::newRow("named tool fails") << "PFT" << "read PATH, start C:\\m.exe, "
                                          "Tarnwell: System Information Is Unavailable At This Time";
        QTest::newRow("folder holds the tool") << "FT" << "read MSINFO, start C:\\S\\MSINFO32.EXE";
        QTest::newRow("folder without the tool") << "F" << "read MSINFO, start desk";
    }
    void startSysInfo()
    {
        QFETCH(QString, setup);
        const auto given = [&](char c, const char *text) {
            return setup.contains(QLatin1Char(c)) ? QString(text) : QString();
        };
        host.keys = {given('P', "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                     given('F', "SOFTWARE\\Microsoft\\Shared Tools Location")};
        host.values = {{"PATH", {1, "C:\\m.exe"}}, {"MSINFO", {1, "C:\\S"}}};
        host.files = {given('M', "C:\\m.exe"), given('T', "C:\\S\\MSINFO32.EXE"), "desk"};
        dialogs.answerMessage(); // for the box, if one is shown
        frm_about(host, dialogs, nullptr).StartSysInfo();
        QTEST((host.log + dialogs.transcript()).join(", "), "result");
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
