#include "cli/batch_run.h"
#include "document/escaped_line.h"
#include "model/characters.h"
#include "run/byte_engine.h"
#include "run/byte_engine_run.h"
#include "run/run_path.h"
#include "run/run_steps.h"

#include "character_run.h"
#include "random_automata.h"
#include "test_automata.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

#include <cstring>

using Verdict = ByteEngine::Verdict;

namespace {

// Feeds `bytes` in pieces of 0 to 6 bytes, cutting characters anywhere.
void feedInPieces(ByteRun &run, QByteArrayView bytes, QRandomGenerator &random)
{
    while (!bytes.isEmpty()) {
        const qsizetype size = qMin<qsizetype>(random.bounded(7), bytes.size());
        run.feed(bytes.first(size));
        bytes = bytes.sliced(size);
    }
}

// The result line tarnwell-run prints, as the batch runner would build it
// from a finished ByteRun.
QByteArray resultLine(const modAll &m, QByteArrayView string, const ByteRun &run)
{
    QByteArray line = EscapedLine::escape(string) + '\t';
    switch (run.verdict()) {
    case Verdict::Accepted: line += "ACCEPTED"; break;
    case Verdict::Rejected: line += "REJECTED"; break;
    case Verdict::InvalidStart: line += "ERROR\tInvalid start state"; break;
    case Verdict::InvalidCharacter:
        line += "ERROR\tInvalid alphabet '" + EscapedLine::escape(run.invalidCharacter()) + "'";
        break;
    }
    for (const qint16 state : run.visited())
        line += '\t' + EscapedLine::escape(QByteArrayView(m.states[state].name.toUtf8()));
    return line + '\n';
}

// The result line for `string`, from the character-by-character run over the
// string's valid UTF-8 start: the first byte that is not UTF-8 stops the run
// there, unless a character before it did.
QByteArray referenceLine(const modAll &m, bool trace, QByteArrayView string)
{
    QByteArray line;
    const qsizetype valid = EscapedLine::append(line, string);
    line += '\t';
    const RunAutomaton automaton(m);
    CharacterRun run(automaton, trace);
    run.feed(QString::fromUtf8(string.first(valid)));
    QByteArray nonCharacter;
    if (valid < string.size() && !run.stopped()) {
        run.stopAtNonCharacter();
        nonCharacter = string.sliced(valid, 1).toByteArray();
    }
    const RunOutcome end = run.finish();
    line += verdictText(end.verdict).toUtf8();
    if (end.verdict == RunVerdict::Error) {
        const QString shown = nonCharacter.isEmpty() ? EscapedLine::escape(end.invalidCharacter)
                                                     : QString::fromLatin1(EscapedLine::escape(nonCharacter));
        line += '\t' + end.statusText(shown).toUtf8();
    }
    for (const qint16 state : end.visited)
        line += '\t' + EscapedLine::escape(QByteArrayView(m.states[state].name.toUtf8()));
    return line + '\n';
}

// The results for `strings`, then for the lines of `lines` (each without its
// LF or CR LF ending).
QByteArray reference(const modAll &m, bool trace, const QList<QByteArray> &strings, const QByteArray &lines = {})
{
    QByteArray results;
    for (const QByteArray &string : strings)
        results += referenceLine(m, trace, string);
    for (qsizetype from = 0; from < lines.size();) {
        qsizetype newline = lines.indexOf('\n', from);
        const bool ended = newline >= 0;
        if (!ended)
            newline = lines.size();
        QByteArrayView line = QByteArrayView(lines).sliced(from, newline - from);
        if (ended && line.endsWith('\r'))
            line.chop(1);
        results += referenceLine(m, trace, line);
        from = newline + 1;
    }
    return results;
}

// What the batch runner prints for the lines of `input`, read `chunkSize`
// bytes at a time.
QByteArray batchRun(const modAll &m, bool trace, QByteArray input, qint64 chunkSize)
{
    QBuffer in(&input), out;
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return "cannot open the buffers";
    BatchRun batch(m, trace, out);
    batch.runLines(in, chunkSize);
    return batch.flush() ? out.data() : "flush failed";
}

QString verdictName(Verdict verdict)
{
    static const char *const names[] = {"Accepted", "Rejected", "InvalidCharacter", "InvalidStart"};
    return QString::fromLatin1(names[int(verdict)]);
}

} // namespace

