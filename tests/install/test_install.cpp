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
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(TARNWELL_CMAKE, {"--install", TARNWELL_BUILD_DIR, "--prefix", prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0,
                 install.readAll().constData());

        // Each installed file with the source file it copies (none for the programs).
        QList<std::pair<QString, QString>> files{
            {"bin/tarnwell", ""}, {"bin/tarnwell-run", ""},
            {"share/icons/hicolor/scalable/apps/tarnwell.svg", "resources/icons/tarnwell.svg"},
            {"share/applications/tarnwell.desktop", "resources/desktop/tarnwell.desktop"},
            {"share/mime/packages/tarnwell.xml", "resources/desktop/tarnwell.xml"}};
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            files.append({QString("share/icons/hicolor/%1x%1/apps/tarnwell.png").arg(size),
                          QString("resources/icons/tarnwell-%1.png").arg(size)});
        for (const QString &name : QDir(TARNWELL_SOURCE_DIR "/examples").entryList({"*.tw"}))
            files.append({"share/tarnwell/examples/" + name, "examples/" + name});
        for (const auto &[path, source] : files) {
            const QFileInfo info(prefix.filePath(path)), copied(TARNWELL_SOURCE_DIR "/" + source);
            QVERIFY2(info.isFile() && info.isExecutable() == source.isEmpty()
                         && (source.isEmpty() || info.size() == copied.size()),
                     qPrintable(path));
        }
    }
};

QTEST_MAIN(TestInstall)
#include "test_install.moc"
