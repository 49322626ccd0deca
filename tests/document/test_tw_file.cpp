#include "automaton_builder.h"
#include "document/tw_file.h"
#include "document/tw_reader.h"
#include "document/tw_writer.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

// Lines joined as the writer ends them, the last one included.
static QByteArray crlfLines(const QList<QByteArray> &lines)
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// A device that takes `limit` bytes and then fails, either refusing a write
// outright or taking only part of it.
class FailingDevice final : public QIODevice
{
public:
    FailingDevice(qint64 limit, bool partial) : m_limit(limit), m_partial(partial) { open(WriteOnly); }
    QByteArray written;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 room = m_limit - written.size();
        if (room >= size || (m_partial && room > 0)) {
            written.append(data, qMin(size, room));
            return qMin(size, room);
        }
        setErrorString("No space left on device");
        return -1;
    }

private:
    qint64 m_limit;
    bool m_partial;
};

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
    void failedWriteReportsIt_data();
    void failedWriteReportsIt();
    void failedSaveKeepsTheOldFile();
    void fileFailuresGiveTheReason();
};

void TestTwFile::writes_data()
{
    QTest::addColumn<modAll>("automaton");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("worked example") << endsInA()
        << crlfLines({"Q", " 2 ", "q0", "False", "q1", "True", "Start", " 0 ", "E", " 2 ", "a", "b", "Q/E",
                      " 2 ", " 1 ", " 2 ", " 1 ", "\"Accepts words ending in a\"", "\"Example\""});
    QTest::newRow("empty automaton") << modAll()
        << crlfLines({"Q", " 0 ", "Start", " 0 ", "E", " 0 ", "Q/E"});
    QTest::newRow("no start state, extreme targets") << makeAutomaton({{"s", false}}, -1, {"x", "y"}, {{-32768, 32767}})
        << crlfLines({"Q", " 1 ", "s", "False", "Start", "-1 ", "E", " 2 ", "x", "y", "Q/E", "-32768 ", " 32767 "});
    QTest::newRow("comment ending in CR LF, lone CR and LF kept")
        << makeAutomaton({}, 0, {}, {}, "a, b\r\nx\ry\nz\r\n")
        << crlfLines({"Q", " 0 ", "Start", " 0 ", "E", " 0 ", "Q/E", "\"a, b\"", "\"x\ry\nz\"", "\"\""});
    QTest::newRow("names and symbols that need quotes")
        << makeAutomaton({{"q0 ", true}, {"a,b", false}, {"say \"hi\"", false}, {"\tq", false}, {"", false}},
                         0, {" ", ",", "\"", "é"}, {})
        << crlfLines({"Q", " 5 ", "\"q0 \"", "True", "\"a,b\"", "False", "\"say \"\"hi\"\"\"", "False",
                      "\"\tq\"", "False", "", "False", "Start", " 0 ", "E", " 4 ", "\" \"", "\",\"",
                      "\"\"\"\"", "\xC3\xA9", "Q/E", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ",
                      " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 "});

    // A state added after the table was last sized has no row yet, and a
    // row may be short: the missing entries are written as 0. Spares are not
    // written at all.
    modAll unsized = makeAutomaton({{"p", false}, {"q", true}, {"r", false}}, 2, {"0", "1"}, {{3, 7}});
    unsized.transitions[0] = {3};
    unsized.symbols[2] = "spare";
    QTest::newRow("missing rows and entries") << unsized
        << crlfLines({"Q", " 3 ", "p", "False", "q", "True", "r", "False", "Start", " 2 ", "E", " 2 ", "0", "1",
                      "Q/E", " 3 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 "});
}

void TestTwFile::writes()
{
    QFETCH(modAll, automaton);
    QFETCH(QByteArray, expected);
    QCOMPARE(automatonBytes(automaton), expected);
}

