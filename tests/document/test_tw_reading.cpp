// Reading a .tw file as the programs read it: in pieces, released as the
// reader goes. Every row is read from memory in one piece and from a device in
// pieces of every small size, and each way must give what the row expects.

#include "document/tw_reader.h"
#include "test_automata.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

#include <unistd.h>

namespace {

QByteArray crlf(const QList<QByteArray> &lines) { return QByteArrayList(lines).join("\r\n") + "\r\n"; }

// One state named `name`, one symbol, start state 0, and the comment.
QByteArray oneState(const QByteArray &name, const QByteArray &comment = {})
{
    return crlf({"Q", " 1 ", name, "True", "Start", " 0 ", "E", " 1 ", "a", "Q/E", " 1 "}) + comment;
}

QString oneStateRead(const QString &name, const QString &comment = {})
{
    modAll m = makeAutomaton({name}, {name}, {"a"}, {{1}});
    m.comment = comment;
    return describe(m);
}

// One state over the symbols a to h, its transitions written as `entries`
// (each with its own delimiter), then a comment long enough that the reader
// finds every entry in the middle of what it holds.
QByteArray eightEntries(const QByteArray &entries)
{
    return crlf({"Q", " 1 ", "q", "True", "Start", " 0 ", "E", " 8 ", "a", "b", "c", "d", "e", "f", "g", "h", "Q/E"})
        + entries + "a comment longer than a number";
}

QString eightEntriesRead(const QList<qint16> &row)
{
    modAll m = makeAutomaton({"q"}, {"q"}, {"a", "b", "c", "d", "e", "f", "g", "h"}, {row});
    m.comment = "a comment longer than a number";
    return describe(m);
}

QString outcome(const TwResult<modAll> &result)
{
    return result.ok() ? describe(result.value()) : result.failure().message();
}

} // namespace

