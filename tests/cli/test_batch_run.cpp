#include "cli/batch_run.h"
#include "document/tw_file.h"
#include "test_automata.h"

#include <QBuffer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// tarnwell-run on the examples and on files made in {dir}: what it prints on
// standard output and standard error, then its exit status. sample.tw has s0
// (start) and s1 (final): "a" toggles, "é" stays (an empty cell), "😀" leads to
// s1 and a CR back to s0.
class TestBatchRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void process_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("result");

        QTest::newRow("arguments; an error gives 1") << QStringList{"{examples}/divisible-by-3.tw", "", "1001", "111", "2"}
            << QByteArray() << QByteArray("\tACCEPTED\n1001\tACCEPTED\n111\tREJECTED\n2\tERROR\tInvalid alphabet '2'\nexit 1");
        QTest::newRow("worked example") << QStringList{"{examples}/ends-in-a.tw", "abba", "ab"} << QByteArray()
            << QByteArray("abba\tACCEPTED\nab\tREJECTED\nexit 0");
        QTest::newRow("even number of a's") << QStringList{"{examples}/even-number-of-a.tw", "aba", "bab"} << QByteArray()
            << QByteArray("aba\tACCEPTED\nbab\tREJECTED\nexit 0");
        QTest::newRow("trace; an empty cell stays") << QStringList{"--trace", "{examples}/contains-a-one.tw", "0100"}
            << QByteArray() << QByteArray("0100\tACCEPTED\tno 1 yet\tseen a 1\nexit 0");
        QTest::newRow("invalid start state") << QStringList{"{dir}/nostart.tw", "a", ""} << QByteArray()
            << QByteArray("a\tERROR\tInvalid start state\n\tERROR\tInvalid start state\nexit 1");
        QTest::newRow("malformed file") << QStringList{"{dir}/short.tw", "a"} << QByteArray()
            << QByteArray("tarnwell-run: {dir}/short.tw: Line 3: the file ends before the name of state 1\nexit 2");
        QTest::newRow("standard input: nothing") << QStringList{"{dir}/sample.tw"} << QByteArray() << QByteArray("exit 0");
        QTest::newRow("standard input: LF, CR LF; a CR elsewhere is part of the line") << QStringList{"{dir}/sample.tw"}
            << QByteArray("a\naa\r\n\r\na\r\ra\nb\na\r")
            << QByteArray("a\tACCEPTED\naa\tREJECTED\n\tREJECTED\na\r\ra\tACCEPTED\nb\tERROR\tInvalid alphabet 'b'\n"
                          "a\r\tREJECTED\nexit 1");
        QTest::newRow("standard input: multi-byte characters stay whole; one cut short by LF is one bad character")
            << QStringList{"{dir}/sample.tw"} << QByteArray("\xC3\xA9\xF0\x9F\x98\x80\n\xF0\x9F\x98\x81\na\xF0\x9F\x98\na\n")
            << QByteArray("\xC3\xA9\xF0\x9F\x98\x80\tACCEPTED\n\xF0\x9F\x98\x81\tERROR\tInvalid alphabet '\xF0\x9F\x98\x81'\n"
                          "a\xF0\x9F\x98\tERROR\tInvalid alphabet '\xEF\xBF\xBD'\na\tACCEPTED\nexit 1");
    }

    void process()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, result);

        QTemporaryDir dir;
        const modAll sample = makeAutomaton({"s0", "s1"}, {"s1"}, {"a", "é", "😀", "\r"}, {{2, 0, 2, 1}, {1, 0, 2, 1}});
        QCOMPARE(TwFile::save(sample, dir.filePath("sample.tw")), std::nullopt);
        QCOMPARE(TwFile::save(makeAutomaton({"s0"}, {}, {"a"}, {{1}}, -1), dir.filePath("nostart.tw")), std::nullopt);
        QFile malformed(dir.filePath("short.tw"));
        QVERIFY(malformed.open(QIODevice::WriteOnly) && malformed.write("Q\r\n 3 \r\n") == 8 && malformed.flush());
        QProcess run;
        arguments.replaceInStrings("{dir}", dir.path()).replaceInStrings("{examples}", TARNWELL_EXAMPLES_DIR);
        run.start(TARNWELL_RUN_PATH, arguments);
        run.write(input);
        run.closeWriteChannel();
        QVERIFY(run.waitForFinished());
        const QByteArray output = run.readAllStandardOutput();
        QCOMPARE(output + run.readAllStandardError() + "exit " + QByteArray::number(run.exitCode()),
                 result.replace("{dir}", dir.path().toUtf8()));

        // However standard input happens to be cut into reads (only sample.tw
        // reads it here), the lines and their verdicts are the same.
        if (arguments.size() == 1)
            for (qint64 chunk : {1, 2, 3, 4, 5, 7}) {
                QBuffer in, out;
                in.setData(input);
                QVERIFY(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly));
                BatchRun batch(sample, false, out);
                batch.runLines(in, chunk);
                QVERIFY(batch.flush());
                QCOMPARE(out.data(), output);
            }
    }
};

QTEST_GUILESS_MAIN(TestBatchRun)
#include "test_batch_run.moc"
