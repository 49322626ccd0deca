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
    template <typename T>
    T *child(QObject *parent, const char *name) { return parent->findChild<T *>(QLatin1String(name)); }

    // Chooses `action` and, once its modal window is up, lets `use` work in it.
    void withEditor(const char *action, const std::function<void(QDialog *)> &use)
    {
        bool reached = false;
        QTimer::singleShot(0, m_window, [&] {
            reached = true;
            use(qobject_cast<QDialog *>(QApplication::activeModalWidget()));
        });
        child<QAction>(m_window, action)->trigger();
        QVERIFY(reached && !QApplication::activeModalWidget());
    }

    // Adds each answer through the editor's Add button, then presses OK.
    void addEachAndConfirm(QDialog *editor, const QStringList &answers)
    {
        for (const QString &answer : answers) {
            m_dialogs.answerInput(answer);
            QTest::mouseClick(child<QPushButton>(editor, "cmd_add"), Qt::LeftButton);
        }
        if (auto *states = child<QListWidget>(editor, "lst_states"))
            states->item(1)->setCheckState(Qt::Checked);
        QTest::mouseClick(child<QPushButton>(editor, "cmd_ok"), Qt::LeftButton);
    }

    QString run(const QString &input)
    {
        child<QLineEdit>(m_window, "txt_input")->setText(input);
        QTest::mouseClick(child<QPushButton>(m_window, "cmd_play"), Qt::LeftButton);
        return child<QLineEdit>(m_window, "txt_output")->text() + u' ' + child<QLineEdit>(m_window, "txt_state")->text()
            + u' ' + child<QLabel>(m_window, "sBar_text")->text();
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

    // An odd number of 1s; a 0 keeps the state through an empty cell.
    withEditor("cmd_states", [&](QDialog *states) { addEachAndConfirm(states, {"even", "odd"}); });
    withEditor("cmd_alphabets", [&](QDialog *alphabet) { addEachAndConfirm(alphabet, {"1", "0"}); });
    withEditor("cmd_sstate", [&](QDialog *chooser) {
        QTest::mouseClick(child<QPushButton>(chooser, "cmd_ok"), Qt::LeftButton);
    });
    withEditor("cmd_ttable", [&](QDialog *dialog) {
        auto *table = static_cast<frm_ttable *>(dialog);
        auto *grid = child<QTableView>(table, "table");
        table->setCurrentCell(1, 1);
        QTest::keyClicks(grid, QStringLiteral("odd"));
        table->setCurrentCell(2, 1);
        QTest::keyClicks(grid, QStringLiteral("evem"));
        QTest::keyClick(grid, Qt::Key_Backspace);
        QTest::keyClick(grid, Qt::Key_N);
        table->close();
    });
    QVERIFY(!model.is_saved && m_dialogs.allAnswered());

    child<QComboBox>(&window, "com_speed")->setCurrentIndex(2);
    QCOMPARE(run("1"), QStringLiteral("ACCEPTED odd Successfully completed"));
    QCOMPARE(run("1001"), QStringLiteral("REJECTED even Successfully completed"));
    QCOMPARE(run("10101"), QStringLiteral("ACCEPTED odd Successfully completed"));
    QCOMPARE(run("1021"), QStringLiteral("ERROR odd Invalid alphabet '2'"));

    // The same automaton, one tick at a time: three steps, then the verdict.
    child<QComboBox>(&window, "com_speed")->setCurrentIndex(0);
    run(QStringLiteral("110"));
    auto *timer = child<TickTimer>(&window, "timer");
    QStringList seen;
    while (timer->isEnabled() && seen.size() < 10) {
        Q_EMIT timer->tick();
        seen << child<QLineEdit>(&window, "txt_state")->text();
    }
    QCOMPARE(seen, (QStringList{"odd", "even", "even", "even"}));
    QCOMPARE(child<QLineEdit>(&window, "txt_output")->text(), QStringLiteral("REJECTED"));
}

QTEST_MAIN(TestEndToEnd)
#include "test_end_to_end.moc"
