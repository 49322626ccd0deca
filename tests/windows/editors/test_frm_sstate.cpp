#include "editor_test_support.h"
#include "windows/editors/frm_sstate.h"

#include <QComboBox>
#include <QLabel>

class TestStartState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void chooses_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("pick");        // the user's choice, -1 for none
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("outcome"); // chosen when opened, is_saved, start_state at the end

        QTest::newRow("new automaton, cancelled") << 0 << -1 << "cmd_cancel" << "0 unsaved 0";
        QTest::newRow("third chosen") << 0 << 2 << "cmd_ok" << "0 unsaved 2";
        QTest::newRow("second chosen, cancelled") << 0 << 1 << "cmd_cancel" << "0 unsaved 0";
        QTest::newRow("none, kept by OK") << -1 << -1 << "cmd_ok" << "-1 saved -1";
        QTest::newRow("removed start: OK stores none") << 3 << -1 << "cmd_ok" << "-1 unsaved -1";
        QTest::newRow("removed start, cancelled") << 5 << -1 << "cmd_cancel" << "-1 unsaved 5";
    }

    void chooses()
    {
        QFETCH(int, start);
        QFETCH(int, pick);
        QFETCH(QString, button);
        QFETCH(QString, outcome);
        modAll model = automaton({"q0", "q1", "*q2"});
        model.start_state = qint16(start);
        Opened<frm_sstate> o(model);
        auto *com_start = o.dlg.findChild<QComboBox *>("com_start");
        QCOMPARE(o.dlg.findChild<QLabel *>("lbl_state")->text(), "Total 3 state(s) are found.");
        QCOMPARE(com_start->itemText(2), "q2");
        QCOMPARE(o.dlg.focusWidget(), com_start);
        QVERIFY(keysPressNothing(o.dlg));
        const QString shown = QString::number(com_start->currentIndex());
        if (pick >= 0) {
            QTest::keyClick(com_start, Qt::Key_Home);
            for (int i = 0; i < pick; ++i)
                QTest::keyClick(com_start, Qt::Key_Down);
        }
        click(&o.dlg, button);
        QVERIFY(!o.dlg.isVisible());
        QCOMPARE(shown + (model.is_saved ? " saved " : " unsaved ") + QString::number(model.start_state), outcome);
    }
};

QTEST_MAIN(TestStartState)
#include "test_frm_sstate.moc"
