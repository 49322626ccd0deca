#include "scripted_dialogs.h"
#include "toolkit/application_info.h"
#include "windows/about/frm_about.h"
#include "windows/about/host_system.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

const QString toolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString folderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString toolRead = toolKey + QStringLiteral("\\PATH");
const QString folderRead = folderKey + QStringLiteral("\\MSINFO");
const QString unavailableMessage =
    QStringLiteral("Tarnwell: System Information Is Unavailable At This Time");

// The local-machine registry as a standard user sees it (write access refused),
// with a file system and a launcher that record what they are asked.
class FakeHost final : public HostSystem
{
public:
    struct Value
    {
        quint32 type = stringType;
        QByteArray data;
    };

    QMap<QString, QMap<QString, Value>> keys; // key path -> value name -> value
    QStringList files;
    QStringList failingPrograms;
    QString fallback;

    QStringList reads;   // "key\value" for every value queried
    QStringList started; // every program the box tried to start
    int openKeys = 0;

    bool openKey(quint32 root, const QString &keyName, quint32 options, quint32 access,
                 Key &key) override
    {
        constexpr quint32 writeAccess = 0x0002 | 0x0004 | 0x0020 | 0x00010000 | 0x00040000
            | 0x00080000;
        if (root != localMachine || options != 0 || (access & writeAccess) != 0
            || !keys.contains(keyName))
            return false;
        m_handles.append(keyName);
        key = Key(m_handles.size());
        ++openKeys;
        return true;
    }

    bool queryValue(Key key, const QString &valueName, quint32 &type, QByteArray &buffer,
                    quint32 &size) override
    {
        const QString keyName = m_handles.at(qsizetype(key) - 1);
        reads.append(keyName + QLatin1Char('\\') + valueName);
        const auto found = keys[keyName].constFind(valueName);
        const qsizetype room = qMin(qsizetype(size), buffer.size());
        if (found == keys[keyName].constEnd() || found->data.size() > room)
            return false;
        std::copy(found->data.cbegin(), found->data.cend(), buffer.begin());
        type = found->type;
        size = quint32(found->data.size());
        return true;
    }

    void closeKey(Key) override { --openKeys; }

    bool fileExists(const QString &path) override { return files.contains(path); }

    bool startProgram(const QString &program) override
    {
        started.append(program);
        return !failingPrograms.contains(program);
    }

    QString fallbackSystemInfoTool() override { return fallback; }

private:
    QStringList m_handles;
};

QByteArray bytes(const char *data, qsizetype size) { return QByteArray(data, size); }

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { registerApplicationInfo(); }

    void loadShowsTitleAndVersion_data();
    void loadShowsTitleAndVersion();
    void pictureIsBuiltIn();
    void enterAndEscapeClose_data();
    void enterAndEscapeClose();
    void sysInfoButtonKeepsTheBoxOpen();

    void getKeyValue_data();
    void getKeyValue();
    void getKeyValueUnreadable_data();
    void getKeyValueUnreadable();
    void startSysInfo_data();
    void startSysInfo();
};

void TestAbout::loadShowsTitleAndVersion_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("shown");

    QTest::newRow("the program's own") << QStringLiteral(TARNWELL_VERSION) << "Version 1.1.5";
    QTest::newRow("fourth field is the revision") << "2.10.7.31" << "Version 2.10.31";
    QTest::newRow("leading zeros dropped") << "01.002.0.030" << "Version 1.2.30";
    QTest::newRow("missing revision is 0") << "3.4" << "Version 3.4.0";
}

void TestAbout::loadShowsTitleAndVersion()
{
    QFETCH(QString, version);
    QFETCH(QString, shown);

    QCoreApplication::setApplicationVersion(version);
    FakeHost host;
    ScriptedDialogs dialogs;
    frm_about dlg(host, dialogs, nullptr);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("About Tarnwell"));
    QCOMPARE(dlg.findChild<QLabel *>("lblTitle")->text(), QStringLiteral("Tarnwell"));
    QCOMPARE(dlg.findChild<QLabel *>("lblVersion")->text(), shown);
}

