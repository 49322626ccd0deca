#include "cli/batch_run.h"
#include "cli/expect_list.h"
#include "cli/string_list.h"
#include "document/escaped_line.h"
#include "document/tw_file.h"
#include "test_automata.h"

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// A list as one line per string: "escaped|VERDICT" or "escaped|-".
QString describe(const QList<ListedString> &strings)
{
    QStringList lines;
    for (const ListedString &s : strings)
        lines.append(QString::fromUtf8(EscapedLine::escape(QByteArrayView(s.bytes))) + u'|'
                     + (s.expected ? verdictText(*s.expected) : QStringLiteral("-")));
    return lines.join(u'\n');
}

// What the batch runner prints after the string and its tab, for one string.
QByteArray batchColumns(const modAll &model, const QByteArray &bytes)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    BatchRun batch(model, false, out);
    batch.runString(bytes);
    batch.flush();
    const QByteArray line = out.data().chopped(1);
    return line.sliced(EscapedLine::escape(QByteArrayView(bytes)).size() + 1);
}

QByteArray randomBytes(QRandomGenerator &random, int length)
{
    static const QByteArray pieces[] = {"0", "1", "2", "a", "\t", "\xFF", "\xC3\xA9", "\xF0\x9F\x98\x80"};
    QByteArray bytes;
    for (int i = 0; i < length; ++i)
        bytes += pieces[random.bounded(i % 5 == 4 ? 8 : 3)];
    return bytes;
}

} // namespace

class TestStringList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void roundTrip_data();
    void roundTrip();
    void wholeStringRunsAsTheBatch();
    void checkList_data();
    void checkList();
    void expectCommand_data();
    void expectCommand();
    void lineReaderTakesPiecesCutAnywhere();
    void expectReadsFilesAndPipesOnly_data();
    void expectReadsFilesAndPipesOnly();
};

void TestStringList::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("strings");
    QTest::addColumn<QString>("error");

    QTest::newRow("empty text, no strings") << QByteArray() << "" << "";
    QTest::newRow("one empty line is the empty string") << QByteArray("\n") << "|-" << "";
    QTest::newRow("last line without ending") << QByteArray("a\nb") << "a|-\nb|-" << "";
    QTest::newRow("CR LF endings; a lone CR is kept") << QByteArray("a\r\nb\r") << "a|-\nb\\r|-" << "";
    QTest::newRow("verdicts") << QByteArray("a\tACCEPTED\nb\tREJECTED\nc\tERROR\n")
                              << "a|ACCEPTED\nb|REJECTED\nc|ERROR" << "";
    QTest::newRow("result line of the batch runner") << QByteArray("x\tERROR\tInvalid alphabet 'x'\n")
                                                     << "x|ERROR" << "";
    QTest::newRow("empty verdict column") << QByteArray("a\t\n") << "a|-" << "";
    QTest::newRow("escapes") << QByteArray("a\\tb\\\\\\x01\\xff\n") << "a\\tb\\\\\\x01\\xFF|-" << "";
    QTest::newRow("non-ASCII as it is") << QByteArray("\xC3\xA9t\xC3\xA9\tACCEPTED") << "\u00E9t\u00E9|ACCEPTED"
                                        << "";
    QTest::newRow("bad escape, with its line and column") << QByteArray("a\nb\\q\n") << ""
                                                          << "Line 2: the backslash at column 2 begins no escape "
                                                             "(a backslash itself is written \\\\)";
    QTest::newRow("unknown verdict") << QByteArray("a\taccepted\n") << ""
                                     << "Line 1: \"accepted\" is not ACCEPTED, REJECTED or ERROR";
}

void TestStringList::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, strings);
    QFETCH(QString, error);

    const StringList::Parsed parsed = StringList::parse(text);
    QCOMPARE(parsed.error, error);
    if (error.isEmpty())
        QCOMPARE(describe(parsed.strings), strings);
}

