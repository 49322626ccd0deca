#include "cli/batch_run.h"
#include "test_automata.h"

#include <QBuffer>
#include <QProcess>
#include <QTest>

#include <csignal>

namespace {

// The results of running `input` line by line, read `chunk` bytes at a time.
QByteArray runLines(const modAll &automaton, bool trace, QByteArray input, qint64 chunk)
{
    QBuffer in(&input), out;
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return "cannot open the buffers";
    BatchRun batch(automaton, trace, out);
    batch.runLines(in, chunk);
    return batch.flush() ? out.data() : "flush failed";
}

// tarnwell-run in the examples folder, with SIGPIPE as a shell leaves it, so a
// run that does not ignore it dies of it.
void startRun(QProcess &run, const QStringList &arguments)
{
    run.setWorkingDirectory(TARNWELL_EXAMPLES_DIR);
    run.setChildProcessModifier([] { std::signal(SIGPIPE, SIG_DFL); });
    run.start(TARNWELL_RUN_PATH, arguments);
}

} // namespace

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
            << QByteArray("a\tACCEPTED\nab\tREJECTED\n\tREJECTED\na\\r\\ra\tERROR\tInvalid alphabet '\\r'\nb\tREJECTED\n"
                          "a\\r\tERROR\tInvalid alphabet '\\r'\nexit 1");
        QTest::newRow("standard input: multi-byte characters stay whole; one cut short by LF is escaped byte by byte")
            << QStringList{"ends-in-a.tw"} << QByteArray("a\xC3\xA9\n\xF0\x9F\x98\x80\na\xF0\x9F\x98\na\n")
            << QByteArray("a\xC3\xA9\tERROR\tInvalid alphabet '\xC3\xA9'\n\xF0\x9F\x98\x80\tERROR\tInvalid alphabet "
                          "'\xF0\x9F\x98\x80'\na\\xF0\\x9F\\x98\tERROR\tInvalid alphabet '\\xF0'\na\tACCEPTED\nexit 1");
        QTest::newRow("standard input: bytes that are not UTF-8 and control bytes escaped; the reason names the first")
            << QStringList{"ends-in-a.tw"} << QByteArray("ab\xFF\xFE" "a\n\xC3\na\x00\x7F\\\n", 13)
            << QByteArray("ab\\xFF\\xFEa\tERROR\tInvalid alphabet '\\xFF'\n\\xC3\tERROR\tInvalid alphabet '\\xC3'\n"
                          "a\\x00\\x7F\\\\\tERROR\tInvalid alphabet '\\x00'\nexit 1");
        QTest::newRow("count: an error gives 1") << QStringList{"--count", "divisible-by-3.tw"}
            << QByteArray("0\n11\n10\r\n2\n") << QByteArray("ACCEPTED 2\nREJECTED 1\nERROR 1\nexit 1");
        QTest::newRow("count: nothing to count") << QStringList{"--count", "divisible-by-3.tw"} << QByteArray()
            << QByteArray("ACCEPTED 0\nREJECTED 0\nERROR 0\nexit 0");
        QTest::newRow("only: strings, each given a line") << QStringList{"--only", "ACCEPTED", "ends-in-a.tw", "a", "b", "ba"}
            << QByteArray() << QByteArray("a\nba\nexit 0");
        QTest::newRow("only: lines as read, not escaped, each with its ending")
            << QStringList{"--only", "ERROR", "ends-in-a.tw"} << QByteArray("a\tb\r\nab\n\xFF\nc")
            << QByteArray("a\tb\r\n\xFF\nc\nexit 1");
        QTest::newRow("arguments: tab, line breaks, backslash and control bytes escaped, in the reason too")
            << QStringList{"ends-in-a.tw", "a\tb", "b\\", "a\nb\r", "\x1B\x7F"} << QByteArray()
            << QByteArray("a\\tb\tERROR\tInvalid alphabet '\\t'\nb\\\\\tERROR\tInvalid alphabet '\\\\'\n"
                          "a\\nb\\r\tERROR\tInvalid alphabet '\\n'\n\\x1B\\x7F\tERROR\tInvalid alphabet '\\x1B'\nexit 1");
    }

    void process()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, result);

        QProcess run;
        startRun(run, arguments);
        run.write(input);
        run.closeWriteChannel();
        QVERIFY(run.waitForFinished());
        QCOMPARE(run.readAllStandardOutput() + run.readAllStandardError() + "exit " + QByteArray::number(run.exitCode()), result);

        // However standard input happens to be cut into reads, the lines and
        // their verdicts are the same (the rows that read it print nothing else).
        if (arguments.size() == 1)
            for (qint64 chunk : {1, 2, 3, 4, 5, 7})
                QCOMPARE(runLines(endsInA(), false, input, chunk), result.first(result.lastIndexOf("exit ")));
    }

    // Automata that no example holds, run line by line in reads of every size.
    void lines_data()
    {
        QTest::addColumn<modAll>("automaton");
        QTest::addColumn<bool>("trace");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("result");

        const modAll oddNames = makeAutomaton({"q\r\n0", "q\t1\\"}, {"q\t1\\"}, {"a", "b"}, {{2, 1}, {2, 1}});
        QTest::newRow("trace: state names with line breaks, a tab and a backslash") << oddNames << true
            << QByteArray("ba\n") << QByteArray("ba\tACCEPTED\tq\\r\\n0\tq\\r\\n0\tq\\t1\\\\\n");
        // Lines of plain symbols are copied straight, by moves that depend on their length.
        const modAll endsInOne = makeAutomaton({"q0", "q1"}, {"q1"}, {"0", "1"}, {{1, 2}, {1, 2}});
        QTest::newRow("lines of plain symbols of every length echoed whole")
            << endsInOne << false
            << QByteArray("\n1\n0000000\n00000001\n000000001\n0000000000000001\n00000000000000001\n"
                          "0101010101010101010101010101010101010101\n")
            << QByteArray("\tREJECTED\n1\tACCEPTED\n0000000\tREJECTED\n00000001\tACCEPTED\n"
                          "000000001\tACCEPTED\n0000000000000001\tACCEPTED\n00000000000000001\tACCEPTED\n"
                          "0101010101010101010101010101010101010101\tACCEPTED\n");
        const modAll escapedSymbols = makeAutomaton({"q0", "q1"}, {"q1"}, {"\t", "\\"}, {{2, 1}, {2, 1}});
        QTest::newRow("symbols that are escaped: lines of them that run to a verdict are escaped too")
            << escapedSymbols << false << QByteArray("\t\\\t\n\\\n\n")
            << QByteArray("\\t\\\\\\t\tACCEPTED\n\\\\\tREJECTED\n\tREJECTED\n");
        const modAll replacement = makeAutomaton({"q0", "q1"}, {"q1"}, {"\uFFFD"}, {{2}, {2}});
        QTest::newRow("U+FFFD is a symbol, a byte that is not UTF-8 is none") << replacement << false
            << QByteArray("\xEF\xBF\xBD\n\xFF\n\xEF\xBF\n")
            << QByteArray("\xEF\xBF\xBD\tACCEPTED\n\\xFF\tERROR\tInvalid alphabet '\\xFF'\n"
                          "\\xEF\\xBF\tERROR\tInvalid alphabet '\\xEF'\n");
    }

    void lines()
    {
        QFETCH(modAll, automaton);
        QFETCH(bool, trace);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, result);
        for (qint64 chunk : {1, 2, 3, 4, 64 * 1024})
            QCOMPARE(runLines(automaton, trace, input, chunk), result);
    }

    void closedOutput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("firstLine");
        QTest::newRow("results") << QStringList{"ends-in-a.tw"} << QByteArray("ab\tREJECTED\n");
        QTest::newRow("only") << QStringList{"--only", "REJECTED", "ends-in-a.tw"} << QByteArray("ab\n");
    }

    // A reader that closes the results early ends the run at once, with 2 and
    // nothing on standard error, however much input is still coming.
    void closedOutput()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, firstLine);
        QProcess yes, run, head;
        yes.setStandardOutputProcess(&run);
        run.setStandardOutputProcess(&head);
        yes.start("yes", {"ab"});
        startRun(run, arguments);
        head.start("head", {"-n", "1"});
        const bool ended = run.waitForFinished(10000);
        yes.kill();
        yes.waitForFinished();
        QVERIFY(ended);
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.exitCode(), 2);
        QCOMPARE(run.readAllStandardError(), QByteArray());
        QVERIFY(head.waitForFinished(10000));
        QCOMPARE(head.readAllStandardOutput(), firstLine);
    }

    void fullOutput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("endlessInput");
        QTest::newRow("standard input that never ends") << QStringList{"ends-in-a.tw"} << true;
        QTest::newRow("arguments") << QStringList{"ends-in-a.tw", "ab", "ba"} << false;
        QTest::newRow("only, standard input that never ends") << QStringList{"--only", "REJECTED", "ends-in-a.tw"} << true;
        QTest::newRow("count") << QStringList{"--count", "ends-in-a.tw", "ab"} << false;
    }

    // Results that cannot be written end the run at once with the reason.
    void fullOutput()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, endlessInput);
        QProcess yes, run;
        if (endlessInput) {
            yes.setStandardOutputProcess(&run);
            yes.start("yes", {"ab"});
        }
        run.setStandardOutputFile("/dev/full");
        startRun(run, arguments);
        const bool ended = run.waitForFinished(10000);
        yes.kill();
        yes.waitForFinished();
        QVERIFY(ended);
        QCOMPARE(run.readAllStandardError(), QByteArray("tarnwell-run: cannot write the results: No space left on device\n"));
        QCOMPARE(run.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(TestBatchRun)
#include "test_batch_run.moc"
