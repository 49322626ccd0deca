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
    void refuses_data();
    void refuses();
    void generatedAutomataSurviveWriteAndRead();
    void failedSaveKeepsTheOldFile();
};

void TestTwFile::writes_data()
{
    QTest::addColumn<modAll>("automaton");
    QTest::addColumn<QByteArray>("expected");   // or the name of a file in examples/

    QTest::newRow("worked example") << workedExample() << crlf({"Q", " 2 ", "q0", "False", "q1", "True", "Start", " 0 ", "E",
        " 2 ", "a", "b", "Q/E", " 2 ", " 1 ", " 2 ", " 1 ", "\"Accepts words ending in a\"", "\"Example\""});
    QTest::newRow("empty automaton") << modAll() << crlf({"Q", " 0 ", "Start", " 0 ", "E", " 0 ", "Q/E"});
    QTest::newRow("quoted only where needed; comment cut only at CR LF")
        << withComment(makeAutomaton({"q0 ", "a,b", "\tq", "", "é\""}, {"q0 "}, {" ", "é"}, QList<QList<qint16>>(5, {0, 0})),
                       "a, \"b\"\r\nx\ry\nz\r\n")
        << crlf({"Q", " 5 ", "\"q0 \"", "True", "\"a,b\"", "False", "\"\tq\"", "False", "", "False", "\"\xC3\xA9\"\"\"",
                 "False", "Start", " 0 ", "E", " 2 ", "\" \"", "\xC3\xA9", "Q/E", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ",
                 " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", "\"a, \"\"b\"\"\"", "\"x\ry\nz\"", "\"\""});

    // A state added after the table was last sized has no row yet, and a row
    // may be short: what is missing is written as 0. Spares are never written.
    modAll unsized = makeAutomaton({"p", "q", "r"}, {"q"}, {"0", "1"}, {{3, 7}}, -1);
    unsized.transitions[0] = {-32768};
    unsized.symbols[2] = "spare";
    QTest::newRow("missing entries, negative numbers") << unsized << crlf({"Q", " 3 ", "p", "False", "q", "True", "r",
        "False", "Start", "-1 ", "E", " 2 ", "0", "1", "Q/E", "-32768 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 "});

    // The examples a new user opens are made here (TARNWELL_WRITE_EXAMPLES=1
    // writes them anew).
    QTest::newRow("divisible-by-3.tw")
        << withComment(makeAutomaton({"remainder 0", "remainder 1", "remainder 2"}, {"remainder 0"}, {"0", "1"},
                                     {{1, 2}, {3, 1}, {2, 3}}),
                       "Binary numbers divisible by 3, most significant bit first.\r\n"
                         "Each state is the remainder of the bits read so far: reading a bit\r\n"
                         "doubles the number and adds the bit.") << QByteArray("example");
    QTest::newRow("even-number-of-a.tw")
        << withComment(makeAutomaton({"even", "odd"}, {"even"}, {"a", "b"}, {{2, 1}, {1, 2}}),
                       "Words over a and b with an even number of a's.\r\nA b never changes the count.")
        << QByteArray("example");
    QTest::newRow("contains-a-one.tw")
        << withComment(makeAutomaton({"no 1 yet", "seen a 1"}, {"seen a 1"}, {"0", "1"}, {{0, 2}, {0, 0}}),
                       "Binary strings with at least one 1.\r\n"
                         "The empty cells keep the automaton in its state: a 0 changes nothing,\r\n"
                         "and once a 1 was seen, nothing leaves the state seen a 1.") << QByteArray("example");
    QTest::newRow("ends-in-a.tw") << workedExample() << QByteArray("example");
}

// The bytes are as expected, and what reads back from them writes the same
// bytes again.
void TestTwFile::writes()
{
    QFETCH(modAll, automaton);
    QFETCH(QByteArray, expected);
    if (expected == "example") {
        const QString path = QStringLiteral(TARNWELL_EXAMPLES_DIR "/") + QTest::currentDataTag();
        if (qEnvironmentVariableIsSet("TARNWELL_WRITE_EXAMPLES"))
            QCOMPARE(TwFile::save(automaton, path), std::nullopt);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        expected = file.readAll();
    }
    QCOMPARE(automatonBytes(automaton), expected);
    const TwReadResult back = readAutomaton(expected);
    QVERIFY(back.automaton);
    QCOMPARE(automatonBytes(*back.automaton), expected);
}

