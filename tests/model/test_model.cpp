#include "model/leading_number.h"
#include "model/mod_all.h"
#include "test_automata.h"

#include <QTest>

class TestModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lookups_data();
    void lookups();
    void spareEntryAndMissingEntries();
    void leadingNumber_data();
    void leadingNumber();
};

void TestModel::lookups_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("count"); // how many entries the count says are meaningful
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("expected");

    QTest::newRow("second") << QStringList{"q0", "q1"} << 2 << "q1" << 2;
    QTest::newRow("absent") << QStringList{"q0", "q1"} << 2 << "q2" << 0;
    QTest::newRow("case counts") << QStringList{"q0"} << 1 << "Q0" << 0;
    QTest::newRow("blanks count") << QStringList{"q0", "q0 "} << 2 << "q0 " << 2;
    QTest::newRow("last of repeated wins") << QStringList{"a", "b", "a", "c"} << 4 << "a" << 3;
    QTest::newRow("empty key, empty entry") << QStringList{"x", ""} << 2 << "" << 2;
    QTest::newRow("entries past the count") << QStringList{"a", "b", "c"} << 2 << "c" << 0;
    QTest::newRow("count 0") << QStringList{"a"} << 0 << "a" << 0;
}

void TestModel::lookups()
{
    QFETCH(QStringList, entries);
    QFETCH(int, count);
    QFETCH(QString, key);
    QFETCH(int, expected);

    modAll m = makeAutomaton(entries, {}, entries, {});
    m.state_count = m.symbol_count = qint16(count);
    QCOMPARE(int(m.findState(key)), expected);
    QCOMPARE(int(m.findSymbol(key)), expected);
}

void TestModel::spareEntryAndMissingEntries()
{
    QList<qint16> row{5, 6, 7, 8};   // three symbols and the spare
    sizeWithSpare<qint16>(row, 2);    // the last symbol removed: its target becomes the spare
    sizeWithSpare<qint16>(row, 3);    // a symbol added: the old target is back in view
    QCOMPARE(row, (QList<qint16>{5, 6, 7, 0}));

    modAll m = makeAutomaton({"a", "b"}, {}, {"x", "y"}, {{2, 1}, {}});
    const QList<qint16> read{m.entry(0, 0), m.entry(0, 5), m.entry(1, 0), m.entry(7, 0), m.entry(-1, 0)};
    QCOMPARE(read, (QList<qint16>{2, 0, 0, 0, 0}));
}

void TestModel::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("file number") << " 2 " << qint64(2);
    QTest::newRow("negative") << "-1 " << qint64(-1);
    QTest::newRow("plus, tabs and blanks") << " \t+7" << qint64(7);
    QTest::newRow("no number") << "abc" << qint64(0);
    QTest::newRow("half down to even") << "2.5" << qint64(2);
    QTest::newRow("half up to even") << "3.5" << qint64(4);
    QTest::newRow("negative half to even") << "-3.5" << qint64(-4);
    QTest::newRow("just above half, exactly") << "2.5000000000000000000001" << qint64(3);
    QTest::newRow("no digits before the point") << ".7" << qint64(1);
    QTest::newRow("huge saturates") << "-99999999999999999999999" << -leadingNumberLimit;
    QTest::newRow("rounds past the 16-bit edge") << "32767.5" << qint64(32768);
}

void TestModel::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(qint64, expected);
    QCOMPARE(::leadingNumber(text), expected);
}

QTEST_GUILESS_MAIN(TestModel)
#include "test_model.moc"
