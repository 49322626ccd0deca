#include "scripted_dialogs.h"
#include "toolkit/application_info.h"
#include "windows/about/frm_about.h"
#include "windows/about/host_system.h"

#include <QLabel>
#include <QTest>

// The local-machine registry as a standard user sees it (write access refused), a
// file system and a launcher, logging the values read and the programs started.
struct FakeHost final : HostSystem
{
    QStringList keys, files, log;                     // the keys and files there are
    QMap<QString, QPair<quint32, QByteArray>> values; // by value name: type and data
    QString fallback;
    bool startFails = false;

    bool openKey(quint32 root, const QString &name, quint32, quint32 access, Key &) override
    {
        return root == localMachine && (access & 0xD0026) == 0 && keys.contains(name);
    }
    bool queryValue(Key, const QString &name, quint32 &type, QByteArray &buffer,
                    quint32 &size) override
    {
        log << "read " + name;
        const auto [t, data] = values.value(name);
        if (t == 0 || data.size() > qMin<qsizetype>(size, buffer.size()))
            return false; // missing, or longer than the room given
        std::copy(data.cbegin(), data.cend(), buffer.begin());
        type = t;
        size = quint32(data.size());
        return true;
    }
    void closeKey(Key) override {}
    bool fileExists(const QString &path) override { return files.contains(path); }
    bool startProgram(const QString &program) override
    {
        log << "start " + program;
        return !startFails;
    }
    QString fallbackSystemInfoTool() override { return fallback; }
};

class TestAbout : public QObject
{
    Q_OBJECT
    FakeHost host;
    ScriptedDialogs dialogs;

private Q_SLOTS:
    void initTestCase() { registerApplicationInfo(); }
    void init() { host = FakeHost(); dialogs.clear(); }
    void texts()
    {
        frm_about dlg(host, dialogs, nullptr);
        const auto text = [&](const char *name) { return dlg.findChild<QLabel *>(name)->text(); };
        QCOMPARE(QStringList({dlg.windowTitle(), text("lblTitle"), text("lblVersion")}),
                 QStringList({"About Tarnwell", "Tarnwell", "Version 1.1.5"}));
        QVERIFY(!dlg.findChild<QLabel *>("Image1")->pixmap().isNull());
    }

    void getKeyValue_data()
    {
        // The value V of the key K is read, from a registry holding the `key` K or L
        // with the value V, of the type and data given, or none.
        QTest::addColumn<QString>("key");
        QTest::addColumn<uint>("type"); // 0: no such value
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("result"); // what GetKeyValue returned, and the text
        const QByteArray full(1024, 'a');
        QTest::newRow("text, one NUL dropped")
            << "K" << 1u << QByteArray("a\0\0", 3) << QString::fromLatin1("1 a\0", 4);
        QTest::newRow("filling the buffer") << "K" << 1u << full << "1 " + QString(full);
        QTest::newRow("past the buffer") << "K" << 1u << full + 'a' << "0 ";
        QTest::newRow("number, low byte first")
            << "K" << 4u << QByteArray("\x78\0\x34\x12", 4) << "1 305397880";
        QTest::newRow("other type keeps caller's") << "K" << 2u << QByteArray("x") << "1 caller";
        QTest::newRow("no such value") << "K" << 0u << QByteArray() << "0 ";
        QTest::newRow("no such key") << "L" << 1u << QByteArray("x") << "0 ";
    }
    void getKeyValue()
    {
        QFETCH(QString, key);
        QFETCH(uint, type);
        QFETCH(QByteArray, data);
        host.keys = QStringList(key);
        host.values["V"] = {type, data};
        QString value = QStringLiteral("caller");
        const bool read = frm_about(host, dialogs, nullptr)
                              .GetKeyValue(HostSystem::localMachine, "K", "V", value);
        QTEST(QString::number(read) + u' ' + value, "result");
    }

    void startSysInfo_data()
    {
        // P: the registry names the tool; F: it names the shared tools folder C:\S;
        // T: the tool is in that folder; D: the desktop has a tool; X: starting fails.
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("result"); // the host's log, then the boxes shown
        const QString none = "Tarnwell: System Information Is Unavailable At This Time";
        QTest::newRow("path named: folder never read") << "PFTD" << "read PATH, start C:\\m.exe";
        QTest::newRow("named tool fails") << "PFTDX" << "read PATH, start C:\\m.exe, " + none;
        QTest::newRow("folder holds the tool") << "FTD" << "read MSINFO, start C:\\S\\MSINFO32.EXE";
        QTest::newRow("folder without the tool") << "FD" << "read MSINFO, start desk";
        QTest::newRow("no tool anywhere") << "" << none;
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
        host.files = QStringList(given('T', "C:\\S\\MSINFO32.EXE"));
        host.fallback = given('D', "desk");
        host.startFails = setup.contains(u'X');
        if (host.startFails || setup.isEmpty())
            dialogs.answerMessage();
        frm_about(host, dialogs, nullptr).StartSysInfo();
        QTEST((host.log + dialogs.transcript()).join(", "), "result");
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
