#include "model/characters.h"
#include "model/leading_number.h"
#include "model/lookup.h"
#include "model/mod_all.h"
#include "model/model_edits.h"
#include "model/transition_cells.h"
#include "test_automata.h"

#include <QTest>

using Rows = QList<QList<qint16>>;

class TestModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lookups_data();
    void lookups();
    void storedCells_data();
    void storedCells();
    void editsTellTheListener();
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
    QTest::newRow("case counts") << QStringList{"q0"} << 1 << "Q0" << 0;
    QTest::newRow("last of repeated wins") << QStringList{"a", "b", "a", "c"} << 4 << "a" << 3;
    QTest::newRow("empty key, empty entry") << QStringList{"x", ""} << 2 << "" << 2;
    QTest::newRow("entries past the count") << QStringList{"a", "b", "c"} << 2 << "c" << 0;
    QTest::newRow("count 0") << QStringList{"a"} << 0 << "a" << 0;
    const QString grin = QString::fromUcs4(U"\U0001F600");
    QTest::newRow("one character, last wins") << QStringList{"a", grin, "a", "b"} << 4 << "a" << 3;
    QTest::newRow("a surrogate pair is one character") << QStringList{"a", grin, "a"} << 3 << grin << 2;
    QTest::newRow("half a pair is none") << QStringList{grin, "a"} << 2 << grin.first(1) << 0;
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
    // The indexes answer as the walks do; a symbol that is not one character never matches a character.
    QCOMPARE(int(StateIndex(m).find(key)), expected);
    if (Characters::isOne(key))
        QCOMPARE(int(SymbolIndex(m).find(key)), expected);
}


// The table as the table editor stores it: filled from the model, with at most
// one cell typed into, row by row from 0.
void TestModel::storedCells_data()
{
    QTest::addColumn<modAll>("model");
    QTest::addColumn<int>("typedState");   // -1: nothing typed
    QTest::addColumn<int>("typedSymbol");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<QList<qint16>>>("stored");
    QTest::addColumn<int>("refusedState"); // -1: stored whole

    const modAll repeated = makeAutomaton({"p", "q", "p"}, {}, {"a"}, {{1}, {2}, {3}});
    modAll stray = makeAutomaton({"p", "q"}, {}, {"a", "b"}, {{3, -1}, {2}});
    stray.transitions.resize(1);   // q was added after the table was last stored
    QTest::newRow("untouched cells keep their targets though names repeat")
        << repeated << -1 << -1 << "" << Rows{{1, 0}, {2, 0}, {3, 0}, {}} << -1;
    QTest::newRow("a typed name is the last state of that name")
        << repeated << 0 << 0 << "p" << Rows{{3, 0}, {2, 0}, {3, 0}, {}} << -1;
    QTest::newRow("a cell typed empty is no transition")
        << repeated << 1 << 0 << "" << Rows{{1, 0}, {0, 0}, {3, 0}, {}} << -1;
    QTest::newRow("rows fitted, targets naming no state 0")
        << stray << -1 << -1 << "" << Rows{{0, 0, 0}, {0, 0, 0}, {}} << -1;
    QTest::newRow("refused: the cells before stored, the rest kept")
        << makeAutomaton({"p", "q"}, {}, {"a"}, {{5}, {7}}) << 1 << 0 << "P" << Rows{{0, 0}, {7, 0}, {}} << 1;
}

void TestModel::storedCells()
{
    QFETCH(modAll, model);
    QFETCH(int, typedState);
    QFETCH(int, typedSymbol);
    QFETCH(QString, typed);
    QFETCH(Rows, stored);
    QFETCH(int, refusedState);

    TransitionCells cells(model);
    if (typedState >= 0)
        cells.setText(typedState, typedSymbol, typed);
    const TransitionCells::Stored result = cells.store(model);
    QCOMPARE(result.transitions, stored);
    QCOMPARE(result.refusedState, refusedState);
}

// Each change reaches the model through one function and is told with the
// model as it was; confirming an alphabet keeps every target, whatever the names.
void TestModel::editsTellTheListener()
{
    struct Log final : ModelListener
    {
        void modelChanged(ModelChange change, const modAll &before) override
        {
            seen.append(QString::number(int(change)) + u' ' + describe(before));
        }
        QStringList seen;
    } log;
    modAll model = makeAutomaton({"p", "q", "p"}, {}, {"a"}, {{1}, {2}, {3}});
    model.is_saved = false;
    ModelEdits edits(model);
    edits.setListener(&log);
    QStringList expected;
    const auto expect = [&](ModelChange change) { expected.append(QString::number(int(change)) + u' ' + describe(model)); };

    expect(ModelChange::Alphabet);
    edits.commitAlphabet({"a", "b"});
    QCOMPARE(model.transitions, (Rows{{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {}}));
    expect(ModelChange::States);
    edits.commitStates({});
    QCOMPARE(model.state_count, qint16(0));
    expect(ModelChange::StartState);
    edits.commitStartState(-1);
    expect(ModelChange::Table);
    edits.commitTable({{2}});
    expect(ModelChange::Comment);
    edits.commitComment("c");
    QVERIFY(!model.is_saved);   // no commit touches the saved flag
    expect(ModelChange::NewFile);
    edits.newFile();
    expect(ModelChange::Open);
    edits.open(endsInA());
    QCOMPARE(log.seen, expected);
    QCOMPARE(describe(model), describe(endsInA()));
}

void TestModel::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("file number") << " 2 " << qint64(2);
    QTest::newRow("plus, tabs and blanks") << " \t+7" << qint64(7);
    QTest::newRow("no number") << "abc" << qint64(0);
    QTest::newRow("half down to even") << "2.5" << qint64(2);
    QTest::newRow("negative half to even") << "-3.5" << qint64(-4);
    QTest::newRow("just above half, exactly") << "2.5000000000000000000001" << qint64(3);
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
