#include "app/command_line.h"
#include "toolkit/application_info.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString usageLine = QStringLiteral("Usage: tarnwell [options] [FILE]\n");

// What a parse gave, in one line: the action, then the file (or "-" for none),
// then the reason it is refused, then the first line of the text.
QString describe(const CommandLine &line)
{
    static const char *const actions[] = {"start", "help", "version", "refuse"};
    return QStringList{QLatin1String(actions[int(line.action)]), line.file.value_or(QStringLiteral("-")),
                       line.fileRefusal, line.text.section(u'\n', 0, 0)}
        .join(u'|');
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { registerApplicationInfo(); }

    void parse_data()
    {
        QTest::addColumn<QByteArrayList>("arguments");
        QTest::addColumn<QString>("expected");

        const QString notUtf8 = "The file's name is not valid UTF-8, so the automaton could not be saved under it again.";
        QTest::newRow("nothing: a new automaton") << QByteArrayList{} << "start|-||";
        QTest::newRow("a file") << QByteArrayList{"ends.tw"} << "start|ends.tw||";
        QTest::newRow("a UTF-8 name") << QByteArrayList{"caf\xC3\xA9.tw"} << "start|café.tw||";
        QTest::newRow("an empty name is still a name") << QByteArrayList{""} << "start|||";
        QTest::newRow("--help") << QByteArrayList{"--help"} << "help|-||" + usageLine.trimmed();
        QTest::newRow("-h, with a file") << QByteArrayList{"a.tw", "-h"} << "help|-||" + usageLine.trimmed();
        QTest::newRow("--version") << QByteArrayList{"--version"} << "version|-||Tarnwell 1.1.5";
        QTest::newRow("-v") << QByteArrayList{"-v"} << "version|-||Tarnwell 1.1.5";
        QTest::newRow("-- ends the options") << QByteArrayList{"--", "--help"} << "start|--help||";
        QTest::newRow("a lone - is a name") << QByteArrayList{"-"} << "start|-||";
        QTest::newRow("an unknown option") << QByteArrayList{"--bogus"} << "refuse|-||tarnwell: Unknown option 'bogus'.";
        QTest::newRow("an unknown option wins over --help") << QByteArrayList{"--help", "-x"}
                                                            << "refuse|-||tarnwell: Unknown option 'x'.";
        QTest::newRow("two files") << QByteArrayList{"a.tw", "b.tw"} << "refuse|-||tarnwell: Only one FILE can be opened.";
        QTest::newRow("a name that is not UTF-8") << QByteArrayList{"bad\xFFname.tw"}
                                                  << "start|bad\uFFFDname.tw|" + notUtf8 + '|';
        QTest::newRow("U+FFFD itself is a good name") << QByteArrayList{"bad\xEF\xBF\xBDname.tw"}
                                                      << "start|bad\uFFFDname.tw||";
        QTest::newRow("not UTF-8 after --") << QByteArrayList{"--", "-\xC3"} << "start|-\uFFFD|" + notUtf8 + '|';
        QTest::newRow("the toolkit's options are passed over")
            << QByteArrayList{"-platform", "offscreen", "-style=fusion", "--reverse", "a.tw", "-qwindowtitle", "T"}
            << "start|a.tw||";
        QTest::newRow("a toolkit option takes its value, even one like a file") << QByteArrayList{"-style", "a.tw"}
                                                                                << "start|-||";
        QTest::newRow("after --, a toolkit option is a file name") << QByteArrayList{"--", "-reverse"}
                                                                  << "start|-reverse||";
        QTest::newRow("an unknown option among the toolkit's") << QByteArrayList{"-reverse", "-x", "-platform", "xcb"}
                                                               << "refuse|-||tarnwell: Unknown option 'x'.";
    }

    void parse()
    {
        QFETCH(QByteArrayList, arguments);
        QFETCH(QString, expected);
        arguments.prepend("/usr/bin/tarnwell");
        QCOMPARE(describe(parseCommandLine(arguments)), expected);
    }

    // The help names every part of the command line.
    void usageTellsTheWholeLine()
    {
        const QString help = parseCommandLine({"tarnwell", "--help"}).text;
        for (const char *part : {"-h, --help", "-v, --version", "FILE", "--", "-platform"})
            QVERIFY2(help.contains(QLatin1String(part)), part);
    }

    // The program itself: what it prints on standard output, on standard error,
    // and its exit status. Help, the version and a refusal need no display: the
    // platform "none" does not exist, and would stop the program if it were
    // asked for.
    void program_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("expected");

        const QString help = parseCommandLine({"tarnwell", "--help"}).text;
        QTest::newRow("--help") << QStringList{"--help"} << "none" << help + "||exit 0";
        QTest::newRow("--version") << QStringList{"--version"} << "none" << "Tarnwell 1.1.5\n||exit 0";
        QTest::newRow("an unknown option") << QStringList{"--bogus", "a.tw"} << "none"
                                           << "|tarnwell: Unknown option 'bogus'.\n\n" + help + "|exit 2";
        QTest::newRow("two files") << QStringList{"a.tw", "b.tw"} << "none"
                                   << "|tarnwell: Only one FILE can be opened.\n\n" + help + "|exit 2";
        // The toolkit takes its own options: -platform here picks a platform that exists.
        QTest::newRow("the toolkit's -platform") << QStringList{"-platform", "offscreen", "--version"} << "none"
                                                 << "Tarnwell 1.1.5\n||exit 0";
        QTest::newRow("the toolkit's -reverse, then an unknown option") << QStringList{"-reverse", "-x"} << "none"
                                           << "|tarnwell: Unknown option 'x'.\n\n" + help + "|exit 2";
    }

    void program()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, platform);
        QFETCH(QString, expected);

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        // A started toolkit looks for its runtime folder and warns without one.
        const QTemporaryDir runtime;
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TARNWELL_PROGRAM), arguments);
        if (!program.waitForFinished(20000)) {
            program.kill();
            program.waitForFinished();
            QFAIL("the program did not end");
        }
        QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()) + u'|' + QString::fromUtf8(program.readAllStandardError())
                     + QStringLiteral("|exit %1").arg(program.exitCode()),
                 expected);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
