#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A project of three layers: mini_low <- mini_high, a header-only helper using
// mini_low, a test program using mini_high and the helper, and a tool using
// mini_low; one header that belongs to no target. Every include here follows
// the arrows, through a library used by another too, in quotes and in angle
// brackets, beside the file, and of headers that are not ours.
const QMap<QString, QString> &project()
{
    static const QMap<QString, QString> files{
        {"CMakeLists.txt",
         "cmake_minimum_required(VERSION 3.25)\n"
         "project(Mini LANGUAGES CXX)\n"
         "include(" TARNWELL_SOURCE_DIR "/cmake/TarnwellOptions.cmake)\n"
         "tarnwell_library(mini_low SOURCES src/low/low.h src/low/low.cpp)\n"
         "tarnwell_library(mini_high SOURCES src/high/high.h src/high/high.cpp USES mini_low)\n"
         "add_library(mini_helper INTERFACE tests/helper/helper.h)\n"
         "target_include_directories(mini_helper INTERFACE ${PROJECT_SOURCE_DIR}/tests/helper)\n"
         "target_link_libraries(mini_helper INTERFACE mini_low)\n"
         "add_executable(mini_test tests/mini_test.cpp)\n"
         "target_link_libraries(mini_test PRIVATE mini_high mini_helper)\n"
         "add_executable(mini_tool tools/mini_tool.cpp)\n"
         "target_link_libraries(mini_tool PRIVATE mini_low)\n"
         "include(" TARNWELL_SOURCE_DIR "/cmake/IncludeArrows.cmake)\n"},
        {"src/low/low.h", "#pragma once\n#include <vector>\n"},
        {"src/low/low.cpp", "#include \"low/low.h\"\n"},
        {"src/high/high.h", "#pragma once\n#include \"low/low.h\"\n"},
        {"src/high/high.cpp", "#include \"high.h\"\n#include <high/high.h>\n"},
        {"src/stray/stray.h", "#pragma once\n"},
        {"tests/helper/helper.h", "#pragma once\n#include \"low/low.h\"\n"},
        {"tests/mini_test.cpp",
         "#include \"helper.h\"\n#include \"high/high.h\"\n#include <low/low.h>\n#include \"mini_test.moc\"\n"},
        {"tools/mini_tool.cpp", "#include \"low/low.h\"\n#include <QString>\n"},
    };
    return files;
}

bool write(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) == text.toUtf8().size();
}

} // namespace

class TestIncludeArrows : public QObject
{
    Q_OBJECT
    QTemporaryDir scratch;
    QString source() const { return scratch.filePath(QStringLiteral("source")); }
    QString build() const { return scratch.filePath(QStringLiteral("build")); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(scratch.isValid());
        for (auto file = project().begin(); file != project().end(); ++file)
            QVERIFY(write(source() + u'/' + file.key(), file.value()));
        QProcess configure;
        configure.setProcessChannelMode(QProcess::MergedChannels);
        configure.start(TARNWELL_CMAKE, {"-S", source(), "-B", build(), "-G", TARNWELL_GENERATOR,
                                         "-DCMAKE_MAKE_PROGRAM=" TARNWELL_MAKE_PROGRAM,
                                         "-DCMAKE_CXX_COMPILER=" TARNWELL_CXX_COMPILER});
        QVERIFY(configure.waitForFinished(120000));
        QVERIFY2(configure.exitCode() == 0, configure.readAllStandardOutput().constData());
    }

    // The project with one file changed: the faults the check reports, one a
    // line (none when the build goes on).
    void faultsFailTheBuild_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("faults");
        const QString lowCpp = QStringLiteral("src/low/low.cpp");
        QTest::newRow("every include follows the arrows") << lowCpp << project()[lowCpp] << QStringList();
        QTest::newRow("a library includes one it does not use")
            << lowCpp << "#include \"high/high.h\"\n"
            << QStringList{"src/low/low.cpp: #include \"high/high.h\" belongs to mini_high, which mini_low does not use"};
        QTest::newRow("in angle brackets")
            << lowCpp << "#include <high/high.h>\n"
            << QStringList{"src/low/low.cpp: #include <high/high.h> belongs to mini_high, which mini_low does not use"};
        QTest::newRow("spaced out")
            << lowCpp << "  #  include   \"high/high.h\"\n"
            << QStringList{"src/low/low.cpp: #include \"high/high.h\" belongs to mini_high, which mini_low does not use"};
        QTest::newRow("by a path up and across")
            << lowCpp << "#include \"../high/high.h\"\n"
            << QStringList{"src/low/low.cpp: #include \"../high/high.h\" belongs to mini_high, which mini_low does not use"};
        QTest::newRow("commented out") << lowCpp << "// #include \"high/high.h\"\n" << QStringList();
        QTest::newRow("a header-only helper includes beyond its uses")
            << "tests/helper/helper.h" << "#pragma once\n#include \"high/high.h\"\n"
            << QStringList{"tests/helper/helper.h: #include \"high/high.h\" belongs to mini_high, which mini_helper does not use"};
        QTest::newRow("a program includes a helper it does not use")
            << "tools/mini_tool.cpp" << "#include \"helper.h\"\n"
            << QStringList{"tools/mini_tool.cpp: #include \"helper.h\" belongs to mini_helper, which mini_tool does not use"};
        QTest::newRow("a header of ours in no library")
            << "tools/mini_tool.cpp" << "#include <stray/stray.h>\n"
            << QStringList{"tools/mini_tool.cpp: #include <stray/stray.h> is src/stray/stray.h, which belongs to no library"};
    }

    void faultsFailTheBuild()
    {
        QFETCH(QString, file);
        QFETCH(QString, text);
        QFETCH(QStringList, faults);
        for (auto original = project().begin(); original != project().end(); ++original)
            QVERIFY(write(source() + u'/' + original.key(), original.key() == file ? text : original.value()));
        QFile::remove(build() + QStringLiteral("/include_arrows.stamp"));

        QProcess check;
        check.setProcessChannelMode(QProcess::MergedChannels);
        check.start(TARNWELL_CMAKE, {"--build", build(), "--target", "check_include_arrows"});
        QVERIFY(check.waitForFinished(120000));
        const QString output = QString::fromUtf8(check.readAllStandardOutput());
        QStringList reported;
        static const QRegularExpression fault(QStringLiteral("^\\s+(\\S+: #include .*)$"),
                                              QRegularExpression::MultilineOption);
        for (const QRegularExpressionMatch &match : fault.globalMatch(output))
            reported << match.captured(1);
        QCOMPARE(reported, faults);
        QVERIFY2((check.exitCode() == 0) == faults.isEmpty(), qPrintable(output));
    }
};

QTEST_GUILESS_MAIN(TestIncludeArrows)
#include "test_include_arrows.moc"