void TestTwFile::reads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<modAll>("expected");

    const QList<QByteArray> empty{"Q", " 0 ", "Start", " 0 ", "E", " 0 ", "Q/E"};
    QTest::newRow("numbers by value, rounded half to even; only True is final")
        << crlf({"Q", "2.5", "a", "True", "b", "true", "Start", "  -0.5x", "E", "+1", "0", "Q/E", "3.5", "junk"})
        << makeAutomaton({"a", "b"}, {"a"}, {"0"}, {{4}, {0}});
    QTest::newRow("blanks around bare fields dropped, kept in quotes")
        << crlf({"Q", " 2 ", "  q0  ", "\tTrue\t", "  \" q1 \"  ", "False", "Start", "0", "E", "0", "Q/E"})
        << makeAutomaton({"q0", " q1 "}, {"q0"}, {}, {{}, {}});
    QTest::newRow("comma symbol shifts every later field") << crlf({"Q", "0", "Start", "0", "E", " 2 ", ",", "b", "Q/E"})
        << withComment(makeAutomaton({}, {}, {"", ""}, {}), "Q/E");
    QTest::newRow("quoted fields span lines; doubled quote is one")
        << QByteArray("Q\n1\n\"two\r\nlines\",True\nStart\n0\nE\n1\n\"\"\"\"\nQ/E\n1\n\"say \"\"a\"\"\"\r\"\"\n")
        << withComment(makeAutomaton({"two\r\nlines"}, {"two\r\nlines"}, {"\""}, {{1}}), "say \"a\"\r\n");
    QTest::newRow("comment lines split at bare commas; after a closing quote dropped; unclosed quote runs to the end")
        << crlf(empty + QList<QByteArray>{"x,y", "\"a\"bc,d", "\"open"}) << withComment(makeAutomaton({}, {}, {}, {}), "x\r\ny\r\na\r\nd\r\nopen\r\n");
    QTest::newRow("empty lines are empty fields; no final line end") << QByteArray("\r\n0\r\n\r\n0\r\n\r\n0\r\n\r\n\r\nlast")
        << withComment(makeAutomaton({}, {}, {}, {}), "\r\nlast");
    QTest::newRow("not UTF-8: Windows-1252")
        << crlf({"Q", "1", "caf\xE9", "False", "Start", "0", "E", "3", "\x80", "\x9F", "\x81", "Q/E", "1", "2", "3", "\x93q\x94"})
        << withComment(makeAutomaton({"café"}, {}, {"€", "Ÿ", QString(QChar(0x81))}, {{1, 2, 3}}), "“q”");
}

void TestTwFile::reads()
{
    QFETCH(QByteArray, bytes);
    QFETCH(modAll, expected);
    const TwReadResult result = readAutomaton(bytes);
    QVERIFY2(result.automaton, qPrintable(result.error.message()));
    QCOMPARE(describe(*result.automaton), describe(expected));
}

void TestTwFile::refuses_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    const QList<QByteArray> full = automatonBytes(workedExample()).replace("\r\n", "\n").split('\n').first(17);
    const auto cut = [&](int lines) { return crlf(full.first(lines)); };
    QTest::newRow("inside the states") << cut(4) << "Line 5: the file ends before the name of state 2";
    QTest::newRow("inside the alphabet") << cut(11) << "Line 12: the file ends before symbol 2";
    QTest::newRow("inside the table") << cut(16) << "Line 17: the file ends before the transition of state 2 on symbol 2";
    QTest::newRow("huge target") << crlf(full.first(13) + QList<QByteArray>{"1e9", "123456789012345678901234"})
        << "Line 15: the transition of state 1 on symbol 2 is outside -32768 to 32767";
    QTest::newRow("negative symbol count") << crlf({"Q", "0", "Start", "0", "E", " -3 "})
                                           << "Line 6: the number of symbols is negative";
    QTest::newRow("short file claiming the largest table") << crlf({"Q", " 32767 ", "q", "False", "r"})
        << "Line 6: the file ends before the final flag of state 2";
    QTest::newRow("no line end at the end") << QByteArray("Q\r\n 3") << "Line 3: the file ends before the name of state 1";
    QTest::newRow("a quoted name spanning lines counts them") << QByteArray("Q\n2\n\"a\nb\nc\"\nTrue\n")
        << "Line 7: the file ends before the name of state 2";
}

void TestTwFile::refuses()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const TwReadResult result = readAutomaton(bytes);
    QVERIFY(!result.automaton);
    QCOMPARE(result.error.message(), message);
}

// The writer against the reader over random automata whose names, symbols
// and comments draw on every character the field rules treat specially.
void TestTwFile::generatedAutomataSurviveWriteAndRead()
{
    const QString pool = QString::fromUtf8("aZ0 \t,\"\r\né€");
    QRandomGenerator random(20240607);
    const auto text = [&](int maxLength) {
        QString s;
        for (int n = random.bounded(maxLength + 1); n > 0; --n)
            s += pool[random.bounded(pool.size())];
        return random.bounded(8) == 0 ? s + "😀" : s;
    };
    for (int round = 0; round < 300; ++round) {
        QStringList names, finals, symbols;
        for (int n = random.bounded(5); n > 0; --n)
            names.append(text(4));
        for (const QString &name : names)
            if (random.bounded(2) == 1)
                finals.append(name);
        for (int n = random.bounded(4); n > 0; --n)
            symbols.append(text(2));
        QList<QList<qint16>> rows(names.size());
        for (QList<qint16> &row : rows)
            for (int j = 0; j < symbols.size(); ++j)
                row.append(qint16(random.bounded(-32768, 32768)));
        const modAll original =
            withComment(makeAutomaton(names, finals, symbols, rows, qint16(random.bounded(-2, 6))), text(12));
        const TwReadResult back = readAutomaton(automatonBytes(original));
        QVERIFY2(back.automaton, qPrintable(back.error.message()));
        QCOMPARE(describe(*back.automaton), describe(original));
    }
}

// The file system refuses to grow the file part-way through the write, as a
// full disk would: the save must fail, the old file must come through
// untouched, and no temporary file may be left behind.
void TestTwFile::failedSaveKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("kept.tw");
    QCOMPARE(TwFile::save(workedExample(), path), std::nullopt);
    const modAll big = makeAutomaton(QStringList(200, "s"), {"s"}, QStringList(200, "x"),
                                     QList<QList<qint16>>(200, QList<qint16>(200, 7)));

    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 100000;
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
