#include "cli/batch_run.h"
#include "test_automata.h"

#include <QBuffer>
#include <QProcess>
#include <QTest>

// tarnwell-run, started in the examples folder: what it prints on standard
// output and standard error, then its exit status. Standard input is run
// through ends-in-a.tw (symbols a and b), so any other character is an error
// that names it.
class TestBatchRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void process_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("result");

        QTest::newRow("arguments; an error gives 1") << QStringList{"divisible-by-3.tw", "", "1001", "111", "2"} << QByteArray()
            << QByteArray("\tACCEPTED\n1001\tACCEPTED\n111\tREJECTED\n2\tERROR\tInvalid alphabet '2'\nexit 1");
        QTest::newRow("even number of a's") << QStringList{"even-number-of-a.tw", "aba", "bab"} << QByteArray()
            << QByteArray("aba\tACCEPTED\nbab\tREJECTED\nexit 0");
        QTest::newRow("trace; an empty cell stays") << QStringList{"--trace", "contains-a-one.tw", "0100"} << QByteArray()
            << QByteArray("0100\tACCEPTED\tno 1 yet\tseen a 1\nexit 0");
        QTest::newRow("unreadable file") << QStringList{"gone.tw", "a"} << QByteArray()
            << QByteArray("tarnwell-run: gone.tw: No such file or directory\nexit 2");
        QTest::newRow("standard input: LF, CR LF; a CR elsewhere is part of the line") << QStringList{"ends-in-a.tw"}
            << QByteArray("a\nab\r\n\r\na\r\ra\nb\na\r")
            << QByteArray("a\tACCEPTED\nab\tREJECTED\n\tREJECTED\na\r\ra\tERROR\tInvalid alphabet '\r'\nb\tREJECTED\n"
                          "a\r\tERROR\tInvalid alphabet '\r'\nexit 1");
        QTest::newRow("standard input: multi-byte characters stay whole; one cut short by LF is one bad character")
            << QStringList{"ends-in-a.tw"} << QByteArray("a\xC3\xA9\n\xF0\x9F\x98\x80\na\xF0\x9F\x98\na\n")
            << QByteArray("a\xC3\xA9\tERROR\tInvalid alphabet '\xC3\xA9'\n\xF0\x9F\x98\x80\tERROR\tInvalid alphabet "
                          "'\xF0\x9F\x98\x80'\na\xF0\x9F\x98\tERROR\tInvalid alphabet '\xEF\xBF\xBD'\na\tACCEPTED\nexit 1");
    }

    void process()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, result);

        QProcess run;
        run.setWorkingDirectory(TARNWELL_EXAMPLES_DIR);
        run.start(TARNWELL_RUN_PATH, arguments);
        run.write(input);
        run.closeWriteChannel();
        QVERIFY(run.waitForFinished());
        QCOMPARE(run.readAllStandardOutput() + run.readAllStandardError() + "exit " + QByteArray::number(run.exitCode()), result);

        // However standard input happens to be cut into reads, the lines and
        // their verdicts are the same (the rows that read it print nothing else).
        const modAll automaton = endsInA();
        if (arguments.size() == 1)
            for (qint64 chunk : {1, 2, 3, 4, 5, 7}) {
                QBuffer in(&input), out;
                QVERIFY(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly));
                BatchRun batch(automaton, false, out);
                batch.runLines(in, chunk);
                QVERIFY(batch.flush());
                QCOMPARE(out.data(), result.first(result.lastIndexOf("exit ")));
            }
    }
};

QTEST_GUILESS_MAIN(TestBatchRun)
#include "test_batch_run.moc"
