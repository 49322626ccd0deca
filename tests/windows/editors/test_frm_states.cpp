#include "editor_test_support.h"
#include "windows/editors/frm_states.h"

#include <QLabel>

class TestStates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opens_data();
    void opens();
    void add_data();
    void add();
    void editingButtons_data();
    void editingButtons();
    void togglingAloneKeepsSaved();
    void okKeepsRowsAndStart();
    void okOnEmptyListKeepsOpen();
    void cancelKeepsStates();
    void refusesPastTheCountLimit();
    void keysCloseNothing();
};

namespace {

QListWidget *list(QDialog &dlg) { return dlg.findChild<QListWidget *>("lst_states"); }
QString label(QDialog &dlg) { return dlg.findChild<QLabel *>("lbl_state")->text(); }

// The list as the user sees it, '*' in front of a checked entry.
QStringList entries(QDialog &dlg)
{
    QStringList shown;
    for (int i = 0; i < list(dlg)->count(); ++i) {
        const QListWidgetItem *item = list(dlg)->item(i);
        shown.append((item->checkState() == Qt::Checked ? "*" : "") + item->text());
    }
    return shown;
}

QString finalCount(const QStringList &entries)
{
    return QString::number(entries.filter(QRegularExpression("^\\*")).size()) + " state(s) are final.";
}

} // namespace

void TestStates::opens_data()
{
    QTest::addColumn<QStringList>("states");
    QTest::newRow("no states") << QStringList{};
    QTest::newRow("final and not") << QStringList{"*A", "B", "*C"};
}

void TestStates::opens()
{
    QFETCH(QStringList, states);
    modAll model = automaton(states);
    ScriptedDialogs dialogs;
    frm_states dlg(model, dialogs, nullptr);
    dlg.show();
    QCOMPARE(entries(dlg), states);
    QCOMPARE(label(dlg), finalCount(states));
    QCOMPARE(picked(list(dlg)), -1);
    QCOMPARE(dlg.windowTitle(), "Set of states");
    QCOMPARE(tabOrder(&dlg), (QStringList{"cmd_add", "cmd_up", "cmd_down", "cmd_rem", "cmd_clr", "cmd_ok",
                                          "cmd_cancel", "lst_states"}));
}

void TestStates::add_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("refusal");

    const QString invalid = "ERROR: This is an invalid input symbol.";
    const QString taken = "ERROR: This state symbol is already exists.";
    QTest::newRow("cancelled or empty") << QStringList{"q0"} << "" << QStringList{"q0"} << invalid;
    QTest::newRow("same name") << QStringList{"q0"} << "q0" << QStringList{"q0"} << taken;
    QTest::newRow("same as a later, checked entry") << QStringList{"a", "*b"} << "b" << QStringList{"a", "*b"} << taken;
    QTest::newRow("case counts") << QStringList{"q0"} << "Q0" << QStringList{"q0", "Q0"} << "";
    QTest::newRow("trailing blank counts") << QStringList{"q0"} << "q0 " << QStringList{"q0", "q0 "} << "";
    QTest::newRow("leading blank counts") << QStringList{"*q0"} << " q0" << QStringList{"*q0", " q0"} << "";
}

void TestStates::add()
{
    QFETCH(QStringList, before);
    QFETCH(QString, answer);
    QFETCH(QStringList, after);
    QFETCH(QString, refusal);

    modAll model = automaton(before);
    ScriptedDialogs dialogs;
    dialogs.answerInput(answer);
    if (!refusal.isEmpty())
        dialogs.answerMessage();
    frm_states dlg(model, dialogs, nullptr);
    dlg.show();
    pick(list(dlg), 0);
    click(&dlg, "cmd_add");

    QCOMPARE(entries(dlg), after);
    QCOMPARE(picked(list(dlg)), 0);
    QCOMPARE(model.is_saved, !refusal.isEmpty());
    checkAddBoxes(dialogs, "INPUT STATE: Enter symbol for state.", refusal);
}

void TestStates::editingButtons_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("currentAfter");

    using L = QStringList;
    QTest::newRow("up moves the name, not the mark") << L{"*A", "B"} << 1 << "cmd_up" << L{"*B", "A"} << 0;
    QTest::newRow("down moves the name, not the mark") << L{"A", "*B", "C"} << 0 << "cmd_down" << L{"B", "*A", "C"} << 1;
    QTest::newRow("up on the first") << L{"A", "B"} << 0 << "cmd_up" << L{"A", "B"} << 0;
    QTest::newRow("down on the last") << L{"A", "B"} << 1 << "cmd_down" << L{"A", "B"} << 1;
    QTest::newRow("up without current") << L{"*A", "B"} << -1 << "cmd_up" << L{"*A", "B"} << -1;
    QTest::newRow("down without current") << L{"*A", "B"} << -1 << "cmd_down" << L{"*A", "B"} << -1;
    QTest::newRow("remove acts on current, not checked") << L{"*A", "*B"} << -1 << "cmd_rem" << L{"*A", "*B"} << -1;
    QTest::newRow("remove a checked current") << L{"A", "*B", "C"} << 1 << "cmd_rem" << L{"A", "C"} << -1;
    QTest::newRow("clear") << L{"*A", "B"} << 0 << "cmd_clr" << L{} << -1;
    QTest::newRow("clear an empty list") << L{} << -1 << "cmd_clr" << L{} << -1;
}

