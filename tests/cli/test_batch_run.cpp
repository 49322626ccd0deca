#include "cli/batch_run.h"
#include "document/tw_writer.h"
#include "test_automata.h"

#include <QBuffer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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
    QTest::newRow("line ends: LF, CR LF; a CR elsewhere is part of the line") << QByteArray("a\naa\r\n\r\na\r\ra\nb\na\r")
        << QByteArray("a\tACCEPTED\naa\tREJECTED\n\tREJECTED\na\r\ra\tACCEPTED\nb\tERROR\tInvalid alphabet 'b'\na\r\tREJECTED\n");
    QTest::newRow("multi-byte characters stay whole") << QByteArray("\xC3\xA9\xF0\x9F\x98\x80\n\xF0\x9F\x98\x81\n")
        << QByteArray("\xC3\xA9\xF0\x9F\x98\x80\tACCEPTED\n\xF0\x9F\x98\x81\tERROR\tInvalid alphabet '\xF0\x9F\x98\x81'\n");
    QTest::newRow("cut UTF-8 sequence before LF") << QByteArray("a\xF0\x9F\x98\na\n")
        << QByteArray("a\xF0\x9F\x98\tERROR\tInvalid alphabet '\xEF\xBF\xBD'\na\tACCEPTED\n");
}

// However standard input happens to be cut into reads, the lines and their
// verdicts are the same. s0 (start) and s1 (final): "a" toggles, "é" stays (an
// empty cell), "😀" leads to s1 and a CR back to s0.
void TestBatchRun::linesInAnyChunks()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    const modAll model = makeAutomaton({"s0", "s1"}, {"s1"}, {"a", "é", "😀", "\r"}, {{2, 0, 2, 1}, {1, 0, 2, 1}});
    for (qint64 chunk : {1, 2, 3, 4, 5, 7, 64 * 1024}) {
        QBuffer in, out;
        in.setData(input);
        QVERIFY(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly));
        BatchRun batch(model, false, out);
        batch.runLines(in, chunk);
        QVERIFY(batch.flush());
        QCOMPARE(out.data(), output);
    }
}

// tarnwell-run on the examples and on files made here ({dir}): what it prints
// on standard output and standard error, then its exit status.
void TestBatchRun::process_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("result");

    QTest::newRow("strings as arguments; an error gives 1") << QStringList{"{examples}/divisible-by-3.tw", "", "1001", "111", "2"}
        << QByteArray() << QByteArray("\tACCEPTED\n1001\tACCEPTED\n111\tREJECTED\n2\tERROR\tInvalid alphabet '2'\nexit 1");
    QTest::newRow("standard input") << QStringList{"{examples}/even-number-of-a.tw"} << QByteArray("aba\r\nab\nb")
        << QByteArray("aba\tACCEPTED\nab\tREJECTED\nb\tACCEPTED\nexit 0");
    QTest::newRow("trace; an empty cell stays") << QStringList{"--trace", "{examples}/contains-a-one.tw", "0100"} << QByteArray()
        << QByteArray("0100\tACCEPTED\tno 1 yet\tseen a 1\nexit 0");
    QTest::newRow("invalid start state") << QStringList{"{dir}/nostart.tw", "a", ""} << QByteArray()
        << QByteArray("a\tERROR\tInvalid start state\n\tERROR\tInvalid start state\nexit 1");
    QTest::newRow("malformed file") << QStringList{"{dir}/short.tw", "a"} << QByteArray()
        << QByteArray("tarnwell-run: {dir}/short.tw: Line 3: the file ends before the name of state 1\nexit 2");
}

void TestBatchRun::process()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, result);

    QTemporaryDir dir;
    modAll noStart = endsInA();
    noStart.start_state = -1;
    for (const auto &[name, bytes] : {std::pair<QString, QByteArray>{"nostart.tw", automatonBytes(noStart)}, {"short.tw", "Q\r\n 3 \r\n"}}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QProcess run;
    run.start(TARNWELL_RUN_PATH, arguments.replaceInStrings("{dir}", dir.path()).replaceInStrings("{examples}", TARNWELL_EXAMPLES_DIR));
    run.write(input);
    run.closeWriteChannel();
    QVERIFY(run.waitForFinished());
    QCOMPARE(run.readAllStandardOutput() + run.readAllStandardError() + "exit " + QByteArray::number(run.exitCode()),
             result.replace("{dir}", dir.path().toUtf8()));
}

QTEST_GUILESS_MAIN(TestBatchRun)
#include "test_batch_run.moc"
