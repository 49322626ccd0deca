#include "cli/batch_run.h"
#include "cli/line_filter.h"

#include "random_automata.h"

#include <QBuffer>
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
};

QTEST_GUILESS_MAIN(TestLineFilter)
#include "test_line_filter.moc"