void TestTwFile::reads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<modAll>("expected");

    const QList<QByteArray> header{"Q", " 0 ", "Start", " 0 ", "E", " 0 ", "Q/E"};
    QTest::newRow("worked example") << automatonBytes(endsInA()) << endsInA();
    QTest::newRow("numbers by value, rounded half to even")
        << crlfLines({"Q", "2.5", "a", "True", "b", "true", "Start", "  -0.5x", "E", "+1", "0", "Q/E", "3.5", "junk"})
        << makeAutomaton({{"a", true}, {"b", false}}, 0, {"0"}, {{4}, {0}});
    QTest::newRow("blanks around unquoted fields dropped, kept in quotes")
        << crlfLines({"Q", " 2 ", "  q0  ", "\tTrue\t", "  \" q1 \"  ", "False", "Start", "0", "E", "0", "Q/E"})
        << makeAutomaton({{"q0", true}, {" q1 ", false}}, 0, {}, {{}, {}});
    QTest::newRow("unquoted comma splits a line into comment lines")
        << crlfLines(header + QList<QByteArray>{"x,y"})
        << makeAutomaton({}, 0, {}, {}, "x\r\ny");
    QTest::newRow("comma symbol shifts every later field")
        << crlfLines({"Q", "0", "Start", "0", "E", " 2 ", ",", "b", "Q/E"})
        << makeAutomaton({}, 0, {"", ""}, {}, "Q/E");
    QTest::newRow("quoted fields span lines; doubled quote is one")
        << QByteArray("Q\n1\n\"two\r\nlines\",True\nStart\n0\nE\n1\n\"\"\"\"\nQ/E\n1\n\"say \"\"a\"\"\"\r\"\"\n")
        << makeAutomaton({{"two\r\nlines", true}}, 0, {"\""}, {{1}}, "say \"a\"\r\n");
    QTest::newRow("text after a closing quote is dropped; unclosed quote runs to the end")
        << crlfLines(header + QList<QByteArray>{"\"a\"bc,d", "\"open"})
        << makeAutomaton({}, 0, {}, {}, "a\r\nd\r\nopen\r\n");
    QTest::newRow("empty lines are empty fields; no final line end")
        << QByteArray("\r\n0\r\n\r\n0\r\n\r\n0\r\n\r\n\r\nlast")
        << makeAutomaton({}, 0, {}, {}, "\r\nlast");
    QTest::newRow("UTF-8 text") << crlfLines({"Q", "1", "caf\xC3\xA9 \xF0\x9F\x98\x80", "False", "Start", "0", "E", "0", "Q/E"})
        << makeAutomaton({{"café 😀", false}}, 0, {}, {{}});
    QTest::newRow("not UTF-8: Windows-1252") << crlfLines({"Q", "1", "caf\xE9", "False", "Start", "0", "E", "3", "\x80", "\x9F", "\x81", "Q/E", "1", "2", "3", "\x93q\x94"})
        << makeAutomaton({{"café", false}}, 0, {"€", "Ÿ", QString(QChar(0x81))}, {{1, 2, 3}}, "“q”");
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

    const QList<QByteArray> full{"Q", " 2 ", "q0", "False", "q1", "True", "Start", " 0 ", "E", " 2 ", "a", "b", "Q/E",
                                 " 2 ", " 1 ", " 2 ", " 1 "};
    const auto cut = [&](int lines) { return crlfLines(full.first(lines)); };
    QTest::newRow("empty file") << QByteArray() << "Line 1: the file ends before the \"Q\" keyword";
    QTest::newRow("no state count") << cut(1) << "Line 2: the file ends before the number of states";
    QTest::newRow("inside the states") << cut(4) << "Line 5: the file ends before the name of state 2";
    QTest::newRow("no final flag") << cut(5) << "Line 6: the file ends before the final flag of state 2";
    QTest::newRow("no start state") << cut(7) << "Line 8: the file ends before the start state";
    QTest::newRow("no alphabet") << cut(8) << "Line 9: the file ends before the \"E\" keyword";
    QTest::newRow("inside the alphabet") << cut(11) << "Line 12: the file ends before symbol 2";
    QTest::newRow("no table keyword") << cut(12) << "Line 13: the file ends before the \"Q/E\" keyword";
    QTest::newRow("inside the table") << cut(16) << "Line 17: the file ends before the transition of state 2 on symbol 2";
    QTest::newRow("state count too large") << crlfLines({"Q", " 32768 "}) << "Line 2: the number of states is outside -32768 to 32767";
    QTest::newRow("start state too small") << crlfLines({"Q", "0", "Start", "-32768.6"}) << "Line 4: the start state is outside -32768 to 32767";
    QTest::newRow("huge target") << crlfLines(full.first(13) + QList<QByteArray>{"1e9", "123456789012345678901234"})
        << "Line 15: the transition of state 1 on symbol 2 is outside -32768 to 32767";
    QTest::newRow("negative state count") << crlfLines({"Q", "-1"}) << "Line 2: the number of states is negative";
    QTest::newRow("negative symbol count") << crlfLines({"Q", "0", "Start", "0", "E", " -3 "}) << "Line 6: the number of symbols is negative";
    QTest::newRow("short file claiming the largest table") << crlfLines({"Q", " 32767 ", "q", "False", "r"})
        << "Line 6: the file ends before the final flag of state 2";
    QTest::newRow("quoted name spanning lines counts them") << QByteArray("Q\n2\n\"a\nb\nc\"\nTrue\n")
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
    const QList<QChar> alphabet{u'a', u'Z', u'0', u' ', u'\t', u',', u'"', u'\r', u'\n', QChar(0xE9), QChar(0x20AC)};
    QRandomGenerator random(20240607);
    const auto randomText = [&](int maxLength) {
        QString text;
        for (int n = random.bounded(maxLength + 1); n > 0; --n)
            text += alphabet[random.bounded(alphabet.size())];
        if (random.bounded(8) == 0)
            text += QStringLiteral("😀");
        return text;
    };
    for (int round = 0; round < 300; ++round) {
        QList<StateEntry> states;
        QStringList symbols;
        QList<QList<qint16>> rows;
        for (int n = random.bounded(5); n > 0; --n)
            states.append({randomText(4), random.bounded(2) == 1});
        for (int n = random.bounded(4); n > 0; --n)
            symbols.append(randomText(2));
        for (int i = 0; i < states.size(); ++i) {
            rows.append(QList<qint16>());
            for (int j = 0; j < symbols.size(); ++j)
                rows.last().append(qint16(random.bounded(-32768, 32768)));
        }
        const modAll original = makeAutomaton(states, qint16(random.bounded(-2, 6)), symbols, rows, randomText(12));
        const TwReadResult back = readAutomaton(automatonBytes(original));
        QVERIFY2(back.automaton, qPrintable(back.error.message()));
        QCOMPARE(describe(*back.automaton), describe(original));
    }
}

