// An automaton built only through the editors, then run through the main window.

#include "model/mod_all.h"
#include "scripted_dialogs.h"
#include "toolkit/tick_timer.h"
#include "windows/editors/frm_ttable.h"
#include "windows/main/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>

class TestEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buildThroughTheEditorsAndRun();

private:
    // Chooses `action` and, once its modal window is up, lets `use` work in it.
    void withEditor(const char *action, const std::function<void(QDialog *)> &use)
    {
        bool reached = false;
        QTimer::singleShot(0, m_window, [&] {
            auto *editor = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(editor);
            reached = true;
            use(editor);
        });
        m_window->findChild<QAction *>(QLatin1String(action))->trigger();
        QVERIFY(reached);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void addEach(QDialog *editor, const QStringList &answers)
    {
        for (const QString &answer : answers) {
            m_dialogs.answerInput(answer);
            QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("cmd_add")), Qt::LeftButton);
        }
    }

    QString run(const QString &input)
    {
        auto *box = m_window->findChild<QLineEdit *>(QStringLiteral("txt_input"));
        box->setText(input);
        QTest::mouseClick(m_window->findChild<QPushButton *>(QStringLiteral("cmd_play")), Qt::LeftButton);
        return m_window->findChild<QLineEdit *>(QStringLiteral("txt_output"))->text() + QLatin1Char(' ')
            + m_window->findChild<QLineEdit *>(QStringLiteral("txt_state"))->text() + QLatin1Char(' ')
            + m_window->findChild<QLabel *>(QStringLiteral("sBar_text"))->text();
    }

    ScriptedDialogs m_dialogs;
    frm_main *m_window = nullptr;
};

void TestEndToEnd::buildThroughTheEditorsAndRun()
{
    modAll model;
    frm_main window(model, &m_dialogs);
    m_window = &window;
    window.show();

    withEditor("cmd_states", [&](QDialog *states) {
        addEach(states, {"even", "odd"});
        states->findChild<QListWidget *>(QStringLiteral("lst_states"))->item(1)->setCheckState(Qt::Checked);
        QTest::mouseClick(states->findChild<QPushButton *>(QStringLiteral("cmd_ok")), Qt::LeftButton);
    });
    withEditor("cmd_alphabets", [&](QDialog *alphabet) {
        addEach(alphabet, {"1", "0"});
        QTest::mouseClick(alphabet->findChild<QPushButton *>(QStringLiteral("cmd_ok")), Qt::LeftButton);
    });
    withEditor("cmd_sstate", [&](QDialog *chooser) {
        chooser->findChild<QComboBox *>(QStringLiteral("com_start"))->setCurrentIndex(0);
        QTest::mouseClick(chooser->findChild<QPushButton *>(QStringLiteral("cmd_ok")), Qt::LeftButton);
    });
    // Odd number of 1s; a 0 keeps the state through an empty cell.
    withEditor("cmd_ttable", [&](QDialog *dialog) {
        auto *table = static_cast<frm_ttable *>(dialog);
        auto *grid = table->findChild<QTableView *>(QStringLiteral("table"));
        table->setCurrentCell(1, 1);
        QTest::keyClicks(grid, QStringLiteral("odd"));
        table->setCurrentCell(2, 1);
        QTest::keyClicks(grid, QStringLiteral("evem"));
        QTest::keyClick(grid, Qt::Key_Backspace);
        QTest::keyClick(grid, Qt::Key_N);
        table->close();
    });
    QVERIFY(!model.is_saved);
    QVERIFY(m_dialogs.allAnswered());

    window.findChild<QComboBox *>(QStringLiteral("com_speed"))->setCurrentIndex(2);
    QCOMPARE(run("1"), QStringLiteral("ACCEPTED odd Successfully completed"));
    QCOMPARE(run("1001"), QStringLiteral("REJECTED even Successfully completed"));
    QCOMPARE(run("10101"), QStringLiteral("ACCEPTED odd Successfully completed"));
    QCOMPARE(run(""), QStringLiteral("REJECTED even Successfully completed"));
    QCOMPARE(run("1021"), QStringLiteral("ERROR odd Invalid alphabet '2'"));

    // The same automaton, one tick at a time.
    window.findChild<QComboBox *>(QStringLiteral("com_speed"))->setCurrentIndex(0);
    window.findChild<QLineEdit *>(QStringLiteral("txt_input"))->setText(QStringLiteral("110"));
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmd_play")), Qt::LeftButton);
    auto *timer = window.findChild<TickTimer *>(QStringLiteral("timer"));
    QStringList seen;
    while (timer->isEnabled()) {
        Q_EMIT timer->tick();
        seen << window.findChild<QLineEdit *>(QStringLiteral("txt_state"))->text();
    }
    QCOMPARE(seen, (QStringList{"odd", "even", "even", "even"}));
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("txt_output"))->text(), QStringLiteral("REJECTED"));
}

QTEST_MAIN(TestEndToEnd)
#include "test_end_to_end.moc"