void TestStringList::roundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("verdict"); // -1: none

    QTest::newRow("empty string") << QByteArray() << -1;
    QTest::newRow("empty string, expected") << QByteArray() << int(RunVerdict::Accepted);
    QTest::newRow("tab and line breaks") << QByteArray("a\tb\nc\r\n") << int(RunVerdict::Rejected);
    QTest::newRow("control characters") << QByteArray("\x01\x1B\x7F") << int(RunVerdict::Error);
    QTest::newRow("backslashes") << QByteArray("\\t\\\\x") << -1;
    QTest::newRow("non-ASCII") << QByteArray("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80") << -1;
    QTest::newRow("not UTF-8") << QByteArray("\xFF\xC3(\xED\xA0\x80") << int(RunVerdict::Accepted);
    QTest::newRow("verdict word as the string") << QByteArray("ACCEPTED") << int(RunVerdict::Rejected);
}

// A list saved and read back holds the same strings and verdicts, whatever
// the strings hold; so does a list of many such strings.
void TestStringList::roundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, verdict);

    ListedString string{bytes, verdict < 0 ? std::nullopt : std::optional(RunVerdict(verdict))};
    const QList<ListedString> list{string, ListedString{}, string};
    const StringList::Parsed parsed = StringList::parse(StringList::text(list));
    QVERIFY(parsed.ok());
    QCOMPARE(describe(parsed.strings), describe(list));
    QCOMPARE(parsed.strings[0].bytes, bytes);
}

// The window's and --expect's run of a string is the batch runner's: verdict
// and reason alike, over the examples and random automata.
void TestStringList::wholeStringRunsAsTheBatch()
{
    QList<modAll> models;
    for (const QString &name : QDir(TARNWELL_EXAMPLES_DIR).entryList({"*.tw"})) {
        TwResult<modAll> loaded = TwFile::loadNative(QFile::encodeName(TARNWELL_EXAMPLES_DIR "/" + name));
        QVERIFY2(loaded.ok(), qPrintable(name));
        models.append(loaded.value());
    }
    QVERIFY(models.size() >= 4);
    QRandomGenerator random(7);
    for (int i = 0; i < 20; ++i)
        models.append(randomAutomaton(1 + random.bounded(12), random.generate()));
    modAll invalidStart = endsInA();
    invalidStart.start_state = 5;
    models.append(invalidStart);

    for (const modAll &model : models) {
        const ByteEngine engine(model);
        for (int i = 0; i < 40; ++i) {
            const QByteArray bytes = randomBytes(random, random.bounded(12));
            QByteArray escaped;
            const qsizetype valid = EscapedLine::append(escaped, bytes);
            const StringResult result = runWholeString(engine, bytes, valid);
            QByteArray columns = verdictText(result.verdict).toUtf8();
            if (result.verdict == RunVerdict::Error)
                columns += '\t' + result.status.toUtf8();
            QCOMPARE(columns, batchColumns(model, bytes));
        }
    }
}

void TestStringList::checkList_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QByteArray>("differences");
    QTest::addColumn<QString>("summary");

    QTest::newRow("all as expected") << QByteArray("a\tACCEPTED\nab\tREJECTED\n\tREJECTED\nx\tERROR\n")
                                     << QByteArray() << "4 of 4 as expected, 0 differ";
    QTest::newRow("some differ, an error with its reason")
        << QByteArray("a\tREJECTED\nb\tREJECTED\na\\tb\tACCEPTED\n")
        << QByteArray("a\tREJECTED\tACCEPTED\na\\tb\tACCEPTED\tERROR\tInvalid alphabet '\\t'\n")
        << "1 of 3 as expected, 2 differ";
    QTest::newRow("strings without a verdict are only run") << QByteArray("a\nb\tACCEPTED\n")
                                                            << QByteArray("b\tACCEPTED\tREJECTED\n")
                                                            << "0 of 1 as expected, 1 differ";
    QTest::newRow("no verdicts at all") << QByteArray("a\nb\n\n") << QByteArray() << "3 strings run";
}

