#include "scripted_dialogs.h"
#include "toolkit/application_info.h"
#include "windows/about/frm_about.h"
#include "windows/about/host_system.h"

#include <QLabel>
#include <QTest>

namespace {

const QString toolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString toolPath = toolKey + QStringLiteral("\\PATH");
const QString toolFolder = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location\\MSINFO");

// The local-machine registry as a standard user sees it (write access refused),
// a file system and a launcher, recording what the About box asks of them.
struct FakeHost final : HostSystem
{
    QMap<QString, QPair<quint32, QByteArray>> values; // "key\value" -> type and data
    QStringList files, failing, reads, started, handles;
    QString fallback;
    int open = 0;

    bool openKey(quint32 root, const QString &keyName, quint32 options, quint32 access,
                 Key &key) override
    {
        const quint32 writeAccess = 0xD0026;
        const QString prefix = keyName + QLatin1Char('\\');
        const bool exists = std::any_of(values.keyBegin(), values.keyEnd(),
                                        [&](const QString &v) { return v.startsWith(prefix); });
        if (root != localMachine || options != 0 || (access & writeAccess) != 0 || !exists)
            return false;
        handles.append(prefix);
        key = Key(handles.size());
        ++open;
        return true;
    }
    bool queryValue(Key key, const QString &name, quint32 &type, QByteArray &buffer,
                    quint32 &size) override
    {
        const QString path = handles.at(qsizetype(key) - 1) + name;
        reads.append(path);
        const qsizetype room = qMin<qsizetype>(size, buffer.size());
        if (!values.contains(path) || values[path].second.size() > room)
            return false;
        std::copy(values[path].second.cbegin(), values[path].second.cend(), buffer.begin());
        type = values[path].first;
        size = quint32(values[path].second.size());
        return true;
    }
    void closeKey(Key) override { --open; }
    bool fileExists(const QString &path) override { return files.contains(path); }
    bool startProgram(const QString &program) override
    {
        started.append(program);
        return !failing.contains(program);
    }
    QString fallbackSystemInfoTool() override { return fallback; }
};

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        registerApplicationInfo();
        m_host = FakeHost();
        m_dialogs.clear();
    }
    void load_data();
    void load();
    void getKeyValue_data();
    void getKeyValue();
    void startSysInfo_data();
    void startSysInfo();

private:
    FakeHost m_host;
    ScriptedDialogs m_dialogs;
};

void TestAbout::load_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("shown");
    QTest::newRow("the program's own") << QStringLiteral(TARNWELL_VERSION) << "Version 1.1.5";
    QTest::newRow("fourth field is the revision") << "2.10.7.31" << "Version 2.10.31";
    QTest::newRow("missing revision is 0") << "3.4" << "Version 3.4.0";
}

void TestAbout::load()
{
    QFETCH(QString, version);
    QFETCH(QString, shown);
    QCoreApplication::setApplicationVersion(version);
    frm_about dlg(m_host, m_dialogs, nullptr);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("About Tarnwell"));
    QCOMPARE(dlg.findChild<QLabel *>("lblTitle")->text(), QStringLiteral("Tarnwell"));
    QCOMPARE(dlg.findChild<QLabel *>("lblVersion")->text(), shown);
    QCOMPARE(dlg.findChild<QLabel *>("Image1")->pixmap().size(), QSize(160, 135));
}

void TestAbout::getKeyValue_data()
{
    QTest::addColumn<uint>("type"); // 0: no such value
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("expected");

    const QByteArray full(1024, 'a');
    QTest::newRow("text with its NUL") << 1u << QByteArray("C:\\m.exe\0", 9) << true << "C:\\m.exe";
    QTest::newRow("only one NUL dropped") << 1u << QByteArray("ab\0\0", 4) << true
                                          << QString::fromLatin1("ab\0", 3);
    QTest::newRow("filling the buffer") << 1u << full << true << QString::fromLatin1(full);
    QTest::newRow("past the buffer") << 1u << full + 'a' << false << "";
    QTest::newRow("no such value") << 0u << QByteArray() << false << "";
    QTest::newRow("number") << 4u << QByteArray("\x05\0\0\0", 4) << true << "5";
    QTest::newRow("number's bytes reversed") << 4u << QByteArray("\x78\x56\x34\x12") << true
                                             << "305419896";
    QTest::newRow("number, zero bytes inside") << 4u << QByteArray("\0\x01\0\0", 4) << true
                                               << "256";
    QTest::newRow("other type keeps caller's") << 2u << QByteArray("x\0", 2) << true << "caller";
}