// The byte engine against the plainest run, CharacterRun: one character at a
// time over QString.
class TestByteEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void verdicts_data()
    {
        QTest::addColumn<modAll>("automaton");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QByteArray>("character");

        const modAll endsInA = ::endsInA();
        QTest::newRow("ends in a") << endsInA << QByteArray("bba") << "Accepted" << QByteArray();
        QTest::newRow("ASCII that is no symbol") << endsInA << QByteArray("abca") << "InvalidCharacter"
                                                 << QByteArray("c");
        QTest::newRow("a multi-byte character that is no symbol is named whole")
            << endsInA << QByteArray("a\xF0\x9F\x98\x80") << "InvalidCharacter" << QByteArray("\xF0\x9F\x98\x80");
        QTest::newRow("a byte that is not UTF-8 is named as that byte") << endsInA << QByteArray("a\xFF" "a")
                                                                        << "InvalidCharacter" << QByteArray("\xFF");
        QTest::newRow("an encoded surrogate is not UTF-8") << endsInA << QByteArray("\xED\xA0\x80")
                                                           << "InvalidCharacter" << QByteArray("\xED");
        QTest::newRow("a character cut short by the end") << endsInA << QByteArray("a\xE2\x82") << "InvalidCharacter"
                                                          << QByteArray("\xE2");
        QTest::newRow("invalid start state")
            << makeAutomaton({"q0"}, {"q0"}, {"a"}, {{1}}, -1) << QByteArray("") << "InvalidStart" << QByteArray();
        QTest::newRow("no states: symbols are consumed, then rejected")
            << makeAutomaton({}, {}, {"a"}, {}) << QByteArray("aa") << "Rejected" << QByteArray();
        QTest::newRow("no states: the first invalid character stops")
            << makeAutomaton({}, {}, {"a"}, {}) << QByteArray("ab") << "InvalidCharacter" << QByteArray("b");
        QTest::newRow("a surrogate pair symbol is one character")
            << makeAutomaton({"q0", "q1"}, {"q1"}, {"😀"}, {{2}, {1}}) << QByteArray("😀") << "Accepted" << QByteArray();
        QTest::newRow("a symbol of two characters never matches")
            << makeAutomaton({"q0"}, {"q0"}, {"ab", "a"}, {{1, 1}}) << QByteArray("ab") << "InvalidCharacter"
            << QByteArray("b");
        QTest::newRow("of repeated symbols the last one's column is read")
            << makeAutomaton({"q0", "q1"}, {"q1"}, {"a", "a"}, {{1, 2}, {1, 2}}) << QByteArray("a") << "Accepted"
            << QByteArray();
        QTest::newRow("a target naming no state stays")
            << makeAutomaton({"q0", "q1"}, {"q0"}, {"a"}, {{3}, {1}}) << QByteArray("aa") << "Accepted" << QByteArray();
        QTest::newRow("a missing row stays")
            << makeAutomaton({"q0", "q1"}, {"q1"}, {"a"}, {{2}}) << QByteArray("aaa") << "Accepted" << QByteArray();
    }

    // Whole, then a byte at a time: a piece may end inside a character.
    void verdicts()
    {
        QFETCH(modAll, automaton);
        QFETCH(QByteArray, input);
        QFETCH(QString, verdict);
        QFETCH(QByteArray, character);

        const ByteEngine engine(automaton);
        ByteRun run(engine, false);
        run.feed(input);
        QCOMPARE(verdictName(run.finish()), verdict);
        QCOMPARE(run.invalidCharacter().toByteArray(), character);
        for (const char byte : std::as_const(input))
            run.feed(QByteArrayView(&byte, 1));
        QCOMPARE(verdictName(run.finish()), verdict);
        QCOMPARE(run.invalidCharacter().toByteArray(), character);
    }

    // An empty cell keeps the state and is no step; a cell naming its own
    // state is a step, and the trace shows it.
    void traceTellsStaysFromSelfLoops()
    {
        const ByteEngine engine(makeAutomaton({"q0", "q1"}, {"q1"}, {"0", "1"}, {{0, 2}, {2, 2}}));
        ByteRun run(engine, true);
        run.feed("00101");
        QCOMPARE(verdictName(run.finish()), "Accepted");
        QCOMPARE(run.visited(), (std::vector<qint16>{0, 1, 1, 1}));
    }

    // Random automata, random strings fed in random pieces, with and without
    // the trace and the data-parallel path: each result line as the character
    // run gives it.
    void matchesCharacterRun()
    {
        QRandomGenerator random(14);
        for (int round = 0; round < 400; ++round) {
            const modAll m = randomModel(random, 20);
            const bool trace = round % 2 == 1;
            const ByteEngine engine(m, round % 4 < 2 ? ByteEngine::Method::Automatic : ByteEngine::Method::PlainLoop);
            ByteRun run(engine, trace);
            QList<QByteArray> strings;
            QByteArray results;
            for (int i = 0; i < 10; ++i) {
                strings << randomInput(random, m, random.bounded(i < 5 ? 8 : 600));
                if (i % 2 == 0) {
                    run.run(strings.last());
                } else {
                    feedInPieces(run, strings.last(), random);
                    run.finish();
                }
                results += resultLine(m, strings.last(), run);
            }
            QCOMPARE(results, reference(m, trace, strings));
        }
    }

    // A read buffer as the batch runner will scan it: lines found with memchr,
    // reads that end anywhere in a line or a character.
    void linesSplitAcrossReads()
    {
        QRandomGenerator random(8);
        for (int round = 0; round < 100; ++round) {
            const modAll m = randomModel(random, 12);
            QByteArray input = randomInput(random, m, 3000);
            input.replace('\r', "\n");
            const ByteEngine engine(m);
            ByteRun run(engine, true);
            QByteArray results, line;
            for (qsizetype from = 0; from < input.size();) {
                const qsizetype readSize = qMin<qsizetype>(random.bounded(1, 300), input.size() - from);
                const char *p = input.constData() + from;
                const char *const end = p + readSize;
                while (p != end) {
                    const auto *newline = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
                    const char *const lineEnd = newline ? newline : end;
                    run.feed(QByteArrayView(p, lineEnd));
                    line += QByteArrayView(p, lineEnd);
                    if (!newline)
                        break;
                    run.finish();
                    results += resultLine(m, line, run);
                    line.clear();
                    p = newline + 1;
                }
                from += readSize;
            }
            if (!input.isEmpty() && !input.endsWith('\n')) {
                run.finish();
                results += resultLine(m, line, run);
            }
            QCOMPARE(results, reference(m, true, {}, input));
        }
    }

    // The window's run over UTF-16, lone surrogates included, and the path a
    // list of test strings shows, against the character run: same verdict,
    // same stop, same state, the same states visited.
    void matchesTextRun()
    {
        QRandomGenerator random(9);
        const QStringList strangers = {"c", "ß", "𝄞", QString(QChar(0xDC00)), QString(QChar(0xD800)), "\r"};
        for (int round = 0; round < 400; ++round) {
            const modAll m = randomModel(random, 20);
            const ByteEngine engine(m);
            for (int i = 0; i < 10; ++i) {
                QString text;
                for (int length = random.bounded(i < 5 ? 8 : 600); length > 0; --length)
                    text += random.bounded(15) == 0 || m.symbols.isEmpty()
                                ? strangers[random.bounded(int(strangers.size()))]
                                : m.symbols[random.bounded(int(m.symbols.size()))];
                const ByteEngine::TextRun run = engine.runText(text);
                const RunPath path = runPath(m, text);
                if (!RunSteps::startIsValid(m)) {
                    QCOMPARE(verdictName(run.verdict), "InvalidStart");
                    QVERIFY(path.invalidStart);
                    continue;
                }
                const RunAutomaton automaton(m);
                CharacterRun reference(automaton, true);
                reference.feed(text);
                const RunOutcome stop = reference.finish();
                QCOMPARE(run.consumed, stop.consumed);
                QCOMPARE(verdictName(run.verdict), verdictName(stop.verdict == RunVerdict::Error ? Verdict::InvalidCharacter
                                                               : stop.verdict == RunVerdict::Accepted ? Verdict::Accepted
                                                                                                 : Verdict::Rejected));
                if (m.state_count > 0)
                    QCOMPARE(run.state, stop.state);

                QVERIFY(!path.invalidStart);
                QCOMPARE(path.consumed, stop.consumed);
                QCOMPARE(path.stopped, stop.verdict == RunVerdict::Error);
                QCOMPARE(verdictText(path.verdict), verdictText(stop.verdict));
                QCOMPARE(path.stepCount, Characters::count(QStringView(text).first(stop.consumed)));
                if (m.state_count > 0)
                    QCOMPARE(path.end, stop.state);
                if (path.leftOut() == 0) {
                    QList<qint16> visited;
                    if (m.state_count > 0)
                        visited << path.start;
                    for (const QList<RunStep> *steps : {&path.firstSteps, &path.lastSteps})
                        for (const RunStep &step : *steps)
                            if (step.followed)
                                visited << step.to;
                    QCOMPARE(visited, stop.visited);
                }
            }
        }
    }

    // However long the string, its path keeps the first and the last steps
    // and each move once, never a record per character.
    void longPathKeepsItsEnds()
    {
        const modAll m = makeAutomaton({"q0", "q1"}, {"q1"}, {"a", "b"}, {{2, 0}, {0, 1}});   // q0 -a-> q1 -b-> q0
        const RunPath path = runPath(m, QStringLiteral("ab").repeated(1500000) + u'a');
        QCOMPARE(QStringLiteral("%1 steps, %2 left out, %3 + %4 kept, %5 moves, ends %6 %7")
                     .arg(path.stepCount)
                     .arg(path.leftOut())
                     .arg(path.firstSteps.size())
                     .arg(path.lastSteps.size())
                     .arg(path.moves.size())
                     .arg(path.lastSteps.last().character, verdictText(path.verdict)),
                 QStringLiteral("3000001 steps, 2999901 left out, 50 + 50 kept, 2 moves, ends a ACCEPTED"));
    }

    // tarnwell-run's lines: random automata, lines ended by LF or CR LF (a
    // stray CR stays in its line), reads of random sizes that end anywhere in
    // a line, a CR LF or a character.
    void batchRunnerMatchesCharacterRun()
    {
        QRandomGenerator random(21);
        for (int round = 0; round < 200; ++round) {
            const modAll m = randomModel(random, 16);
            const bool trace = round % 2 == 1;
            QByteArray input;
            for (int line = random.bounded(12); line > 0; --line) {
                input += randomInput(random, m, random.bounded(line % 3 == 0 ? 400 : 12));
                input += QList<QByteArray>{"\n", "\r\n", "\r\n", "\n"}[random.bounded(4)];
            }
            if (random.bounded(3) == 0)
                input += randomInput(random, m, random.bounded(20));
            const qint64 chunkSize = QList<qint64>{1, 2, 3, 7, 64, 65536}[random.bounded(6)];
            QCOMPARE(batchRun(m, trace, input, chunkSize), reference(m, trace, {}, input));
        }
    }

    // Automata of at most 16 states, long strings with rare characters that
    // leave the plain table (errors, multi-byte symbols) anywhere in a block.
    void vectorPathMatchesPlainLoop()
    {
        QRandomGenerator random(16);
        QVERIFY(!ByteEngine(randomAutomaton(17, 1)).vectorized());
        if (!ByteEngine(randomAutomaton(16, 1)).vectorized())
            QSKIP("this processor has no data-parallel path");
        for (int round = 0; round < 300; ++round) {
            const modAll m = round % 3 == 0 ? randomAutomaton(16, quint32(round)) : randomModel(random, 16);
            const ByteEngine vector(m), plain(m, ByteEngine::Method::PlainLoop);
            ByteRun vectorRun(vector, false), plainRun(plain, false);
            for (int i = 0; i < 4; ++i) {
                QByteArray input;
                for (int length = random.bounded(3000); length > 0; --length)
                    input += random.bounded(400) == 0 ? strangerPool[random.bounded(int(strangerPool.size()))]
                                                      : (m.symbols.isEmpty() ? QByteArray("0")
                                                                             : m.symbols[random.bounded(int(m.symbols.size()))].toUtf8());
                const qsizetype cut = random.bounded(input.size() + 1);
                vectorRun.feed(QByteArrayView(input).first(cut));
                vectorRun.feed(QByteArrayView(input).sliced(cut));
                plainRun.feed(input);
                QCOMPARE(vectorRun.state(), plainRun.state());
                QCOMPARE(verdictName(vectorRun.finish()), verdictName(plainRun.finish()));
                QCOMPARE(vectorRun.invalidCharacter().toByteArray(), plainRun.invalidCharacter().toByteArray());
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestByteEngine)
#include "test_byte_engine.moc"
