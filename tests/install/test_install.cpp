#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestInstall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Installs the build into an empty prefix: the programs, the icons, the desktop
    // entry, the file type and the examples each land in their place.
    void everyFileInPlace()
    {
        QTemporaryDir prefix;
        const QStringList install{"--install", TARNWELL_BUILD_DIR, "--prefix", prefix.path()};
        QCOMPARE(QProcess::execute(TARNWELL_CMAKE, install), 0);
        QStringList files{"bin/tarnwell", "bin/tarnwell-run", "share/applications/tarnwell.desktop",
                          "share/mime/packages/tarnwell.xml",
                          "share/icons/hicolor/scalable/apps/tarnwell.svg"};
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            files << QString("share/icons/hicolor/%1x%1/apps/tarnwell.png").arg(size);
        for (const QString &name : QDir(TARNWELL_SOURCE_DIR "/examples").entryList({"*.tw"}))
            files << "share/tarnwell/examples/" + name;
        for (const QString &path : files)
            QVERIFY2(QFileInfo(prefix.filePath(path)).isFile(), qPrintable(path));
    }
};

QTEST_MAIN(TestInstall)
#include "test_install.moc"
