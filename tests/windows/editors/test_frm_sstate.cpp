#include "editor_test_support.h"
#include "windows/editors/frm_sstate.h"

#include <QComboBox>
#include <QLabel>

class TestStartState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void chooses_data();
    void chooses();
    void focusAndKeys();
};

void TestStartState::chooses_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("shown");     // the choice when it opens
    QTest::addColumn<bool>("saved");    // is_saved after opening
    QTest::addColumn<int>("pick");      // the user's choice, -1 for none
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("stored");

    QTest::newRow("new automaton, cancelled") << 0 << 0 << false << -1 << "cmd_cancel" << 0;
    QTest::newRow("second chosen") << 0 << 0 << false << 1 << "cmd_ok" << 1;
    QTest::newRow("second chosen, cancelled") << 0 << 0 << false << 1 << "cmd_cancel" << 0;
    QTest::newRow("none, kept by OK") << -1 << -1 << true << -1 << "cmd_ok" << -1;
    QTest::newRow("none, then chosen") << -1 << -1 << true << 2 << "cmd_ok" << 2;
    QTest::newRow("removed start, OK stores none") << 3 << -1 << false << -1 << "cmd_ok" << -1;
    QTest::newRow("removed start, cancelled") << 5 << -1 << false << -1 << "cmd_cancel" << 5;
}

void TestStartState::chooses()
{
    QFETCH(int, start);
    QFETCH(int, shown);
    QFETCH(bool, saved);
    QFETCH(int, pick);
    QFETCH(QString, button);
    QFETCH(int, stored);

    modAll model = automaton({"q0", "q1", "*q2"});
    model.start_state = qint16(start);
    ScriptedDialogs dialogs;
    frm_sstate dlg(model, dialogs, nullptr);
    dlg.show();
    auto *com_start = dlg.findChild<QComboBox *>("com_start");
    QCOMPARE(dlg.findChild<QLabel *>("lbl_state")->text(), "Total 3 state(s) are found.");
    QCOMPARE(com_start->count(), 3);
    QCOMPARE(com_start->itemText(2), "q2");
    QCOMPARE(com_start->currentIndex(), shown);
    QCOMPARE(model.is_saved, saved);

    if (pick >= 0) {
        com_start->setFocus();
        QTest::keyClick(com_start, Qt::Key_Home);
        for (int i = 0; i < pick; ++i)
            QTest::keyClick(com_start, Qt::Key_Down);
    }
    click(&dlg, qPrintable(button));
    QVERIFY(!dlg.isVisible());
    QCOMPARE(int(model.start_state), stored);
    QCOMPARE(model.is_saved, saved);
}

void TestStartState::focusAndKeys()
{
    modAll model = automaton({"q0"});
    ScriptedDialogs dialogs;
    frm_sstate dlg(model, dialogs, nullptr);
    dlg.show();
    QCOMPARE(tabOrder(&dlg), (QStringList{"com_start", "cmd_cancel", "cmd_ok"}));
    checkKeysCloseNothing(dlg);
}

QTEST_MAIN(TestStartState)
#include "test_frm_sstate.moc"