void TestTwFile::failedWriteReportsIt_data()
{
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<bool>("partial");

    QTest::newRow("nothing taken") << qint64(0) << false;
    QTest::newRow("first piece cut short") << qint64(100) << true;
    QTest::newRow("second piece refused") << qint64(65536 + 10) << false;
    QTest::newRow("last byte missing") << qint64(-1) << true;
}

void TestTwFile::failedWriteReportsIt()
{
    QFETCH(qint64, limit);
    QFETCH(bool, partial);

    // Large enough to be handed over in several pieces.
    QList<StateEntry> states(300, StateEntry{"state", false});
    QList<QList<qint16>> rows(300, QList<qint16>(100, 1234));
    const modAll big = makeAutomaton(states, 0, QStringList(100, "s"), rows);
    const QByteArray whole = automatonBytes(big);
    QVERIFY(whole.size() > 3 * 65536);

    FailingDevice device(limit < 0 ? whole.size() + limit : limit, partial);
    QString reason;
    QVERIFY(!writeAutomaton(big, device, &reason));
    QVERIFY(!reason.isEmpty());
    QVERIFY(whole.startsWith(device.written));

    FailingDevice roomy(whole.size(), partial);
    QVERIFY(writeAutomaton(big, roomy));
    QCOMPARE(roomy.written, whole);
}

// The file system refuses to grow the file past a limit part-way through the
// write, as a full disk would: the old file must come through untouched, and
// no temporary file may be left behind.
void TestTwFile::failedSaveKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("kept.tw");
    QCOMPARE(TwFile::save(endsInA(), path), std::nullopt);
    const QByteArray before = automatonBytes(endsInA());

    QList<QList<qint16>> rows(200, QList<qint16>(200, 7));
    const modAll big = makeAutomaton(QList<StateEntry>(200, StateEntry{"s", true}), 0, QStringList(200, "x"), rows);

    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100000;
    setrlimit(RLIMIT_FSIZE, &small);
    const std::optional<QString> failure = TwFile::save(big, path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(failure.has_value());
    QVERIFY(!failure->isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.tw"});
}

void TestTwFile::fileFailuresGiveTheReason()
{
    QTemporaryDir dir;
    QVERIFY(TwFile::save(endsInA(), dir.filePath("missing/x.tw")).has_value());

    const TwFile::Loaded missing = TwFile::load(dir.filePath("absent.tw"));
    QVERIFY(!missing.automaton);
    QVERIFY(!missing.failure.isEmpty());

    QFile truncated(dir.filePath("short.tw"));
    QVERIFY(truncated.open(QIODevice::WriteOnly));
    truncated.write("Q\r\n 3 \r\n");
    truncated.close();
    QCOMPARE(TwFile::load(truncated.fileName()).failure, "Line 3: the file ends before the name of state 1");
}

QTEST_GUILESS_MAIN(TestTwFile)
#include "test_tw_file.moc"
