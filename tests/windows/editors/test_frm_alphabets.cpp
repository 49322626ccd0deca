#include "editor_test_support.h"
#include "windows/editors/frm_alphabets.h"
#include "windows/editors/frm_ttable.h"

namespace {

QListWidget *list(QDialog &dlg) { return dlg.findChild<QListWidget *>("lst_input"); }

} // namespace

class TestAlphabets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void add_data()
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

    void add()
    {
        QFETCH(QString, answer);
        QFETCH(QString, refusal);
        modAll model = automaton({"p"}, {"a"});
        Opened<frm_alphabets> o(model);
        QCOMPARE(o.dlg.focusWidget()->objectName(), "cmd_add");
        QVERIFY(keysPressNothing(o.dlg));
        QCOMPARE(addAnswered(o, answer), "INPUT ALPHABET: Enter input symbol." + (refusal.isEmpty() ? "" : '|' + refusal));
        QCOMPARE(list(o.dlg)->item(list(o.dlg)->count() - 1)->text(), refusal.isEmpty() ? answer : "a");
        QCOMPARE(model.is_saved, !refusal.isEmpty());
    }

    void okFitsTheTable()
    {
        // After the last state was removed: OK runs the table's Fill and Store, so
        // its targets become 0 (the spare entries and rows past the states stay),
        // while the saved flag and the table's position are left alone.
        modAll model = automaton({"p", "q"}, {"a", "b"});
        model.transitions = {{3, 1, 3}, {2, 3, 3}, {3, 3, 3}};
        model.ttable_left = 1000;
        Opened<frm_alphabets> o(model);
        click(&o.dlg, "cmd_ok");
        QVERIFY(!o.dlg.isVisible());
        QCOMPARE(model.transitions, (Rows{{0, 1, 3}, {2, 0, 3}, {3, 3, 3}}));
        QVERIFY(model.is_saved);
        QCOMPARE(model.ttable_left, 1000);
    }

    void spareColumnComesBack()
    {
        // Columns stay where they are: the removed last symbol's targets become the
        // spare entries, and the next symbol added takes them over.
        modAll model = automaton({"p", "q"}, {"a", "b"});
        model.transitions = {{2, 1, 0}, {1, 2, 0}};
        for (const bool removing : {true, false}) {
            Opened<frm_alphabets> o(model);
            pick(list(o.dlg), 1);
            if (removing)
                click(&o.dlg, "cmd_rem");
            else
                addAnswered(o, "c");
            click(&o.dlg, "cmd_ok");
            QCOMPARE(model.transitions, (removing ? Rows{{2, 1}, {1, 2}} : Rows{{2, 1, 0}, {1, 2, 0}}));
        }
        QCOMPARE(model.symbols.mid(0, 2), (QStringList{"a", "c"}));
        Opened<frm_ttable> table(model);
        QCOMPARE(table.dlg.cellText(0, 2) + table.dlg.cellText(1, 2) + table.dlg.cellText(2, 2), "cpq");
    }
};

QTEST_MAIN(TestAlphabets)
#include "test_frm_alphabets.moc"