void TestAbout::getKeyValue()
{
    QFETCH(uint, type);
    QFETCH(QByteArray, data);
    QFETCH(bool, found);
    QFETCH(QString, expected);

    m_host.values[toolKey + QStringLiteral("\\OTHER")] = {1, "x"}; // the key exists either way
    if (type != 0)
        m_host.values[toolPath] = {type, data};
    frm_about dlg(m_host, m_dialogs, nullptr);
    QString value = QStringLiteral("caller");
    const bool read = dlg.GetKeyValue(HostSystem::localMachine, toolKey, "PATH", value);
    QCOMPARE(read, found);
    QCOMPARE(value, expected);
    QCOMPARE(m_host.open, 0);
}

void TestAbout::startSysInfo_data()
{
    QTest::addColumn<uint>("toolType"); // 0: no tool path
    QTest::addColumn<bool>("folder");
    QTest::addColumn<bool>("toolInFolder");
    QTest::addColumn<bool>("desktopTool");
    QTest::addColumn<bool>("startFails");
    QTest::addColumn<QStringList>("reads");
    QTest::addColumn<QString>("started");

    const QString inFolder = QStringLiteral("C:\\Shared\\MSINFO32.EXE");
    const QString desktop = QStringLiteral("/usr/bin/kinfocenter");
    QTest::newRow("tool path: folder never read")
        << 1u << true << true << true << false << QStringList{toolPath} << "C:\\m.exe";
    QTest::newRow("tool path, start fails")
        << 1u << true << true << true << true << QStringList{toolPath} << "C:\\m.exe";
    QTest::newRow("tool path not a text: nothing to start")
        << 3u << true << true << true << false << QStringList{toolPath} << "";
    QTest::newRow("folder holds the tool")
        << 0u << true << true << true << false << QStringList{toolFolder} << inFolder;
    QTest::newRow("folder's tool fails")
        << 0u << true << true << false << true << QStringList{toolFolder} << inFolder;
    QTest::newRow("folder without the tool")
        << 0u << true << false << false << false << QStringList{toolFolder} << "";
    QTest::newRow("no registry: the desktop's tool")
        << 0u << false << false << true << false << QStringList{} << desktop;
    QTest::newRow("no registry, no tool")
        << 0u << false << false << false << false << QStringList{} << "";
}

void TestAbout::startSysInfo()
{
    QFETCH(uint, toolType);
    QFETCH(bool, folder);
    QFETCH(bool, toolInFolder);
    QFETCH(bool, desktopTool);
    QFETCH(bool, startFails);
    QFETCH(QStringList, reads);
    QFETCH(QString, started);

    if (toolType != 0)
        m_host.values[toolPath] = {toolType, QByteArray("C:\\m.exe\0", 9)};
    if (folder)
        m_host.values[toolFolder] = {HostSystem::stringType, QByteArray("C:\\Shared\0", 10)};
    if (toolInFolder)
        m_host.files = {QStringLiteral("C:\\Shared\\MSINFO32.EXE")};
    if (desktopTool)
        m_host.fallback = QStringLiteral("/usr/bin/kinfocenter");
    if (startFails)
        m_host.failing = {started};
    const bool unavailable = started.isEmpty() || startFails;
    if (unavailable)
        m_dialogs.answerMessage();

    frm_about(m_host, m_dialogs, nullptr).StartSysInfo();
    QCOMPARE(m_host.reads, reads);
    QCOMPARE(m_host.started, started.isEmpty() ? QStringList() : QStringList{started});
    QCOMPARE(m_dialogs.transcript(),
             unavailable ? QStringList{"Tarnwell: System Information Is Unavailable At This Time"}
                         : QStringList());
    QCOMPARE(m_host.open, 0);
}

QTEST_MAIN(TestAbout)
#include "test_about.moc"
