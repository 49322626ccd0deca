#include "document/escaped_line.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

// The one-line form of a string: what each byte becomes, what reads back, and
// that any bytes at all survive the round trip on one line.
class TestEscapedLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void escape_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("escaped");

        QTest::newRow("printable ASCII and blanks as they are") << QByteArray("a b~ 'x'") << QByteArray("a b~ 'x'");
        QTest::newRow("backslash doubled") << QByteArray("a\\b\\") << QByteArray("a\\\\b\\\\");
        QTest::newRow("tab, line feed, carriage return by letter") << QByteArray("\t\n\r") << QByteArray("\\t\\n\\r");
        QTest::newRow("other control bytes and DEL in hex") << QByteArray("\x00\x01\x1B\x1F\x7F", 5)
            << QByteArray("\\x00\\x01\\x1B\\x1F\\x7F");
        QTest::newRow("UTF-8 of two, three and four bytes as it is") << QByteArray("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80")
            << QByteArray("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
        QTest::newRow("UTF-8 at its limits as it is") << QByteArray("\xC2\x80\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF")
            << QByteArray("\xC2\x80\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF");
        QTest::newRow("bytes that begin nothing") << QByteArray("\xFF\xFE\xF5\xC0\xC1") << QByteArray("\\xFF\\xFE\\xF5\\xC0\\xC1");
        QTest::newRow("continuation without a lead") << QByteArray("a\x80\xBF") << QByteArray("a\\x80\\xBF");
        QTest::newRow("overlong forms byte by byte") << QByteArray("\xE0\x9F\xBF\xF0\x8F\xBF\xBF")
            << QByteArray("\\xE0\\x9F\\xBF\\xF0\\x8F\\xBF\\xBF");
        QTest::newRow("surrogate byte by byte") << QByteArray("\xED\xA0\x80") << QByteArray("\\xED\\xA0\\x80");
        QTest::newRow("past U+10FFFF byte by byte") << QByteArray("\xF4\x90\x80\x80") << QByteArray("\\xF4\\x90\\x80\\x80");
        QTest::newRow("sequence cut short, then text") << QByteArray("\xF0\x9F\x98" "a\xE2\x82") << QByteArray("\\xF0\\x9F\\x98a\\xE2\\x82");
        QTest::newRow("sequence cut by a line feed") << QByteArray("\xC3\n\xA9") << QByteArray("\\xC3\\n\\xA9");
    }

    // Each row's bytes escape as shown, the escape reads back to them, and in
    // either case of hex digit.
    void escape()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, escaped);
        QCOMPARE(EscapedLine::escape(bytes), escaped);
        QCOMPARE(EscapedLine::unescape(escaped).bytes, bytes);
        QCOMPARE(EscapedLine::unescape(escaped).badEscapeAt, -1);
        QCOMPARE(EscapedLine::unescape(escaped.toLower()).bytes, bytes.toLower());
        QByteArray appended;
        QCOMPARE(EscapedLine::append(appended, bytes) == bytes.size(), QByteArrayView(bytes).isValidUtf8());
    }

    void text()
    {
        QCOMPARE(EscapedLine::escape(QStringView(u"q\t\u00E9\r\n\\")), QStringView(u"q\\t\u00E9\\r\\n\\\\").toString());
    }

    void unescape_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qsizetype>("badEscapeAt");

        QTest::newRow("raw tab and invalid byte stand for themselves") << QByteArray("a\tb\xFF") << QByteArray("a\tb\xFF") << qsizetype(-1);
        QTest::newRow("unknown letter") << QByteArray("ab\\q") << QByteArray("ab") << qsizetype(2);
        QTest::newRow("backslash at the end") << QByteArray("\\t\\") << QByteArray("\t") << qsizetype(2);
        QTest::newRow("one hex digit") << QByteArray("\\x4") << QByteArray() << qsizetype(0);
        QTest::newRow("not a hex digit") << QByteArray("a\\x4g") << QByteArray("a") << qsizetype(1);
        QTest::newRow("upper-case X") << QByteArray("\\X41") << QByteArray() << qsizetype(0);
    }

    void unescape()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, bytes);
        QFETCH(qsizetype, badEscapeAt);
        const EscapedLine::Unescaped result = EscapedLine::unescape(line);
        QCOMPARE(result.bytes, bytes);
        QCOMPARE(result.badEscapeAt, badEscapeAt);
    }

    // Random bytes, mostly from the ranges where UTF-8 goes wrong: the escaped
    // line is one valid UTF-8 line without control bytes and reads back to the
    // same bytes; escaping finds where valid UTF-8 ends, and escaping in two
    // pieces cut there gives the same line.
    void randomRoundTrip()
    {
        static constexpr uchar interesting[] = {'a', '\\', '\t', '\n', '\r', 0x00, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0,
                                                 0xBF, 0xC0, 0xC2, 0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
        QRandomGenerator random(20260812);
        for (int round = 0; round < 20000; ++round) {
            QByteArray bytes(random.bounded(40), Qt::Uninitialized);
            for (char &byte : bytes)
                byte = char(random.bounded(3) ? interesting[random.bounded(int(sizeof interesting))] : random.bounded(256));
            const QByteArray escaped = EscapedLine::escape(bytes);
            const bool noControlByte = std::all_of(escaped.cbegin(), escaped.cend(), [](char byte) {
                return uchar(byte) >= 0x20 && uchar(byte) != 0x7F;
            });
            QVERIFY2(noControlByte && QByteArrayView(escaped).isValidUtf8(), qPrintable(bytes.toHex(' ')));
            QCOMPARE(EscapedLine::unescape(escaped).bytes, bytes);

            // The valid start is the longest: no sequence starts where it ends.
            QByteArray pieces;
            const qsizetype valid = EscapedLine::append(pieces, bytes);
            QVERIFY(QByteArrayView(bytes).first(valid).isValidUtf8());
            for (qsizetype longer = valid + 1; longer <= qMin(valid + 4, bytes.size()); ++longer)
                QVERIFY(!QByteArrayView(bytes).first(longer).isValidUtf8());
            pieces.clear();
            EscapedLine::append(pieces, QByteArrayView(bytes).first(valid));
            EscapedLine::append(pieces, QByteArrayView(bytes).sliced(valid));
            QCOMPARE(pieces, escaped);
        }
    }
};

QTEST_GUILESS_MAIN(TestEscapedLine)
#include "test_escaped_line.moc"