void TestAbout::pictureIsBuiltIn()
{
    FakeHost host;
    ScriptedDialogs dialogs;
    frm_about dlg(host, dialogs, nullptr);
    QCOMPARE(dlg.findChild<QLabel *>("Image1")->pixmap().size(), QSize(160, 135));
}

void TestAbout::enterAndEscapeClose_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void TestAbout::enterAndEscapeClose()
{
    QFETCH(int, key);

    FakeHost host;
    ScriptedDialogs dialogs;
    frm_about dlg(host, dialogs, nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(QApplication::focusWidget(), dlg.findChild<QPushButton *>("cmdOK"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dialogs.calls().size(), 0);
}

void TestAbout::sysInfoButtonKeepsTheBoxOpen()
{
    FakeHost host; // no registry and no desktop tool
    ScriptedDialogs dialogs;
    dialogs.answerMessage();
    frm_about dlg(host, dialogs, nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTest::mouseClick(dlg.findChild<QPushButton *>("cmdSysInfo"), Qt::LeftButton);
    QCOMPARE(dialogs.transcript(), QStringList{unavailableMessage});
    QCOMPARE(dialogs.lastCall().icon, Dialogs::Icon::None);
    QCOMPARE(dialogs.lastCall().buttons, Dialogs::Buttons::Ok);
    QVERIFY(dlg.isVisible());
}

void TestAbout::getKeyValue_data()
{
    QTest::addColumn<uint>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("expected");

    const QByteArray full(1024, 'a');
    QTest::newRow("text with its NUL") << 1u << bytes("C:\\msinfo32.exe\0", 16)
                                       << "C:\\msinfo32.exe";
    QTest::newRow("text without NUL") << 1u << bytes("abc", 3) << "abc";
    QTest::newRow("only one NUL dropped") << 1u << bytes("ab\0\0", 4)
                                          << QString::fromLatin1("ab\0", 3);
    QTest::newRow("NUL inside kept") << 1u << bytes("a\0b", 3) << QString::fromLatin1("a\0b", 3);
    QTest::newRow("empty text") << 1u << bytes("\0", 1) << "";
    QTest::newRow("no data") << 1u << QByteArray() << "";
    QTest::newRow("data filling the buffer") << 1u << full << QString::fromLatin1(full);
    QTest::newRow("NUL as the buffer's last byte") << 1u << full.left(1023) + '\0'
                                                    << QString::fromLatin1(full.left(1023));
    QTest::newRow("number") << 4u << bytes("\x05\0\0\0", 4) << "5";
    QTest::newRow("number, most significant byte last") << 4u << bytes("\x78\x56\x34\x12", 4)
                                                         << "305419896";
    QTest::newRow("number, all bits") << 4u << bytes("\xff\xff\xff\xff", 4) << "4294967295";
    QTest::newRow("number, zero high bytes inside") << 4u << bytes("\0\x01\0\0", 4) << "256";
    QTest::newRow("expandable text keeps caller's") << 2u << bytes("x\0", 2) << "caller";
    QTest::newRow("binary keeps caller's") << 3u << bytes("\x01\x02", 2) << "caller";
}

void TestAbout::getKeyValue()
{
    QFETCH(uint, type);
    QFETCH(QByteArray, data);
    QFETCH(QString, expected);

    FakeHost host;
    host.keys[toolKey][QStringLiteral("PATH")] = {type, data};
    ScriptedDialogs dialogs;
    frm_about dlg(host, dialogs, nullptr);

    QString value = QStringLiteral("caller");
    QVERIFY(dlg.GetKeyValue(HostSystem::localMachine, toolKey, QStringLiteral("PATH"), value));
    QCOMPARE(value, expected);
    QCOMPARE(host.openKeys, 0);
}

void TestAbout::getKeyValueUnreadable_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("valueName");

    QTest::newRow("no such key") << folderKey << "PATH";
    QTest::newRow("no such value") << toolKey << "MSINFO";
    QTest::newRow("data past the buffer") << toolKey << "LONG";
}

void TestAbout::getKeyValueUnreadable()
{
    QFETCH(QString, key);
    QFETCH(QString, valueName);

    FakeHost host;
    host.keys[toolKey][QStringLiteral("PATH")] = {HostSystem::stringType, "x"};
    host.keys[toolKey][QStringLiteral("LONG")] = {HostSystem::stringType, QByteArray(1025, 'a')};
    ScriptedDialogs dialogs;
    frm_about dlg(host, dialogs, nullptr);

    QString value = QStringLiteral("caller");
    QVERIFY(!dlg.GetKeyValue(HostSystem::localMachine, key, valueName, value));
    QCOMPARE(value, QString());
    QCOMPARE(host.openKeys, 0);
}

void TestAbout::startSysInfo_data()
{
    QTest::addColumn<uint>("toolType");        // 0: no tool path
    QTest::addColumn<QByteArray>("toolPath");
    QTest::addColumn<QByteArray>("folder");    // null: no folder
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QStringList>("reads");
    QTest::addColumn<QStringList>("started");
    QTest::addColumn<bool>("unavailable");

    const QByteArray tool("C:\\Tools\\msinfo32.exe\0", 22);
    const QByteArray folder("C:\\Shared\0", 10);
    const QString inFolder = QStringLiteral("C:\\Shared\\MSINFO32.EXE");
    const QString desktopTool = QStringLiteral("/usr/bin/kinfocenter");

    QTest::newRow("tool path found: folder never read")
        << 1u << tool << folder << QStringList{inFolder} << QStringList{} << desktopTool
        << QStringList{toolRead} << QStringList{"C:\\Tools\\msinfo32.exe"} << false;
    QTest::newRow("tool path found but the tool fails")
        << 1u << tool << folder << QStringList{inFolder} << QStringList{"C:\\Tools\\msinfo32.exe"}
        << desktopTool << QStringList{toolRead} << QStringList{"C:\\Tools\\msinfo32.exe"} << true;
    QTest::newRow("tool path not a text: nothing to start")
        << 3u << tool << folder << QStringList{inFolder} << QStringList{} << desktopTool
        << QStringList{toolRead} << QStringList{} << true;
    QTest::newRow("folder holds the tool")
        << 0u << QByteArray() << folder << QStringList{inFolder} << QStringList{} << desktopTool
        << QStringList{folderRead} << QStringList{inFolder} << false;
    QTest::newRow("folder's tool fails")
        << 0u << QByteArray() << folder << QStringList{inFolder} << QStringList{inFolder}
        << QString() << QStringList{folderRead} << QStringList{inFolder} << true;
    QTest::newRow("folder without the tool")
        << 0u << QByteArray() << folder << QStringList{} << QStringList{} << QString()
        << QStringList{folderRead} << QStringList{} << true;
    QTest::newRow("no registry: the desktop's tool")
        << 0u << QByteArray() << QByteArray() << QStringList{} << QStringList{} << desktopTool
        << QStringList{} << QStringList{desktopTool} << false;
    QTest::newRow("no registry, no tool")
        << 0u << QByteArray() << QByteArray() << QStringList{} << QStringList{} << QString()
        << QStringList{} << QStringList{} << true;
}

void TestAbout::startSysInfo()
{
    QFETCH(uint, toolType);
    QFETCH(QByteArray, toolPath);
    QFETCH(QByteArray, folder);
    QFETCH(QStringList, files);
    QFETCH(QStringList, failing);
    QFETCH(QString, fallback);
    QFETCH(QStringList, reads);
    QFETCH(QStringList, started);
    QFETCH(bool, unavailable);

    FakeHost host;
    if (toolType != 0)
        host.keys[toolKey][QStringLiteral("PATH")] = {toolType, toolPath};
    if (!folder.isNull())
        host.keys[folderKey][QStringLiteral("MSINFO")] = {HostSystem::stringType, folder};
    host.files = files;
    host.failingPrograms = failing;
    host.fallback = fallback;
    ScriptedDialogs dialogs;
    if (unavailable)
        dialogs.answerMessage();
    frm_about dlg(host, dialogs, nullptr);

    dlg.StartSysInfo();
    QCOMPARE(host.reads, reads);
    QCOMPARE(host.started, started);
    QCOMPARE(dialogs.transcript(), unavailable ? QStringList{unavailableMessage} : QStringList{});
    QCOMPARE(host.openKeys, 0);
}

QTEST_MAIN(TestAbout)
#include "test_about.moc"