void TestStringList::checkList()
{
    QFETCH(QByteArray, list);
    QFETCH(QByteArray, differences);
    QFETCH(QString, summary);

    const ExpectReport report = ::checkList(endsInA(), StringList::parse(list).strings);
    QCOMPARE(report.differences, differences);
    QCOMPARE(report.summary, summary);
    QCOMPARE(report.allAsExpected, differences.isEmpty());
}

void TestStringList::expectCommand_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QByteArray>("errors");
    QTest::addColumn<int>("status");

    QTest::newRow("all as expected: 0") << QStringList{"--expect", "LIST", "ends-in-a.tw"}
                                        << QByteArray("a\tACCEPTED\r\nb\tREJECTED\r\n") << QByteArray()
                                        << QByteArray("2 of 2 as expected, 0 differ\n") << 0;
    QTest::newRow("one differs: 1") << QStringList{"--expect", "LIST", "ends-in-a.tw"}
                                    << QByteArray("a\tACCEPTED\nb\tACCEPTED\n")
                                    << QByteArray("b\tACCEPTED\tREJECTED\n")
                                    << QByteArray("1 of 2 as expected, 1 differ\n") << 1;
    QTest::newRow("list missing: 2") << QStringList{"--expect", "missing.txt", "ends-in-a.tw"} << QByteArray()
                                     << QByteArray()
                                     << QByteArray("tarnwell-run: missing.txt: No such file or directory\n") << 2;
    QTest::newRow("automaton missing: 2") << QStringList{"--expect", "LIST", "gone.tw"} << QByteArray("a\n")
                                          << QByteArray()
                                          << QByteArray("tarnwell-run: gone.tw: No such file or directory\n") << 2;
    QTest::newRow("malformed list: 2") << QStringList{"--expect", "LIST", "ends-in-a.tw"}
                                       << QByteArray("a\tMAYBE\n") << QByteArray()
                                       << QByteArray("tarnwell-run: LIST: Line 1: \"MAYBE\" is not ACCEPTED, REJECTED or ERROR\n")
                                       << 2;
    QTest::newRow("no automaton: usage, 2") << QStringList{"--expect", "LIST"} << QByteArray("a\n") << QByteArray()
                                            << QByteArray("Usage:") << 2;
}

void TestStringList::expectCommand()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, list);
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, errors);
    QFETCH(int, status);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile::copy(TARNWELL_EXAMPLES_DIR "/ends-in-a.tw", dir.filePath("ends-in-a.tw"));
    QFile listFile(dir.filePath("LIST"));
    QVERIFY(listFile.open(QIODevice::WriteOnly));
    listFile.write(list);
    listFile.close();

    QProcess run;
    run.setWorkingDirectory(dir.path());
    run.start(TARNWELL_RUN_PATH, arguments);
    QVERIFY(run.waitForFinished(30000));
    QCOMPARE(run.readAllStandardOutput(), output);
    const QByteArray shown = run.readAllStandardError();
    if (errors == "Usage:")
        QVERIFY(shown.startsWith(errors));
    else
        QCOMPARE(shown, errors);
    QCOMPARE(run.exitCode(), status);
}

// A list fed in pieces of every size reads as the whole text does, failures
// and their line numbers included.
void TestStringList::lineReaderTakesPiecesCutAnywhere()
{
    const QByteArray lists[] = {"a\tACCEPTED\r\nb\n\n\\t\tERROR\nlast", "a\nb\\q\nc\n", "\r\n\r\n", "x\r"};
    for (const QByteArray &text : lists) {
        const StringList::Parsed whole = StringList::parse(text);
        for (qsizetype piece = 1; piece <= text.size(); ++piece) {
            QList<ListedString> strings;
            StringList::LineReader reader([&strings](ListedString &&string) {
                strings.append(std::move(string));
                return true;
            });
            for (qsizetype at = 0; at < text.size() && reader.feed(QByteArrayView(text).sliced(at, qMin(piece, text.size() - at)));)
                at += piece;
            reader.finish();
            QCOMPARE(reader.failure().line > 0 ? reader.failure().message() : QString(), whole.error);
            if (whole.ok())
                QCOMPARE(describe(strings), describe(whole.strings));
        }
    }
}