void TestStates::editingButtons()
{
    QFETCH(QStringList, before);
    QFETCH(int, current);
    QFETCH(QString, button);
    QFETCH(QStringList, after);
    QFETCH(int, currentAfter);

    modAll model = automaton(before);
    ScriptedDialogs dialogs;
    frm_states dlg(model, dialogs, nullptr);
    dlg.show();
    pick(list(dlg), current);
    click(&dlg, qPrintable(button));

    QCOMPARE(entries(dlg), after);
    QCOMPARE(picked(list(dlg)), currentAfter);
    QCOMPARE(label(dlg), finalCount(after));
    // Only a button that acted marks the automaton as changed, clear always acts.
    QCOMPARE(model.is_saved, before == after && button != "cmd_clr");
}

void TestStates::togglingAloneKeepsSaved()
{
    modAll model = automaton({"A", "*B"});
    ScriptedDialogs dialogs;
    frm_states dlg(model, dialogs, nullptr);
    dlg.show();
    for (int row : {0, 1}) {
        pick(list(dlg), row);
        QTest::keyClick(list(dlg), Qt::Key_Space);
    }
    QCOMPARE(entries(dlg), (QStringList{"*A", "B"}));
    QCOMPARE(label(dlg), "1 state(s) are final.");
    click(&dlg, "cmd_ok");
    QCOMPARE(dlg.result(), QDialog::Accepted);
    QVERIFY(model.is_saved);
    QVERIFY(model.states[0].is_final && !model.states[1].is_final);
}

void TestStates::okKeepsRowsAndStart()
{
    modAll model = automaton({"q0", "q1", "q2"});
    model.start_state = 2;
    model.transitions = {{2, 3}, {3, 1}, {1, 2}, {}};
    ScriptedDialogs dialogs;
    frm_states dlg(model, dialogs, nullptr);
    dlg.show();
    pick(list(dlg), 0);
    click(&dlg, "cmd_rem");
    click(&dlg, "cmd_ok");

    QCOMPARE(model.state_count, qint16(2));
    QCOMPARE(model.states[0].name, "q1");
    QCOMPARE(model.states[1].name, "q2");
    // The rows stay where they were, the last one as the spare; no target is renumbered.
    QCOMPARE(model.transitions, (QList<QList<qint16>>{{2, 3}, {3, 1}, {1, 2}}));
    QCOMPARE(model.start_state, qint16(2));
}

void TestStates::okOnEmptyListKeepsOpen()
{
    modAll model = automaton({"A"});
    checkOkOnEmptyListKeepsOpen<frm_states>(model, model.state_count);
    QCOMPARE(model.state_count, qint16(0));
    ScriptedDialogs dialogs;
    frm_states again(model, dialogs, nullptr);
    QCOMPARE(entries(again), QStringList{});
}

void TestStates::cancelKeepsStates()
{
    modAll model = automaton({"A"});
    addThenClose<frm_states>(model, "B");
    QCOMPARE(model.state_count, qint16(1));
    QCOMPARE(model.states.size(), 2);
}

void TestStates::refusesPastTheCountLimit()
{
    QStringList names;
    for (int i = 0; i < 32767; ++i)
        names.append(QString::number(i));
    modAll model = automaton(names);
    ScriptedDialogs dialogs;
    dialogs.answerMessage();
    frm_states dlg(model, dialogs, nullptr);
    dlg.show();
    click(&dlg, "cmd_add");
    QCOMPARE(dialogs.calls().size(), 1);
    QCOMPARE(dialogs.lastCall().kind, ScriptedDialogs::Kind::Message);
    QCOMPARE(list(dlg)->count(), 32767);
}

void TestStates::keysCloseNothing()
{
    modAll model = automaton({"A"});
    ScriptedDialogs dialogs;
    frm_states dlg(model, dialogs, nullptr);
    dlg.show();
    checkKeysCloseNothing(dlg);
}

QTEST_MAIN(TestStates)
#include "test_frm_states.moc"
