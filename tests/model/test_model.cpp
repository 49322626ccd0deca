#include "model/leading_number.h"
#include "model/mod_all.h"

#include <QTest>

class TestModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lookups_data();
    void lookups();
    void lookupsStopAtTheCount();
    void spareEntrySurvivesShrinkAndGrow();
    void missingEntriesReadAsNoTransition();
    void leadingNumber_data();
    void leadingNumber();
};

static modAll automatonWith(const QStringList &names, const QStringList &symbols)
{
    modAll m;
    m.state_count = qint16(names.size());
    for (const QString &name : names)
        m.states.append({name, false});
    m.symbol_count = qint16(symbols.size());
    m.symbols = symbols;
    return m;
}

void TestModel::lookups_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("expected");

    QTest::newRow("first") << QStringList{"q0", "q1"} << "q0" << 1;
    QTest::newRow("second") << QStringList{"q0", "q1"} << "q1" << 2;
    QTest::newRow("absent") << QStringList{"q0", "q1"} << "q2" << 0;
    QTest::newRow("case counts") << QStringList{"q0"} << "Q0" << 0;
    QTest::newRow("leading blank counts") << QStringList{"q0"} << " q0" << 0;
    QTest::newRow("trailing blank counts") << QStringList{"q0 "} << "q0 " << 1;
    QTest::newRow("last of repeated wins") << QStringList{"a", "b", "a", "c"} << "a" << 3;
    QTest::newRow("empty key matches empty entry") << QStringList{"x", ""} << "" << 2;
    QTest::newRow("empty key, no empty entry") << QStringList{"x"} << "" << 0;
    QTest::newRow("no entries") << QStringList{} << "a" << 0;
}

void TestModel::lookups()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, key);
    QFETCH(int, expected);

    const modAll m = automatonWith(entries, entries);
    QCOMPARE(int(m.findState(key)), expected);
    QCOMPARE(int(m.findSymbol(key)), expected);
}

void TestModel::lookupsStopAtTheCount()
{
    // Entries past the count (a spare, or names left by a shrink) are not states.
    modAll m = automatonWith({"a", "b", "c"}, {"a", "b", "c"});
    m.state_count = 2;
    m.symbol_count = 2;
    QCOMPARE(m.findState("c"), qint16(0));
    QCOMPARE(m.findSymbol("c"), qint16(0));
    m.state_count = 0;
    m.symbol_count = 0;
    QCOMPARE(m.findState("a"), qint16(0));
    QCOMPARE(m.findSymbol("a"), qint16(0));
}

void TestModel::spareEntrySurvivesShrinkAndGrow()
{
    QList<qint16> row{5, 6, 7, 8};   // three symbols and the spare
    sizeWithSpare<qint16>(row, 2);    // last symbol removed: its target becomes the spare
    QCOMPARE(row, (QList<qint16>{5, 6, 7}));
    sizeWithSpare<qint16>(row, 3);    // a symbol added: the old target is back in view
    QCOMPARE(row, (QList<qint16>{5, 6, 7, 0}));
    sizeWithSpare<qint16>(row, 0);
    QCOMPARE(row, (QList<qint16>{5}));
}

void TestModel::missingEntriesReadAsNoTransition()
{
    modAll m = automatonWith({"a", "b"}, {"x", "y"});
    m.transitions = {{2, 1, 0}, {}};
    QCOMPARE(m.entry(0, 0), qint16(2));
    QCOMPARE(m.entry(0, 5), qint16(0));   // past the row's end
    QCOMPARE(m.entry(1, 0), qint16(0));   // row not sized yet
    QCOMPARE(m.entry(2, 0), qint16(0));   // no such row
    QCOMPARE(m.entry(-1, 0), qint16(0));
    QVERIFY(m.isTarget(2));
    QVERIFY(!m.isTarget(3));
    QVERIFY(!m.isTarget(0));
    QVERIFY(!m.isTarget(-1));
}

void TestModel::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("plain") << "250" << qint64(250);
    QTest::newRow("file number") << " 2 " << qint64(2);
    QTest::newRow("negative") << "-1 " << qint64(-1);
    QTest::newRow("plus sign") << "+7" << qint64(7);
    QTest::newRow("blanks and tabs skipped") << " \t 12" << qint64(12);
    QTest::newRow("trailing text ignored") << "12ab" << qint64(12);
    QTest::newRow("letters") << "abc" << qint64(0);
    QTest::newRow("empty") << "" << qint64(0);
    QTest::newRow("sign alone") << "-" << qint64(0);
    QTest::newRow("half down to even") << "2.5" << qint64(2);
    QTest::newRow("half up to even") << "3.5" << qint64(4);
    QTest::newRow("half of zero") << "0.5" << qint64(0);
    QTest::newRow("negative half") << "-2.5" << qint64(-2);
    QTest::newRow("negative half to even") << "-3.5" << qint64(-4);
    QTest::newRow("above half") << "2.51" << qint64(3);
    QTest::newRow("just above half, exactly") << "2.5000000000000000000001" << qint64(3);
    QTest::newRow("below half") << "2.49999" << qint64(2);
    QTest::newRow("fraction without digits before") << ".7" << qint64(1);
    QTest::newRow("dot alone") << "." << qint64(0);
    QTest::newRow("no exponent") << "1e3" << qint64(1);
    QTest::newRow("blank inside ends the number") << "1 2" << qint64(1);
    QTest::newRow("huge saturates") << "99999999999999999999999" << leadingNumberLimit;
    QTest::newRow("huge negative saturates") << "-99999999999999999999999" << -leadingNumberLimit;
    QTest::newRow("16-bit edge") << "32767.4" << qint64(32767);
    QTest::newRow("past 16-bit edge") << "32767.5" << qint64(32768);
}

void TestModel::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(qint64, expected);
    QCOMPARE(::leadingNumber(text), expected);
}

QTEST_GUILESS_MAIN(TestModel)
#include "test_model.moc"