// The list file given to --expect, of every kind, through the shell as a
// teacher gives it; the wait is only a guard against a hang.
void TestStringList::expectReadsFilesAndPipesOnly_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QByteArray>("errors");
    QTest::addColumn<int>("status");
    const QByteArray twoLines = "1 of 2 as expected, 1 differ\n";
    QTest::newRow("a file") << QByteArray("file") << QByteArray("b\tACCEPTED\tREJECTED\n") << twoLines << 1;
    QTest::newRow("a pipe") << QByteArray("pipe") << QByteArray("b\tACCEPTED\tREJECTED\n") << twoLines << 1;
    QTest::newRow("a named pipe nobody writes to: an empty list") << QByteArray("fifo") << QByteArray()
                                                                  << QByteArray("0 strings run\n") << 0;
    QTest::newRow("/dev/zero") << QByteArray("/dev/zero") << QByteArray()
                               << QByteArray("tarnwell-run: /dev/zero: it is a device, not a file\n") << 2;
    QTest::newRow("a folder") << QByteArray("folder") << QByteArray()
                              << QByteArray("tarnwell-run: folder: it is a folder, not a file\n") << 2;
    QTest::newRow("a file over 1 GiB") << QByteArray("huge") << QByteArray()
        << QByteArray("tarnwell-run: huge: the file is larger than 1 GiB, the most Tarnwell reads\n") << 2;
    QTest::newRow("a line that cannot be read, after a difference") << QByteArray("bad line") << QByteArray("b\tACCEPTED\tREJECTED\n")
        << QByteArray("tarnwell-run: bad line: Line 3: \"MAYBE\" is not ACCEPTED, REJECTED or ERROR\n") << 2;
    QTest::newRow("results into a full disk") << QByteArray("full") << QByteArray()
        << QByteArray("tarnwell-run: standard output: cannot write the differences: No space left on device\n") << 2;
}

void TestStringList::expectReadsFilesAndPipesOnly()
{
    QFETCH(QByteArray, kind);
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, errors);
    QFETCH(int, status);
    QTemporaryDir dir;
    QFile::copy(TARNWELL_EXAMPLES_DIR "/ends-in-a.tw", dir.filePath("ends-in-a.tw"));
    const QByteArray list = "a\tACCEPTED\nb\tACCEPTED\n";
    const QByteArray path = kind.startsWith('/') ? kind : QFile::encodeName(dir.filePath(QString::fromUtf8(kind)));
    QByteArray word = "\"$1\"";
    QByteArray after;
    if (kind == "file" || kind == "bad line" || kind == "full") {
        QFile file(QFile::decodeName(path));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kind == "full" ? list.repeated(20000) : kind == "bad line" ? list + "c\tMAYBE\n" : list);
        if (kind == "full")
            after = " > /dev/full";
    } else if (kind == "pipe") {
        word = "<(printf 'a\\tACCEPTED\\nb\\tACCEPTED\\n')";
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(path.constData(), 0600), 0);
    } else if (kind == "folder") {
        QVERIFY(QDir(dir.path()).mkdir("folder"));
    } else if (kind == "huge") {
        QFile huge(QFile::decodeName(path));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize((qint64(1) << 30) + 1));   // sparse: no disk used
    }
    QProcess run;
    run.setWorkingDirectory(dir.path());
    run.start("bash", {"-c", "exec \"$0\" --expect " + QString::fromUtf8(word) + " ends-in-a.tw" + QString::fromUtf8(after),
                       TARNWELL_RUN_PATH, QString::fromUtf8(kind)});
    QVERIFY2(run.waitForFinished(10000), "tarnwell-run still runs after 10 s");
    QCOMPARE(run.readAllStandardOutput(), output);
    QCOMPARE(run.readAllStandardError(), errors);
    QCOMPARE(run.exitCode(), status);
}

QTEST_GUILESS_MAIN(TestStringList)
#include "test_string_list.moc"
