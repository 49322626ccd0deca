#include "editor_test_support.h"
#include "windows/editors/frm_alphabets.h"
#include "windows/editors/frm_ttable.h"

using Rows = QList<QList<qint16>>;

class TestAlphabets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opens();
    void add_data();
    void add();
    void okFitsTheTable_data();
    void okFitsTheTable();
    void spareColumnComesBack();
    void okOnEmptyListKeepsOpen();
    void cancelKeepsSymbols();
};

namespace {

QListWidget *list(QDialog &dlg) { return dlg.findChild<QListWidget *>("lst_input"); }

QStringList entries(QDialog &dlg)
{
    QStringList shown;
    for (int i = 0; i < list(dlg)->count(); ++i)
        shown.append(list(dlg)->item(i)->text());
    return shown;
}

} // namespace

void TestAlphabets::opens()
{
    modAll model = automaton({"p"}, {"a", "b"});
    ScriptedDialogs dialogs;
    frm_alphabets dlg(model, dialogs, nullptr);
    dlg.show();
    QCOMPARE(dlg.windowTitle(), "Set of alphabets");
    QCOMPARE(entries(dlg), (QStringList{"a", "b"}));
    QCOMPARE(picked(list(dlg)), -1);
    QCOMPARE(tabOrder(&dlg), (QStringList{"cmd_add", "cmd_up", "cmd_down", "cmd_rem", "cmd_clr", "cmd_ok",
                                          "cmd_cancel", "lst_input"}));
    checkKeysCloseNothing(dlg);
}

void TestAlphabets::add_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("refusal");

    const QString notOne = "INVALID INPUT SYMBOL: Input symbol must be a single character.";
    QTest::newRow("cancelled or empty") << "" << notOne;
    QTest::newRow("two characters") << "ab" << notOne;
    QTest::newRow("same symbol") << "a" << "ERROR: This input symbol is already exists.";
    QTest::newRow("case counts") << "A" << "";
    QTest::newRow("a blank") << " " << "";
    QTest::newRow("one character outside the basic plane") << "\U0001D11E" << "";
}

void TestAlphabets::add()
{
    QFETCH(QString, answer);
    QFETCH(QString, refusal);

    modAll model = automaton({"p"}, {"a"});
    ScriptedDialogs dialogs;
    dialogs.answerInput(answer);
    if (!refusal.isEmpty())
        dialogs.answerMessage();
    frm_alphabets dlg(model, dialogs, nullptr);
    dlg.show();
    click(&dlg, "cmd_add");

    const QStringList expected = refusal.isEmpty() ? QStringList{"a", answer} : QStringList{"a"};
    QCOMPARE(entries(dlg), expected);
    QCOMPARE(model.is_saved, !refusal.isEmpty());
    checkAddBoxes(dialogs, "INPUT ALPHABET: Enter input symbol.", refusal);
}

void TestAlphabets::okFitsTheTable_data()
{
    QTest::addColumn<QStringList>("symbols");
    QTest::addColumn<Rows>("transitions");
    QTest::addColumn<int>("removed");     // entry removed before OK, -1 none
    QTest::addColumn<QString>("added");   // symbol added before OK, empty none
    QTest::addColumn<Rows>("fitted");

    // Columns stay where they are: after a removal, the next symbol takes over the
    // removed one's targets, and the last column's targets become the spare.
    QTest::newRow("first symbol removed") << QStringList{"a", "b", "c"} << Rows{{1, 2, 1, 0}, {2, 2, 1, 0}}
                                          << 0 << "" << Rows{{1, 2, 1}, {2, 2, 1}};
    QTest::newRow("symbol added") << QStringList{"a"} << Rows{{2, 0}, {1, 0}} << -1 << "b"
                                  << Rows{{2, 0, 0}, {1, 0, 0}};
    // A removed state's targets and row: the targets become 0 (spare entries and
    // rows past the states are left alone).
    QTest::newRow("targets of a removed state") << QStringList{"a", "b"} << Rows{{3, 1, 3}, {2, 3, 3}, {3, 3, 3}}
                                                << -1 << "" << Rows{{0, 1, 3}, {2, 0, 3}, {3, 3, 3}};
}

void TestAlphabets::okFitsTheTable()
{
    QFETCH(QStringList, symbols);
    QFETCH(Rows, transitions);
    QFETCH(int, removed);
    QFETCH(QString, added);
    QFETCH(Rows, fitted);

    modAll model = automaton({"p", "q"}, symbols);
    model.transitions = transitions;
    model.ttable_left = 1000;
    ScriptedDialogs dialogs;
    frm_alphabets dlg(model, dialogs, nullptr);
    dlg.show();
    if (removed >= 0) {
        pick(list(dlg), removed);
        click(&dlg, "cmd_rem");
        symbols.removeAt(removed);
    }
    if (!added.isEmpty()) {
        dialogs.answerInput(added);
        click(&dlg, "cmd_add");
        symbols.append(added);
    }
    model.is_saved = true;
    click(&dlg, "cmd_ok");

    QVERIFY(!dlg.isVisible());
    QCOMPARE(model.symbols.mid(0, model.symbol_count), symbols);
    QCOMPARE(model.transitions, fitted);
    QVERIFY(model.is_saved);
    QCOMPARE(model.ttable_left, 1000);
}

void TestAlphabets::spareColumnComesBack()
{
    modAll model = automaton({"p", "q"}, {"a", "b"});
    model.transitions = {{2, 1, 0}, {1, 2, 0}};
    ScriptedDialogs dialogs;
    {
        frm_alphabets dlg(model, dialogs, nullptr);
        dlg.show();
        pick(list(dlg), 1);
        click(&dlg, "cmd_rem");
        click(&dlg, "cmd_ok");
    }
    {
        frm_ttable table(model, dialogs, nullptr);
        QCOMPARE(table.columnCount(), 2);
    }
    dialogs.answerInput("c");
    frm_alphabets dlg(model, dialogs, nullptr);
    dlg.show();
    click(&dlg, "cmd_add");
    click(&dlg, "cmd_ok");
    frm_ttable table(model, dialogs, nullptr);
    QCOMPARE(table.cellText(0, 2), "c");
    QCOMPARE(table.cellText(1, 2), "p");
    QCOMPARE(table.cellText(2, 2), "q");
}

void TestAlphabets::okOnEmptyListKeepsOpen()
{
    modAll model = automaton({"p"}, {"a"});
    model.transitions = {{1, 0}, {}};
    checkOkOnEmptyListKeepsOpen<frm_alphabets>(model, model.symbol_count);
    QCOMPARE(model.symbol_count, qint16(0));
    QCOMPARE(model.transitions, (Rows{{1, 0}, {}}));
    ScriptedDialogs dialogs;
    frm_alphabets again(model, dialogs, nullptr);
    QCOMPARE(entries(again), QStringList{});
}

void TestAlphabets::cancelKeepsSymbols()
{
    modAll model = automaton({"p"}, {"a"});
    addThenClose<frm_alphabets>(model, "b");
    QCOMPARE(model.symbol_count, qint16(1));
    QCOMPARE(model.symbols, (QStringList{"a", ""}));
}

QTEST_MAIN(TestAlphabets)
#include "test_frm_alphabets.moc"
