#include "cli/batch_run.h"
#include "document/tw_writer.h"
#include "test_automata.h"

#include <QBuffer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// s0 (start) and s1 (final). "a" toggles, "é" stays (an empty cell), "😀"
// leads to s1 and a CR back to s0.
modAll sampleAutomaton()
{
    return makeAutomaton({"s0", "s1"}, {"s1"}, {"a", "é", "😀", "\r"}, {{2, 0, 2, 1}, {1, 0, 2, 1}});
}

QByteArray runLines(const modAll &model, const QByteArray &input, qint64 chunkSize)
{
    QByteArray output;
    QBuffer out(&output);
    out.open(QIODevice::WriteOnly);
    QBuffer in;
    in.setData(input);
    in.open(QIODevice::ReadOnly);
    BatchRun batch(model, false, out);
    batch.runLines(in, chunkSize);
    batch.flush();
    return output;
}

} // namespace

class TestBatchRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linesInAnyChunks_data();
    void linesInAnyChunks();
    void process_data();
    void process();
};

void TestBatchRun::linesInAnyChunks_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");

    QTest::newRow("nothing") << QByteArray() << QByteArray();
    QTest::newRow("line ends: LF, CR LF; a CR elsewhere is part of the line")
        << QByteArray("a\naa\r\n\r\na\r\ra\nb\na\r")
        << QByteArray("a\tACCEPTED\naa\tREJECTED\n\tREJECTED\na\r\ra\tACCEPTED\nb\tERROR\tInvalid alphabet 'b'\n"
                      "a\r\tREJECTED\n");
    QTest::newRow("multi-byte characters stay whole") << QByteArray("\xC3\xA9\xF0\x9F\x98\x80\n\xF0\x9F\x98\x81\nx\n")
        << QByteArray("\xC3\xA9\xF0\x9F\x98\x80\tACCEPTED\n\xF0\x9F\x98\x81\tERROR\tInvalid alphabet '\xF0\x9F\x98\x81'\n"
                      "x\tERROR\tInvalid alphabet 'x'\n");
    QTest::newRow("cut UTF-8 sequence before LF") << QByteArray("a\xF0\x9F\x98\na\n")
        << QByteArray("a\xF0\x9F\x98\tERROR\tInvalid alphabet '\xEF\xBF\xBD'\na\tACCEPTED\n");
}

// However standard input happens to be cut into reads, the lines and their
// verdicts are the same.
void TestBatchRun::linesInAnyChunks()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    for (qint64 chunk : {1, 2, 3, 4, 5, 7, 64 * 1024})
        QCOMPARE(runLines(sampleAutomaton(), input, chunk), output);
}

void TestBatchRun::process_data()
{
    QTest::addColumn<QStringList>("arguments");   // {dir}: the folder of the files made here
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QString>("errorOutput");
    QTest::addColumn<int>("status");

    QTest::newRow("strings as arguments") << QStringList{"{dir}/file.tw", "a", "aa", ""} << QByteArray()
        << QByteArray("a\tACCEPTED\naa\tREJECTED\n\tREJECTED\n") << "" << 0;
    QTest::newRow("any error gives status 1") << QStringList{"{dir}/file.tw", "a", "ab"} << QByteArray()
        << QByteArray("a\tACCEPTED\nab\tERROR\tInvalid alphabet 'b'\n") << "" << 1;
    QTest::newRow("standard input") << QStringList{"{dir}/file.tw"} << QByteArray("aa\r\na\n")
        << QByteArray("aa\tREJECTED\na\tACCEPTED\n") << "" << 0;
    QTest::newRow("trace") << QStringList{"--trace", "{dir}/file.tw", "a\xC3\xA9" "a"} << QByteArray()
        << QByteArray("a\xC3\xA9" "a\tREJECTED\ts0\ts1\ts0\n") << "" << 0;
    QTest::newRow("invalid start state") << QStringList{"{dir}/nostart.tw", "a", ""} << QByteArray()
        << QByteArray("a\tERROR\tInvalid start state\n\tERROR\tInvalid start state\n") << "" << 1;
    QTest::newRow("example: divisible by 3") << QStringList{"{examples}/divisible-by-3.tw"}
        << QByteArray("\n0\n1001\n111\n10000\n2\n") << QByteArray("\tACCEPTED\n0\tACCEPTED\n1001\tACCEPTED\n"
                      "111\tREJECTED\n10000\tREJECTED\n2\tERROR\tInvalid alphabet '2'\n") << "" << 1;
    QTest::newRow("example: empty cells stay") << QStringList{"--trace", "{examples}/contains-a-one.tw", "0100"}
        << QByteArray() << QByteArray("0100\tACCEPTED\tno 1 yet\tseen a 1\n") << "" << 0;
    QTest::newRow("malformed file") << QStringList{"{dir}/short.tw", "a"} << QByteArray() << QByteArray()
        << "tarnwell-run: {dir}/short.tw: Line 3: the file ends before the name of state 1" << 2;
    QTest::newRow("missing file") << QStringList{"{dir}/none.tw"} << QByteArray() << QByteArray()
        << "tarnwell-run: {dir}/none.tw: No such file or directory" << 2;
}

void TestBatchRun::process()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    QFETCH(QString, errorOutput);
    QFETCH(int, status);

    QTemporaryDir dir;
    const auto save = [&](const char *name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    };
    modAll noStart = sampleAutomaton();
    noStart.start_state = -1;
    save("file.tw", automatonBytes(sampleAutomaton()));
    save("nostart.tw", automatonBytes(noStart));
    save("short.tw", "Q\r\n 3 \r\n");
    arguments.replaceInStrings("{dir}", dir.path()).replaceInStrings("{examples}", TARNWELL_EXAMPLES_DIR);

    QProcess run;
    run.start(TARNWELL_RUN_PATH, arguments);
    QVERIFY(run.waitForStarted());
    run.write(input);
    run.closeWriteChannel();
    QVERIFY(run.waitForFinished());
    QCOMPARE(run.readAllStandardOutput(), output);
    QCOMPARE(QString(run.readAllStandardError()).section('\n', 0, 0), errorOutput.replace("{dir}", dir.path()));
    QCOMPARE(run.exitCode(), status);
}

QTEST_GUILESS_MAIN(TestBatchRun)
#include "test_batch_run.moc"
