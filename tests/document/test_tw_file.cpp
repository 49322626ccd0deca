#include "automaton_text.h"
#include "document/tw_file.h"
#include "document/tw_reader.h"
#include "document/tw_writer.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

// Lines ended as the writer ends them, the last one included.
static QByteArray crlf(const QList<QByteArray> &lines)
{
    return lines.isEmpty() ? QByteArray() : QByteArrayList(lines).join("\r\n") + "\r\n";
}

class TestTwFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writes_data();
    void writes();
    void reads_data();
    void reads();
    void generatedAutomataSurviveWriteAndRead();
    void failedSaveKeepsTheOldFile();
};

void TestTwFile::writes_data()
{
    QTest::addColumn<modAll>("automaton");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("worked example") << workedExample() << crlf({"Q", " 2 ", "q0", "False", "q1", "True", "Start", " 0 ", "E",
        " 2 ", "a", "b", "Q/E", " 2 ", " 1 ", " 2 ", " 1 ", "\"Accepts words ending in a\"", "\"Example\""});
    QTest::newRow("empty automaton") << modAll() << crlf({"Q", " 0 ", "Start", " 0 ", "E", " 0 ", "Q/E"});
    // A state added after the table was last sized has no row yet, and a row
    // may be short: what is missing is written as 0. Spares are never written.
    QTest::newRow("quoted only where needed; comment cut only at CR LF; what the table lacks is 0")
        << withComment(makeAutomaton({"q0 ", "a,b", "\tq", "", "é\""}, {"q0 "}, {" ", "é"}, {{-32768}}, -1), "a, \"b\"\r\nx\ry\nz\r\n")
        << crlf({"Q", " 5 ", "\"q0 \"", "True", "\"a,b\"", "False", "\"\tq\"", "False", "", "False", "\"\xC3\xA9\"\"\"", "False",
                 "Start", "-1 ", "E", " 2 ", "\" \"", "\xC3\xA9", "Q/E", "-32768 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ",
                 " 0 ", " 0 ", "\"a, \"\"b\"\"\"", "\"x\ry\nz\"", "\"\""});
}

// The bytes are as expected, and what reads back from them writes the same bytes again.
void TestTwFile::writes()
{
    QFETCH(modAll, automaton);
    QFETCH(QByteArray, expected);
    QCOMPARE(automatonBytes(automaton), expected);
    QCOMPARE(automatonBytes(readAutomaton(expected).automaton.value_or(modAll())), expected);
}

// Each row gives what the bytes read as, or the message that refuses them.
void TestTwFile::reads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("numbers by value, half to even; only True is final; blanks dropped around bare fields only")
        << crlf({"Q", "2.5", "  a  ", "\tTrue\t", "  \" b \"  ", "true", "Start", "  -0.5x", "E", "+1", "0", "Q/E", "3.5", "junk"})
        << describe(makeAutomaton({"a", " b "}, {"a"}, {"0"}, {{4}, {0}}));
    QTest::newRow("quoted fields span lines; doubled quote is one; LF and CR alone end lines")
        << QByteArray("Q\n1\n\"two\r\nlines\",True\nStart\n0\nE\n1\n\"\"\"\"\nQ/E\n1\n\"say \"\"a\"\"\"\r\"\"\n")
        << describe(withComment(makeAutomaton({"two\r\nlines"}, {"two\r\nlines"}, {"\""}, {{1}}), "say \"a\"\r\n"));
    QTest::newRow("comment split at bare commas; after a closing quote dropped; unclosed quote runs to the end")
        << crlf({"Q", "0", "Start", "0", "E", "0", "Q/E", "x,y", "\"a\"bc,d", "\"open"})
        << describe(withComment(makeAutomaton({}, {}, {}, {}), "x\r\ny\r\na\r\nd\r\nopen\r\n"));
    QTest::newRow("not UTF-8: Windows-1252")
        << crlf({"Q", "1", "caf\xE9", "False", "Start", "0", "E", "3", "\x80", "\x9F", "\x81", "Q/E", "1", "2", "3", "\x93q\x94"})
        << describe(withComment(makeAutomaton({"café"}, {}, {"€", "Ÿ", QString(QChar(0x81))}, {{1, 2, 3}}), "“q”"));

    const QList<QByteArray> full = automatonBytes(workedExample()).replace("\r\n", "\n").split('\n');
    const auto cut = [&](int lines) { return crlf(full.first(lines)); };
    QTest::newRow("states: a quoted name spanning lines counts them") << QByteArray("Q\n2\n\"a\nb\nc\"\nTrue\n")
        << "Line 7: the file ends before the name of state 2";
    QTest::newRow("start: no line end at the end") << cut(7).chopped(2) << "Line 8: the file ends before the start state";
    QTest::newRow("alphabet") << cut(11) << "Line 12: the file ends before symbol 2";
    QTest::newRow("table") << cut(16) << "Line 17: the file ends before the transition of state 2 on symbol 2";
    QTest::newRow("huge target") << crlf(full.first(13) + QList<QByteArray>{"1e9", "123456789012345678901234"})
        << "Line 15: the transition of state 1 on symbol 2 is outside -32768 to 32767";
    QTest::newRow("negative count") << crlf({"Q", "0", "Start", "0", "E", " -3 "}) << "Line 6: the number of symbols is negative";
}

void TestTwFile::reads()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const TwReadResult result = readAutomaton(bytes);
    QCOMPARE(result.automaton ? describe(*result.automaton) : result.error.message(), expected);
}

// The writer against the reader over random automata whose names, symbols
// and comments draw on every character the field rules treat specially.
void TestTwFile::generatedAutomataSurviveWriteAndRead()
{
    const QStringList pool{"a", "0", " ", "\t", ",", "\"", "\r", "\n", "é", "€", "😀"};
    QRandomGenerator random(20240607);
    const auto text = [&](int maxLength) {
        QString s;
        for (int n = random.bounded(maxLength + 1); n > 0; --n)
            s += pool[random.bounded(pool.size())];
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        QStringList names, symbols;
        for (int n = random.bounded(5); n > 0; --n)
            names << text(4);
        for (int n = random.bounded(4); n > 0; --n)
            symbols << text(2);
        QList<QList<qint16>> rows(names.size(), QList<qint16>(symbols.size()));
        for (QList<qint16> &row : rows)
            for (qint16 &target : row)
                target = qint16(random.bounded(-32768, 32768));
        const modAll original = withComment(
            makeAutomaton(names, names.mid(random.bounded(names.size() + 1)), symbols, rows, qint16(random.bounded(-2, 6))), text(12));
        const TwReadResult back = readAutomaton(automatonBytes(original));
        QVERIFY2(back.automaton, qPrintable(back.error.message()));
        QCOMPARE(describe(*back.automaton), describe(original));
    }
}

// The file system refuses to grow the file part-way through the write, as a
// full disk would: the save fails, the old file comes through untouched, and
// no temporary file is left behind.
void TestTwFile::failedSaveKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("kept.tw");
    QCOMPARE(TwFile::save(workedExample(), path), std::nullopt);
    const modAll big = makeAutomaton(QStringList(200, "s"), {"s"}, QStringList(200, "x"), QList<QList<qint16>>(200, QList<qint16>(200, 7)));
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{100000, saved.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const std::optional<QString> failure = TwFile::save(big, path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    QVERIFY(failure && !failure->isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), automatonBytes(workedExample()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.tw"});
}

QTEST_GUILESS_MAIN(TestTwFile)
#include "test_tw_file.moc"
