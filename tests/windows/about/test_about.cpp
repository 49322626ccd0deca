#include "scripted_dialogs.h"
#include "toolkit/application_info.h"
#include "windows/about/frm_about.h"
#include "windows/about/host_system.h"

#include <QLabel>
#include <QTest>

// The local-machine registry as a standard user sees it (write access refused), a
// file system and a launcher, logging the values read and the programs started.
// `setup` holds D when the desktop has a tool of its own, X when starting programs fails.
struct FakeHost final : HostSystem
{
    QMap<QString, QPair<quint32, QByteArray>> values; // "key\value" -> type and data
    QString setup, opened;
    QStringList files, log;
    int open = 0;

    bool openKey(quint32 root, const QString &name, quint32, quint32 access, Key &) override
    {
        opened = name + u'\\';
        const auto inKey = [&](const QString &v) { return v.startsWith(opened); };
        const bool opens = root == localMachine && (access & 0xD0026) == 0
            && std::any_of(values.keyBegin(), values.keyEnd(), inKey);
        open += opens;
        return opens;
    }
    bool queryValue(Key, const QString &name, quint32 &type, QByteArray &buffer,
                    quint32 &size) override
    {
        log << "read " + name;
        const auto [t, data] = values.value(opened + name);
        if (t == 0 || data.size() > qMin<qsizetype>(size, buffer.size()))
            return false; // missing, or longer than the room given
        std::copy(data.cbegin(), data.cend(), buffer.begin());
        type = t;
        size = quint32(data.size());
        return true;
    }
    void closeKey(Key) override { --open; }
    bool fileExists(const QString &path) override { return files.contains(path); }
    bool startProgram(const QString &program) override
    {
        log << "start " + program;
        return !setup.contains(u'X');
    }
    QString fallbackSystemInfoTool() override { return setup.contains(u'D') ? "desk" : ""; }
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
        // The value V of the key K is read; the registry holds one value, at `path`.
        QTest::addColumn<QString>("path");
        QTest::addColumn<uint>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("result"); // what GetKeyValue returned, and the text
        const QByteArray full(1024, 'a');
        QTest::newRow("text, one NUL dropped")
            << "K\\V" << 1u << QByteArray("a\0\0", 3) << QString::fromLatin1("1 a\0", 4);
        QTest::newRow("filling the buffer") << "K\\V" << 1u << full << "1 " + QString(full);
        QTest::newRow("past the buffer") << "K\\V" << 1u << full + 'a' << "0 ";
        QTest::newRow("number, low byte first")
            << "K\\V" << 4u << QByteArray("\x78\0\x34\x12", 4) << "1 305397880";
        QTest::newRow("other type keeps caller's") << "K\\V" << 2u << QByteArray("x") << "1 caller";
        QTest::newRow("no such value") << "K\\W" << 1u << QByteArray("x") << "0 ";
        QTest::newRow("no such key") << "L\\V" << 1u << QByteArray("x") << "0 ";
    }
    void getKeyValue()
    {
        QFETCH(QString, path);
        QFETCH(uint, type);
        QFETCH(QByteArray, data);
        host.values[path] = {type, data};
        QString value = QStringLiteral("caller");
        const bool read = frm_about(host, dialogs, nullptr)
                              .GetKeyValue(HostSystem::localMachine, "K", "V", value);
        QTEST(QString::number(read) + u' ' + value, "result");
        QCOMPARE(host.open, 0);
    }

    void startSysInfo_data()
    {
        // P: the registry names the tool; F: it names the shared tools folder C:\S;
        // T: the tool is in that folder; D and X as in FakeHost.
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
        host.setup = setup;
        if (setup.contains(u'P'))
            host.values["SOFTWARE\\Microsoft\\Shared Tools\\MSINFO\\PATH"] = {1, "C:\\m.exe"};
        if (setup.contains(u'F'))
            host.values["SOFTWARE\\Microsoft\\Shared Tools Location\\MSINFO"] = {1, "C:\\S"};
        host.files = QStringList(setup.contains(u'T') ? "C:\\S\\MSINFO32.EXE" : "");
        if (setup.contains(u'X') || setup.isEmpty())
            dialogs.answerMessage();
        frm_about(host, dialogs, nullptr).StartSysInfo();
        QTEST((host.log + dialogs.transcript()).join(", "), "result");
        QCOMPARE(host.open, 0);
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
