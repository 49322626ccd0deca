#include <QDir>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString mimeTypeName = QStringLiteral("text/x-tarnwell-automaton");

QString sourceFile(const QString &path)
{
    return QStringLiteral(TARNWELL_SOURCE_DIR "/") + path;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Each installed file under the prefix, with the source file it copies (none for programs).
QList<std::pair<QString, QString>> expectedFiles()
{
    QList<std::pair<QString, QString>> files{{QStringLiteral("bin/tarnwell"), {}}};
    if (TARNWELL_HAS_RUNNER)
        files.append({QStringLiteral("bin/tarnwell-run"), {}});
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        files.append({QStringLiteral("share/icons/hicolor/%1x%1/apps/tarnwell.png").arg(size),
                      QStringLiteral("resources/icons/tarnwell-%1.png").arg(size)});
    files.append({QStringLiteral("share/icons/hicolor/scalable/apps/tarnwell.svg"),
                  QStringLiteral("resources/icons/tarnwell.svg")});
    files.append({QStringLiteral("share/applications/tarnwell.desktop"),
                  QStringLiteral("resources/desktop/tarnwell.desktop")});
    files.append({QStringLiteral("share/mime/packages/tarnwell.xml"),
                  QStringLiteral("resources/desktop/tarnwell.xml")});
    const QDir examples(sourceFile(QStringLiteral("examples")));
    for (const QString &name : examples.entryList({QStringLiteral("*.tw")}, QDir::Files))
        files.append({QStringLiteral("share/tarnwell/examples/") + name,
                      QStringLiteral("examples/") + name});
    return files;
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void filesInPlace_data();
    void filesInPlace();
    void desktopOpensTwFilesWithTarnwell();

private:
    QString installed(const QString &path) const { return m_prefix.filePath(path); }

    QTemporaryDir m_prefix;
};

void TestInstall::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    QProcess install;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DESTDIR"));
    install.setProcessEnvironment(environment);
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(TARNWELL_CMAKE), {QStringLiteral("--install"),
                  QStringLiteral(TARNWELL_BUILD_DIR), QStringLiteral("--prefix"), m_prefix.path()});
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0,
             install.readAll().constData());
}

void TestInstall::filesInPlace_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("source");
    for (const auto &[path, source] : expectedFiles())
        QTest::newRow(qPrintable(path)) << path << source;
}

void TestInstall::filesInPlace()
{
    QFETCH(QString, path);
    QFETCH(QString, source);
    const QFileInfo info(installed(path));
    QVERIFY2(info.isFile(), qPrintable(path + QStringLiteral(" is missing")));
    QCOMPARE(info.isExecutable(), source.isEmpty());
    if (!source.isEmpty())
        QCOMPARE(contents(info.filePath()), contents(sourceFile(source)));
}

// A desktop reading the prefix knows *.tw files, and the menu entry offers to open
// them with the installed program and shows the installed icon.
void TestInstall::desktopOpensTwFilesWithTarnwell()
{
    qputenv("XDG_DATA_DIRS", installed(QStringLiteral("share")).toLocal8Bit());
    const QMimeDatabase database;
    QCOMPARE(database.mimeTypeForFile(QStringLiteral("a.tw"), QMimeDatabase::MatchExtension).name(),
             mimeTypeName);
    QVERIFY(database.mimeTypeForName(mimeTypeName).inherits(QStringLiteral("text/plain")));

    const QString desktopFile = installed(QStringLiteral("share/applications/tarnwell.desktop"));
    const QString entry = QString::fromUtf8(contents(desktopFile));
    const auto value = [&](const QString &key) {
        const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(key),
                                      QRegularExpression::MultilineOption);
        return line.match(entry).captured(1);
    };
    QCOMPARE(value(QStringLiteral("Exec")), QStringLiteral("tarnwell %f"));
    QCOMPARE(value(QStringLiteral("MimeType")), mimeTypeName + QLatin1Char(';'));
    QVERIFY(QFileInfo::exists(installed(QStringLiteral("share/icons/hicolor/48x48/apps/%1.png")
                                            .arg(value(QStringLiteral("Icon"))))));
}

QTEST_MAIN(TestInstall)
#include "test_install.moc"