class TestTwReading : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");

        QTest::newRow("encoding: a UTF-8 byte-order mark at the start is not text")
            << "\xEF\xBB\xBF" + oneState("q") << oneStateRead("q");
        QTest::newRow("encoding: a byte-order mark inside a value is U+FEFF")
            << oneState("\xEF\xBB\xBFq") << oneStateRead(QString(QChar(0xFEFF)) + "q");
        QTest::newRow("encoding: a file of only a byte-order mark is empty")
            << QByteArray("\xEF\xBB\xBF") << "Line 1: the file ends before the \"Q\" keyword";
        QTest::newRow("encoding: characters of two, three and four bytes, cut anywhere")
            << oneState("\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E", "\"\xF0\x9D\x84\x9E\xC3\xA9\"")
            << oneStateRead(QString::fromUtf8("é€𝄞"), QString::fromUtf8("𝄞é"));
        QTest::newRow("encoding: one byte that is not UTF-8 at the end makes all of the file Windows-1252")
            << oneState("\xC3\xA9", "\"caf\xE9\"") << oneStateRead(QString::fromLatin1("\xC3\xA9"), "café");

        QTest::newRow("quotes: doubled quotes stand for one, line ends stay")
            << oneState("\"a\"\"\r\nb\"\"\"\"\"x", "\"\"\"\"") << oneStateRead("a\"\r\nb\"\"", "\"");
        QTest::newRow("quotes: never closed in the comment, it runs to the end of the file")
            << oneState("q", "\"a, b\r\n\"\"c\r\n") << oneStateRead("q", "a, b\r\n\"c\r\n");
        QTest::newRow("quotes: never closed in a name, reported where it opened")
            << crlf({"Q", " 1 ", "\"q", "True", "Start", " 0 "})
            << "Line 3: the quote opened here is never closed, so the file ends before the final flag of state 1";
        QTest::newRow("quotes: never closed after a comma, reported where it opened")
            << crlf({"Q", " 1 ", "q", "True", "Start, \"0 ", "E", " 0 ", "Q/E"})
            << "Line 5: the quote opened here is never closed, so the file ends before the \"E\" keyword";

        QTest::newRow("numbers: quoted, rounded, or followed by characters that are not ASCII")
            << crlf({"Q", " 1 ", "q", "True", "Start", "\"0.5\"", "E", " 1 ", "a", "Q/E", "0.9\xC3\xA9"})
            << oneStateRead("q");

        QTest::newRow("numbers: blanks, zeros, commas and every line end around the digits")
            << eightEntries(" 1 \r\n2\n\t 00003\t \r 4, 5 \r\n 32767 \r\n 0 \n 00000000000000000008 \r\n")
            << eightEntriesRead({1, 2, 3, 4, 5, 32767, 0, 8});
        QTest::newRow("numbers: a sign, a fraction and text after the digits between plain ones")
            << eightEntries(" 1 \r\n -2 \r\n 1 \r\n 2.5 \r\n 1 \r\n 3x \r\n 1 \r\n +4 \r\n")
            << eightEntriesRead({1, -2, 1, 2, 1, 3, 1, 4});
        QTest::newRow("numbers: one past the largest, after plain ones, reported at its line")
            << eightEntries(" 1 \r\n 2 \n 3 \r 32768 \r\n")
            << "Line 21: the transition of state 1 on symbol 4 is outside -32768 to 32767";
        QTest::newRow("numbers: six digits, past the largest")
            << eightEntries(" 1 , 123456 \r\n") << "Line 18: the transition of state 1 on symbol 2 is outside -32768 to 32767";

        QTest::newRow("lines: CR LF, LF and CR alone, cut anywhere, each end one line")
            << QByteArray("Q\r\n 2 \n\"a\r\n\r\"\"\nb\"\rTrue\r\n")
            << "Line 8: the file ends before the name of state 2";
        const QString notTw = ". The file does not look like a Tarnwell automaton: its first line is not \"Q\".";
        QTest::newRow("another kind of file: JFLAP's XML")
            << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?><!--Created with JFLAP 7.1.-->"
                          "<structure>\n\t<type>fa</type>\n\t<automaton>\n\t\t<state id=\"0\" name=\"q0\">\n")
            << "Line 5: the file ends before the \"E\" keyword. The file looks like a JFLAP file, not a Tarnwell automaton.";
        QTest::newRow("another kind of file: other XML")
            << QByteArray("<?xml version=\"1.0\"?>\n<graph>\n</graph>\n")
            << "Line 4: the file ends before the start state" + notTw;
        QTest::newRow("another kind of file: JSON") << QByteArray("{\"states\": 2}\n")
                                                    << "Line 2: the file ends before the number of states" + notTw;
        QTest::newRow("a .tw file cut short says only where") << crlf({"Q", " 2 ", "q0"})
                                                             << "Line 4: the file ends before the final flag of state 1";
        QTest::newRow("a first line of \"Q\" with blanks and a byte-order mark is the keyword")
            << QByteArray("\xEF\xBB\xBF Q \r\n 2 \r\n") << "Line 3: the file ends before the name of state 1";
        QTest::newRow("other keywords are still not examined") << oneState("q").replace("Q\r\n", "states\r\n")
                                                               << oneStateRead("q");

        QTest::newRow("lines: blanks at the end of the file are one more field")
            << oneState("q", "\"x\"\r\n \t ") << oneStateRead("q", "x\r\n");
    }

    void reads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(outcome(readAutomaton(bytes)), expected);
        for (const qsizetype pieceSize : {4, 5, 6, 7, 9, 1 << 20}) {
            QBuffer device(&bytes);
            QVERIFY(device.open(QIODevice::ReadOnly));
            TwReadOptions options;
            options.pieceSize = pieceSize;
            QCOMPARE(outcome(readAutomaton(device, options)), expected);
        }
    }

    // A device that holds more than the limit is refused (a file before it is
    // read); one that holds exactly the limit is read.
    void readsUpToTheLimit_data()
    {
        QTest::addColumn<bool>("pipe");
        QTest::addColumn<int>("over");     // how far the device is over the limit
        QTest::addColumn<QString>("expected");
        const QString refused =
            QString("the file is larger than %1 bytes, the most Tarnwell reads").arg(oneState("q").size() - 1);
        QTest::newRow("a file over the limit: refused") << false << 1 << refused;
        QTest::newRow("a pipe over the limit: refused") << true << 1 << refused;
        QTest::newRow("a file at the limit: read") << false << 0 << oneStateRead("q");
        QTest::newRow("a pipe at the limit: read") << true << 0 << oneStateRead("q");
    }

    void readsUpToTheLimit()
    {
        QFETCH(bool, pipe);
        QFETCH(int, over);
        QFETCH(QString, expected);
        QByteArray bytes = oneState("q");
        QBuffer file(&bytes);
        QFile stream;
        if (pipe) {
            int ends[2];
            QCOMPARE(::pipe(ends), 0);
            QCOMPARE(::write(ends[1], bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
            ::close(ends[1]);
            QVERIFY(stream.open(ends[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
        } else {
            QVERIFY(file.open(QIODevice::ReadOnly));
        }
        QIODevice &device = pipe ? static_cast<QIODevice &>(stream) : file;
        TwReadOptions options;
        options.sizeLimit = bytes.size() - over;
        options.pieceSize = 4;
        QCOMPARE(outcome(readAutomaton(device, options)), expected);
        if (!pipe)
            QCOMPARE(file.pos(), over > 0 ? 0 : bytes.size());
    }
};

QTEST_GUILESS_MAIN(TestTwReading)
#include "test_tw_reading.moc"
