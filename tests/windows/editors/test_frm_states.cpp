#include "editor_test_support.h"
#include "windows/editors/frm_states.h"

#include <QLabel>

namespace {

QListWidget *list(QDialog &dlg) { return dlg.findChild<QListWidget *>("lst_states"); }

// The list as a picture: entries joined by '|', a checked one with '*' in front,
// the highlighted one in brackets ("*A|[B]"). The label must count the checked ones.
QString picture(QDialog &dlg)
{
    QStringList entries;
    int checked = 0;
    for (int i = 0; i < list(dlg)->count(); ++i) {
        const QListWidgetItem *item = list(dlg)->item(i);
        checked += item->checkState() == Qt::Checked;
        const QString entry = (item->checkState() == Qt::Checked ? "*" : "") + item->text();
        entries.append(item->isSelected() ? '[' + entry + ']' : entry);
    }
    const QString label = dlg.findChild<QLabel *>("lbl_state")->text();
    return label == QString::number(checked) + " state(s) are final." ? entries.join('|') : "label: " + label;
}

} // namespace

class TestStates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttons_data()
    {
        QTest::addColumn<QString>("before");   // a picture; the entry in brackets is picked first
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("answer");   // to cmd_add's input box
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("boxes");

        const QString input = "INPUT STATE: Enter symbol for state.";
        QTest::newRow("add, cancelled or empty") << "[q0]" << "cmd_add" << "" << "[q0]"
                                                 << input + "|ERROR: This is an invalid input symbol.";
        QTest::newRow("add, same name") << "q0|*b" << "cmd_add" << "b" << "q0|*b"
                                        << input + "|ERROR: This state symbol is already exists.";
        QTest::newRow("add, case counts") << "[q0]" << "cmd_add" << "Q0" << "[q0]|Q0" << input;
        QTest::newRow("add, blanks count") << "*q0|q0 " << "cmd_add" << " q0" << "*q0|q0 | q0" << input;
        QTest::newRow("up moves the name, not the mark") << "*A|[B]" << "cmd_up" << "" << "[*B]|A" << "";
        QTest::newRow("down moves the name, not the mark") << "[A]|*B|C" << "cmd_down" << "" << "B|[*A]|C" << "";
        QTest::newRow("up on the first") << "[A]|B" << "cmd_up" << "" << "[A]|B" << "";
        QTest::newRow("down on the last") << "A|[B]" << "cmd_down" << "" << "A|[B]" << "";
        QTest::newRow("up without current") << "*A|B" << "cmd_up" << "" << "*A|B" << "";
        QTest::newRow("remove acts on current, not checked") << "*A|*B" << "cmd_rem" << "" << "*A|*B" << "";
        QTest::newRow("remove a checked current") << "A|[*B]|C" << "cmd_rem" << "" << "A|C" << "";
        QTest::newRow("clear an empty list") << "" << "cmd_clr" << "" << "" << "";
    }

    void buttons()
    {
        QFETCH(QString, before);
        QFETCH(QString, button);
        QFETCH(QString, answer);
        QFETCH(QString, after);
        QFETCH(QString, boxes);
        modAll model = automaton(QString(before).remove('[').remove(']').split('|', Qt::SkipEmptyParts));
        Opened<frm_states> o(model);
        pick(list(o.dlg), before.split('|').indexOf(QRegularExpression("\\[.*")));
        QString shown;
        if (button == "cmd_add")
            shown = addAnswered(o, answer);
        else
            click(&o.dlg, button);
        QCOMPARE(shown, boxes);
        QCOMPARE(picture(o.dlg), after);
        // Only a button that acted marks the automaton as changed; clear always acts.
        QCOMPARE(model.is_saved, before == after && button != "cmd_clr");
    }

    void togglesAndKeepsRows()
    {
        modAll model = automaton({"q0", "*q1", "*q2"});
        model.start_state = 2;
        model.transitions = {{2, 3}, {3, 1}, {1, 2}, {}};
        Opened<frm_states> o(model);
        QCOMPARE(o.dlg.focusWidget()->objectName(), "cmd_add");
        QVERIFY(keysPressNothing(o.dlg));
        for (int row : {1, 0}) {
            pick(list(o.dlg), row);
            QTest::keyClick(list(o.dlg), Qt::Key_Space);
        }
        QCOMPARE(picture(o.dlg), "[*q0]|q1|*q2");
        QVERIFY(model.is_saved);   // toggling a check mark is not an edit of its own
        click(&o.dlg, "cmd_rem");
        click(&o.dlg, "cmd_ok");
        QCOMPARE(o.dlg.result(), QDialog::Accepted);
        QCOMPARE(model.state_count, qint16(2));
        QCOMPARE(model.states[0].name + model.states[1].name, "q1q2");
        QVERIFY(!model.states[0].is_final && model.states[1].is_final);
        // Rows stay where they were, the last as the spare; no target or start is renumbered.
        QCOMPARE(model.transitions, (Rows{{2, 3}, {3, 1}, {1, 2}}));
        QCOMPARE(model.start_state, qint16(2));
    }

    void cancelAndEmptyOk()
    {
        modAll model = automaton({"A"});
        {
            Opened<frm_states> o(model);
            addAnswered(o, "B");
            o.dlg.close();   // the close box: Cancel
        }
        QCOMPARE(model.state_count, qint16(1));
        QVERIFY(!model.is_saved);
        {
            Opened<frm_states> o(model);
            click(&o.dlg, "cmd_clr");
            click(&o.dlg, "cmd_ok");
            QVERIFY(o.dlg.isVisible());
            QCOMPARE(model.state_count, qint16(0));
            click(&o.dlg, "cmd_cancel");
        }
        Opened<frm_states> again(model);
        QCOMPARE(model.state_count, qint16(0));
        QCOMPARE(picture(again.dlg), "");
    }
};

QTEST_MAIN(TestStates)
#include "test_frm_states.moc"
