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
        QCOMPARE(tabOrder(o.dlg), "cmd_add cmd_up cmd_down cmd_rem cmd_clr cmd_ok cmd_cancel lst_input");
        QCOMPARE(addAnswered(o, answer), "INPUT ALPHABET: Enter input symbol." + (refusal.isEmpty() ? "" : '|' + refusal));
        QCOMPARE(list(o.dlg)->count(), refusal.isEmpty() ? 2 : 1);
        QCOMPARE(list(o.dlg)->item(list(o.dlg)->count() - 1)->text(), refusal.isEmpty() ? answer : "a");
        QCOMPARE(model.is_saved, !refusal.isEmpty());
    }

    void okFitsTheTable_data()
    {
        QTest::addColumn<QStringList>("symbols");
        QTest::addColumn<Rows>("transitions");
        QTest::addColumn<QString>("edit");    // "-n" removes entry n, "+s" adds symbol s
        QTest::addColumn<Rows>("fitted");

        // Columns stay where they are: after a removal the next symbol takes over the
        // removed one's targets, and the last column's become the spare.
        QTest::newRow("first symbol removed") << QStringList{"a", "b", "c"} << Rows{{1, 2, 1, 0}, {2, 2, 1, 0}}
                                              << "-0" << Rows{{1, 2, 1}, {2, 2, 1}};
        QTest::newRow("symbol added") << QStringList{"a"} << Rows{{2, 0}, {1, 0}} << "+b" << Rows{{2, 0, 0}, {1, 0, 0}};
        // Targets of a removed state become 0; spare entries and rows past the states stay.
        QTest::newRow("targets of a removed state") << QStringList{"a", "b"} << Rows{{3, 1, 3}, {2, 3, 3}, {3, 3, 3}}
                                                    << "" << Rows{{0, 1, 3}, {2, 0, 3}, {3, 3, 3}};
    }

    void okFitsTheTable()
    {
        QFETCH(QStringList, symbols);
        QFETCH(Rows, transitions);
        QFETCH(QString, edit);
        QFETCH(Rows, fitted);
        modAll model = automaton({"p", "q"}, symbols);
        model.transitions = transitions;
        model.ttable_left = 1000;
        Opened<frm_alphabets> o(model);
        if (edit.startsWith('-')) {
            pick(list(o.dlg), edit.mid(1).toInt());
            click(&o.dlg, "cmd_rem");
            symbols.removeAt(edit.mid(1).toInt());
        } else if (edit.startsWith('+')) {
            addAnswered(o, edit.mid(1));
            symbols.append(edit.mid(1));
        }
        model.is_saved = true;
        click(&o.dlg, "cmd_ok");
        QVERIFY(!o.dlg.isVisible());
        QCOMPARE(model.symbols.mid(0, model.symbol_count), symbols);
        QCOMPARE(model.transitions, fitted);
        QVERIFY(model.is_saved);
        QCOMPARE(model.ttable_left, 1000);
    }

    void spareColumnComesBack()
    {
        modAll model = automaton({"p", "q"}, {"a", "b"});
        model.transitions = {{2, 1, 0}, {1, 2, 0}};
        {
            Opened<frm_alphabets> o(model);
            pick(list(o.dlg), 1);
            click(&o.dlg, "cmd_rem");
            click(&o.dlg, "cmd_ok");
        }
        QCOMPARE(Opened<frm_ttable>(model).dlg.columnCount(), 2);
        {
            Opened<frm_alphabets> o(model);
            addAnswered(o, "c");
            click(&o.dlg, "cmd_ok");
        }
        Opened<frm_ttable> table(model);
        QCOMPARE(table.dlg.cellText(0, 2) + table.dlg.cellText(1, 2) + table.dlg.cellText(2, 2), "cpq");
    }
};

QTEST_MAIN(TestAlphabets)
#include "test_frm_alphabets.moc"
