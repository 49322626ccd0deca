#include "cli/batch_run.h"
#include "cli/line_filter.h"

#include "random_automata.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QList<RunVerdict> verdicts = {RunVerdict::Accepted, RunVerdict::Rejected, RunVerdict::Error};

// What --count or --only VERDICT writes for `input`, read `chunk` bytes at a
// time.
QByteArray filtered(const modAll &automaton, std::optional<RunVerdict> only, QByteArray input, qint64 chunk)
{
    QBuffer in(&input), out;
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return "cannot open the buffers";
    LineFilter filter(automaton, only, out);
    filter.runLines(in, chunk);
    return filter.flush() ? out.data() : "flush failed";
}

// The verdict of each line as the full results give it.
QList<QByteArray> resultVerdicts(const modAll &automaton, QByteArray input)
{
    QBuffer in(&input), out;
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return {};
    BatchRun batch(automaton, false, out);
    batch.runLines(in);
    batch.flush();
    QList<QByteArray> found;
    for (const QByteArray &line : out.data().split('\n'))
        if (!line.isEmpty())
            found.append(line.split('\t').value(1));
    return found;
}

// The lines of `input` as read, each with its ending; the last one ends with
// LF when it has none.
QList<QByteArray> linesAsRead(const QByteArray &input)
{
    QList<QByteArray> lines;
    for (qsizetype from = 0; from < input.size();) {
        const qsizetype newline = input.indexOf('\n', from);
        const qsizetype next = newline < 0 ? input.size() : newline + 1;
        lines.append(input.sliced(from, next - from));
        if (newline < 0)
            lines.last() += '\n';
        from = next;
    }
    return lines;
}

// Lines of symbols and strangers: mostly short, some longer than the short
// loop takes, now and then one longer than a read; LF or CR LF endings, and a
// last line that may have none or end in a lone CR.
QByteArray randomLines(QRandomGenerator &random, const modAll &automaton)
{
    QByteArray input;
    for (int line = random.bounded(40); line > 0; --line) {
        const int kind = random.bounded(20);
        const int length = kind == 0 ? random.bounded(2000, 5000) : kind < 3 ? random.bounded(250, 700) : random.bounded(12);
        input += randomInput(random, automaton, length);
        input += random.bounded(4) == 0 ? "\r\n" : "\n";
    }
    if (random.bounded(3) == 0)
        input += randomInput(random, automaton, random.bounded(5)) + (random.bounded(2) ? "\r" : "");
    return input;
}

