#include <QDirIterator>
#include <QImageReader>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString mimeTypeName = QStringLiteral("text/x-tarnwell-automaton");
const int iconPixelSizes[] = {16, 24, 32, 48, 64, 128, 256};

struct Expected
{
    QString path;   // under the prefix
    QString source; // the file it is a copy of, under the source tree; empty for programs
};

QString sourceFile(const QString &path)
{
    return QStringLiteral(TARNWELL_SOURCE_DIR "/") + path;
}

QList<Expected> expectedFiles()
{
    QList<Expected> files{{QStringLiteral("bin/tarnwell"), {}}};
    if (TARNWELL_HAS_RUNNER)
        files.append({QStringLiteral("bin/tarnwell-run"), {}});
    for (int size : iconPixelSizes)
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

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The keys of a desktop entry's main group.
QHash<QString, QString> desktopEntry(const QString &path)
{
    QHash<QString, QString> keys;
    bool inMainGroup = false;
    for (const QString &line : QString::fromUtf8(contents(path)).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')))
            inMainGroup = line == QLatin1String("[Desktop Entry]");
        else if (inMainGroup && line.contains(QLatin1Char('=')))
            keys.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1));
    }
    return keys;
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void desktopKnowsTheFileType();
    void filesInPlace_data();
    void filesInPlace();
    void nothingElseInstalled();
    void iconSizes_data();
    void iconSizes();
    void desktopEntryFitsTheFileType();
    void desktopEntryValidates();

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
    install.start(QStringLiteral(TARNWELL_CMAKE),
                  {QStringLiteral("--install"), QStringLiteral(TARNWELL_BUILD_DIR),
                   QStringLiteral("--prefix"), m_prefix.path()});
    QVERIFY(install.waitForFinished(120000));
    const QByteArray output = install.readAll();
    QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0,
             output.constData());
}

// Runs before anything else reads the MIME database, which reads its folders once.
void TestInstall::desktopKnowsTheFileType()
{
    qputenv("XDG_DATA_DIRS", installed(QStringLiteral("share")).toLocal8Bit());
    const QMimeDatabase database;
    QCOMPARE(database.mimeTypeForFile(QStringLiteral("automaton.tw"), QMimeDatabase::MatchExtension)
                 .name(),
             mimeTypeName);
    QVERIFY(database.mimeTypeForName(mimeTypeName).inherits(QStringLiteral("text/plain")));
}

void TestInstall::filesInPlace_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("source");
    for (const Expected &file : expectedFiles())
        QTest::newRow(qPrintable(file.path)) << file.path << file.source;
}

void TestInstall::filesInPlace()
{
    QFETCH(QString, path);
    QFETCH(QString, source);

    const QFileInfo info(installed(path));
    QVERIFY2(info.isFile(), qPrintable(path + QStringLiteral(" is missing")));
    if (source.isEmpty()) {
        QVERIFY(info.isExecutable());
    } else {
        QVERIFY(!info.isExecutable());
        QCOMPARE(contents(info.filePath()), contents(sourceFile(source)));
    }
}

// Besides the expected files only the databases the desktop's tools build from
// them: the MIME cache and the desktop entries' file type index.
void TestInstall::nothingElseInstalled()
{
    QStringList unexpected;
    QDirIterator it(m_prefix.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = QDir(m_prefix.path()).relativeFilePath(it.next());
        const bool generated = (path.startsWith(QLatin1String("share/mime/"))
                                && !path.startsWith(QLatin1String("share/mime/packages/")))
            || path == QLatin1String("share/applications/mimeinfo.cache");
        if (!generated)
            unexpected.append(path);
    }
    for (const Expected &file : expectedFiles())
        unexpected.removeOne(file.path);
    QCOMPARE(unexpected, QStringList());
}

void TestInstall::iconSizes_data()
{
    QTest::addColumn<int>("size");
    for (int size : iconPixelSizes)
        QTest::addRow("%dx%d", size, size) << size;
}

void TestInstall::iconSizes()
{
    QFETCH(int, size);
    const QString path = installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/tarnwell.png").arg(size));
    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("png"));
    QCOMPARE(reader.size(), QSize(size, size));
}

// The menu entry starts the installed program, finds the installed icon, and
// offers itself for the file type the MIME entry declares for *.tw.
void TestInstall::desktopEntryFitsTheFileType()
{
    const QHash<QString, QString> entry =
        desktopEntry(installed(QStringLiteral("share/applications/tarnwell.desktop")));
    QCOMPARE(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(entry.value(QStringLiteral("Exec")), QStringLiteral("tarnwell %f"));
    QVERIFY(QFileInfo(installed(QStringLiteral("bin/tarnwell"))).isExecutable());
    const QString icon = entry.value(QStringLiteral("Icon"));
    QVERIFY(QFileInfo::exists(installed(QStringLiteral("share/icons/hicolor/48x48/apps/%1.png").arg(icon))));
    QVERIFY(QFileInfo::exists(installed(QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(icon))));

    QStringList declaredTypes;
    QStringList globs;
    QXmlStreamReader xml(contents(installed(QStringLiteral("share/mime/packages/tarnwell.xml"))));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("mime-type"))
            declaredTypes.append(xml.attributes().value(QLatin1String("type")).toString());
        else if (xml.name() == QLatin1String("glob"))
            globs.append(xml.attributes().value(QLatin1String("pattern")).toString());
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(declaredTypes, QStringList{mimeTypeName});
    QCOMPARE(globs, QStringList{QStringLiteral("*.tw")});
    QCOMPARE(entry.value(QStringLiteral("MimeType")).split(QLatin1Char(';'), Qt::SkipEmptyParts),
             declaredTypes);
}

void TestInstall::desktopEntryValidates()
{
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed");
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(validator, {installed(QStringLiteral("share/applications/tarnwell.desktop"))});
    QVERIFY(validate.waitForFinished(30000));
    QVERIFY2(validate.exitCode() == 0, validate.readAll().constData());
}

QTEST_MAIN(TestInstall)
#include "test_install.moc"