// What `script` prints, run by bash in `folder` with tarnwell-run's folder
// first in PATH, and its exit status.
QByteArray shell(const QString &folder, const QString &script)
{
    QProcess bash;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", QFileInfo(TARNWELL_RUN_PATH).path() + ':' + environment.value("PATH"));
    bash.setProcessEnvironment(environment);
    bash.setWorkingDirectory(folder);
    bash.start("bash", {"-c", script});
    if (!bash.waitForFinished(60000))
        return "did not finish";
    return bash.readAllStandardOutput() + bash.readAllStandardError() + "exit " + QByteArray::number(bash.exitCode());
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// tarnwell-run --count and --only against the full results: the same verdict
// for every line, however the input is cut into reads.
class TestLineFilter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matchesResults()
    {
        QRandomGenerator random(23);
        for (int round = 0; round < 300; ++round) {
            modAll automaton = randomModel(random, 20);
            // CR and LF as symbols: a CR before LF is still the line's ending.
            if (automaton.symbol_count > 0 && random.bounded(3) == 0)
                automaton.symbols[random.bounded(int(automaton.symbol_count))] = random.bounded(4) ? "\r" : "\n";
            const QByteArray input = randomLines(random, automaton);
            const QList<QByteArray> expected = resultVerdicts(automaton, input);
            const QList<QByteArray> lines = linesAsRead(input);
            QCOMPARE(lines.size(), expected.size());

            QByteArray counts;
            QByteArray kept[3];
            for (int v = 0; v < 3; ++v) {
                const QByteArray word = verdictText(verdicts[v]).toLatin1();
                counts += word + ' ' + QByteArray::number(expected.count(word)) + '\n';
                for (qsizetype i = 0; i < lines.size(); ++i)
                    if (expected[i] == word)
                        kept[v] += lines[i];
            }
            for (const qint64 chunk : {qint64(random.bounded(1, 40)), qint64(300), LineFilter::readSize}) {
                QCOMPARE(filtered(automaton, std::nullopt, input, chunk), counts);
                for (int v = 0; v < 3; ++v)
                    QCOMPARE(filtered(automaton, verdicts[v], input, chunk), kept[v]);
            }
        }
    }

    // Kept lines that fill the output many times over go out whole and in
    // order, however the reads cut them.
    void manyShortLines()
    {
        QByteArray input, kept;
        for (int i = 0; i < 100000; ++i) {
            const QByteArray line = i % 3 == 0 ? QByteArray::number(i) + "ba\n" : "ab\n";
            input += line;
            if (i % 3 == 0)
                kept += line;
        }
        const modAll automaton = makeAutomaton({"q0", "q1"}, {"q1"}, {"a", "b", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"},
                                               {{2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}});
        for (const qint64 chunk : {qint64(4093), LineFilter::readSize})
            QCOMPARE(filtered(automaton, RunVerdict::Accepted, input, chunk), kept);
    }

    void longLines_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("a file, partly read before") << "{ read -r first; tarnwell-run --only ACCEPTED ends-in-a.tw; } < in.txt";
        QTest::newRow("a pipe") << "cat in.txt | tarnwell-run --only ACCEPTED ends-in-a.tw";
    }

    // Lines longer than a read, kept: let go and read again from a file,
    // held from a pipe.
    void longLines()
    {
        QFETCH(QString, script);
        QTemporaryDir folder;
        const QByteArray longLine = QByteArray(300000, 'b') + 'a';
        QVERIFY(QFile::copy(TARNWELL_EXAMPLES_DIR "/ends-in-a.tw", folder.filePath("ends-in-a.tw")));
        QVERIFY(writeFile(folder.filePath("in.txt"), "b\n" + longLine + "\r\nab\n" + longLine + "b\n" + longLine));
        QCOMPARE(shell(folder.path(), script), longLine + "\r\n" + longLine + "\nexit 0");
    }

    void inParallel_data()
    {
        QTest::addColumn<QString>("recipe");   // where the README shows it
        QTest::addColumn<QString>("oneProcess");
        QTest::newRow("count, the counts added") << "\n    (parallel --pipepart .*?)\n\n"
                                                 << "tarnwell-run --count d3.tw < numbers.txt";
        QTest::newRow("only, in order") << "`(parallel --pipepart [^`]*--only[^`]*)`"
                                        << "tarnwell-run --only ACCEPTED d3.tw < numbers.txt";
    }

    // The README's ways to run a large file on every core: GNU parallel cuts
    // it at line ends, awk adds the counts. Their block is made small here, so
    // that the file is cut into many.
    void inParallel()
    {
        QFETCH(QString, recipe);
        QFETCH(QString, oneProcess);
        if (QStandardPaths::findExecutable("parallel").isEmpty())
            QSKIP("GNU parallel is not installed");
        QFile readme(TARNWELL_README);
        QVERIFY(readme.open(QIODevice::ReadOnly | QIODevice::Text));
        const QRegularExpressionMatch found = QRegularExpression(recipe, QRegularExpression::DotMatchesEverythingOption)
                                                  .match(QString::fromUtf8(readme.readAll()));
        QVERIFY(found.hasMatch());
        QString script = found.captured(1);
        script.replace(QRegularExpression("\n    "), "\n").replace(QRegularExpression("--block \\S+"), "--block 2k");

        QTemporaryDir folder;
        QVERIFY(QFile::copy(TARNWELL_EXAMPLES_DIR "/divisible-by-3.tw", folder.filePath("d3.tw")));
        QRandomGenerator random(3);
        QByteArray numbers;
        for (int line = 0; line < 5000; ++line)
            for (int length = random.bounded(1, 12), i = 0; i <= length; ++i)
                numbers += i == length ? '\n' : "0112"[random.bounded(line % 50 == 0 ? 4 : 3)];
        QVERIFY(writeFile(folder.filePath("numbers.txt"), numbers));
        const QByteArray expected = shell(folder.path(), oneProcess);
        QVERIFY(expected.endsWith("exit 1"));   // some lines are ERROR
        const QByteArray output = shell(folder.path(), script);
        QCOMPARE(output.first(output.lastIndexOf("exit ")), expected.first(expected.lastIndexOf("exit ")));
    }
};

QTEST_GUILESS_MAIN(TestLineFilter)
#include "test_line_filter.moc"
