#include "document/tw_file.h"
#include "main_window_fixture.h"
#include "scripted_dialogs.h"
#include "test_automata.h"
#include "toolkit/layout_units.h"
#include "toolkit/tick_timer.h"
#include "windows/main/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTableView>
#include <QTimer>
#include <functional>

using LayoutUnits::fromPixels;
using LayoutUnits::toPixels;


class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freshStart();
    void boxes_data();
    void boxes();
    void editorsOpenModallyWithPlainLabels_data();
    void editorsOpenModallyWithPlainLabels();
    void statusShowsAFileNameAsItIs();
    void speedOptions();
    void resizeKeepsTheMinimumAndStretches();
    void fileCommandsThroughTheMenus();
    void closeAsksOnlyWithChanges();
    void buildThroughTheEditorsAndRun();
};

void TestMainWindow::freshStart()
{
    Fixture f;
    QCOMPARE(f.child<QComboBox>("com_speed")->currentText(), QStringLiteral("Normal (500 ms)"));
    QCOMPARE(f.enabled({"cmd_play", "cmd_pause", "com_speed", "txt_speed", "lbl_custom"}),
             QStringLiteral("cmd_play com_speed"));
    QCOMPARE(f.text("txt_input") + f.text("txt_output") + f.text("txt_state") + f.status(), QString());
    QVERIFY(f.model.is_untitled && f.model.is_saved && f.model.file_name == QStringLiteral("NoName"));
    QCOMPARE(QPoint(f.model.ttable_left, f.model.ttable_top), QPoint(fromPixels(f.window.x()), fromPixels(f.window.y())) + QPoint(1000, 1000));
}

void TestMainWindow::boxes_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("states");
    QTest::addColumn<int>("symbols");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("icon");

    const QString noStates = QStringLiteral("ERROR: Please add state(s) first.");
    const int error = int(Dialogs::Icon::Critical);
    QTest::newRow("Alphabets without states") << "cmd_alphabets" << 0 << 1 << noStates << error;
    QTest::newRow("Start State without states") << "cmd_sstate" << 0 << 1 << noStates << error;
    QTest::newRow("Table without symbols") << "cmd_ttable" << 2 << 0 << "ERROR: Please add alphabet(s) first." << error;
    QTest::newRow("Help") << "cmd_help" << 0 << 0 << "Help: God helps them that help themselves."
                          << int(Dialogs::Icon::None);
}

void TestMainWindow::boxes()
{
    QFETCH(QString, action);
    QFETCH(int, states);
    QFETCH(int, symbols);
    QFETCH(QString, box);
    QFETCH(int, icon);

    Fixture f;
    f.model.state_count = qint16(states);
    f.model.symbol_count = qint16(symbols);
    f.dialogs.answerMessage();
    bool opened = false; // a refused editor must not open: close it at once if it does
    QTimer::singleShot(0, &f.window, [&] {
        if (QWidget *modal = QApplication::activeModalWidget())
            opened = modal->close();
    });
    f.trigger(qPrintable(action));
    QVERIFY(!opened);
    QCOMPARE(f.dialogs.transcript(), QStringList{box});
    QCOMPARE(int(f.dialogs.lastCall().icon), icon);
}

void TestMainWindow::editorsOpenModallyWithPlainLabels_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("window");

    QTest::newRow("the main window itself") << "" << "frm_main";
    QTest::newRow("States") << "cmd_states" << "frm_states";
    QTest::newRow("Alphabets") << "cmd_alphabets" << "frm_alphabets";
    QTest::newRow("Start State") << "cmd_sstate" << "frm_sstate";
    QTest::newRow("Transition Table") << "cmd_ttable" << "frm_ttable";
    QTest::newRow("Comment") << "cmd_comment" << "frm_comment";
    QTest::newRow("About") << "cmd_about" << "frm_about";
}

// Each window opens modally over the main window; a label may show a name, a
// path or a reason, so no label of any window reads its text as markup.
void TestMainWindow::editorsOpenModallyWithPlainLabels()
{
    QFETCH(QString, action);
    QFETCH(QString, window);

    Fixture f;
    f.model = endsInA();
    QStringList seen;
    const auto look = [&](QWidget *w) {
        seen << QLatin1String(w->metaObject()->className());
        for (const QLabel *label : w->findChildren<QLabel *>())
            if (label->textFormat() != Qt::PlainText)
                seen << label->objectName();
    };
    if (action.isEmpty())
        look(&f.window);
    else
        f.withEditor(qPrintable(action), [&](QDialog *modal) {
            QVERIFY(modal && modal->parentWidget() == &f.window);
            look(modal);
            modal->close();
        });
    QCOMPARE(seen, QStringList{window});
}

void TestMainWindow::statusShowsAFileNameAsItIs()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a<br>b.tw"));
    QCOMPARE(TwFile::save(endsInA(), path).failure().message(), QString());
    Fixture f;
    f.window.fileCommands().openPath(path);
    const QLabel *status = f.child<QLabel>("sBar_text");
    QCOMPARE(QStringLiteral("%1 %2").arg(status->textFormat()).arg(status->text()),
             QStringLiteral("%1 File Opened : a<br>b.tw").arg(Qt::PlainText));
}

void TestMainWindow::speedOptions()
{
    Fixture f;
    f.model = endsInA();
    const auto speedControls = {"com_speed", "txt_speed", "lbl_custom"};
    f.click("opn_custom");
    QCOMPARE(f.enabled(speedControls), QStringLiteral("txt_speed lbl_custom"));
    QTest::keyClicks(f.child("txt_speed"), QStringLiteral("123456"));
    QCOMPARE(f.text("txt_speed"), QStringLiteral("1234")); // four characters at most
    QCOMPARE(f.child<TickTimer>("timer")->interval(), 0);  // takes effect at the next Play
    f.click("opn_presets");
    QCOMPARE(f.enabled(speedControls), QStringLiteral("com_speed"));
    f.click("cmd_play");
    QCOMPARE(f.child<TickTimer>("timer")->interval(), 500); // the greyed custom value is ignored
    f.click("opn_custom");
    f.click("cmd_play");
    QCOMPARE(f.child<TickTimer>("timer")->interval(), 1234);
}

// Layout units become whole pixels, so sizes hold to the pixel, not the unit.
void TestMainWindow::resizeKeepsTheMinimumAndStretches()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    auto widths = [&] {
        return QList<int>{f.child("txt_input")->width(), f.child("txt_state")->width(), f.child("pBar")->width()};
    };
    auto stretched = [&] { return QList<int>(3, toPixels(fromPixels(f.window.frameGeometry().width()) - 1500)); };
    f.window.resize(50, 50);
    QCOMPARE(f.window.frameGeometry().size(), QSize(toPixels(5000), toPixels(6200)));
    QCOMPARE(widths(), QList<int>(3, toPixels(3500)));
    f.window.resize(600, 500);
    const QRect output = f.child("txt_output")->geometry(), frame = f.child("fm1")->geometry();
    f.window.showMaximized();
    QTRY_COMPARE(widths(), stretched());
    QCOMPARE(f.child("txt_output")->geometry(), output); // nothing else moves
    QCOMPARE(f.child("fm1")->geometry(), frame);
}

// Save goes through Save As while untitled, New empties the input box and
// keeps the table window's place, Open keeps what the input box holds.
void TestMainWindow::fileCommandsThroughTheMenus()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ends.tw"));
    Fixture f;
    f.model = endsInA();
    f.model.is_saved = false;
    f.model.ttable_left = -40000; // a place far off screen stays through New

    f.dialogs.answerSaveFile(path);
    f.dialogs.answerMessage();
    f.trigger("cmd_save");
    const Dialogs::FileSettings &saveAs = f.dialogs.calls().constFirst().file;
    QCOMPARE(saveAs.initialName + u' ' + saveAs.filters.join(u',') + u' ' + saveAs.defaultSuffix + u' ' + f.status(),
             QStringLiteral("NoName All files (*.*),Automata (*.tw) tw File Saved : ends.tw"));
    QVERIFY(saveAs.confirmOverwrite && saveAs.selectedFilter == 1);

    f.child<QLineEdit>("txt_input")->setText(QStringLiteral("ab"));
    f.trigger("cmd_new");
    QCOMPARE(f.status() + u'|' + f.text("txt_input") + u'|' + QString::number(f.model.state_count), "New File||0");
    QCOMPARE(f.model.ttable_left, -40000);

    f.child<QLineEdit>("txt_input")->setText(QStringLiteral("ab"));
    f.dialogs.answerOpenFile(path);
    f.trigger("cmd_open");
    QCOMPARE(f.status() + u'|' + f.text("txt_input") + u'|' + QString::number(f.model.state_count),
             "File Opened : ends.tw|ab|2");
}

// Every close asks while there are changes; Cancel keeps the window.
void TestMainWindow::closeAsksOnlyWithChanges()
{
    Fixture f;
    f.model.is_saved = false;
    f.dialogs.answerMessage(Dialogs::Answer::Cancel);
    f.trigger("cmd_exit");
    QCOMPARE(f.dialogs.transcript(), QStringList{"Automata: Save changes to NoName"});
    QVERIFY(f.window.isVisible());
    f.model.is_saved = true;
    f.window.close();
    QVERIFY(!f.window.isVisible());
}

// An automaton built only through the editors, run at once and tick by tick.
void TestMainWindow::buildThroughTheEditorsAndRun()
{
    Fixture f;
    const auto addAndConfirm = [&](QDialog *editor, const QStringList &answers) {
        for (const QString &answer : answers) {
            f.dialogs.answerInput(answer);
            QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("cmd_add")), Qt::LeftButton);
        }
        if (auto *states = editor->findChild<QListWidget *>(QStringLiteral("lst_states")))
            states->item(1)->setCheckState(Qt::Checked);
        QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("cmd_ok")), Qt::LeftButton);
    };
    // An odd number of 1s; a 0 keeps the state through an empty cell.
    f.withEditor("cmd_states", [&](QDialog *states) { addAndConfirm(states, {"even", "odd"}); });
    f.withEditor("cmd_alphabets", [&](QDialog *alphabet) { addAndConfirm(alphabet, {"1", "0"}); });
    f.withEditor("cmd_sstate", [&](QDialog *chooser) { addAndConfirm(chooser, {}); });
    f.withEditor("cmd_ttable", [&](QDialog *dialog) {
        auto *grid = dialog->findChild<QTableView *>(QStringLiteral("table"));
        grid->setCurrentIndex(grid->model()->index(0, 0));
        QTest::keyClicks(grid, QStringLiteral("odd"));
        grid->setCurrentIndex(grid->model()->index(1, 0));
        QTest::keyClicks(grid, QStringLiteral("evem"));
        QTest::keyClick(grid, Qt::Key_Backspace);
        QTest::keyClick(grid, Qt::Key_N);
        dialog->close();
    });
    QVERIFY(!f.model.is_saved && f.dialogs.allAnswered());

    f.child<QComboBox>("com_speed")->setCurrentIndex(2);
    QCOMPARE(f.run("1001"), QStringLiteral("REJECTED even Successfully completed"));
    QCOMPARE(f.run("1021"), QStringLiteral("ERROR odd Invalid alphabet '2'"));
    // The input box has no length limit of its own.
    QCOMPARE(f.run(QString(40000, u'0') + u'1'), QStringLiteral("ACCEPTED odd Successfully completed"));

    // Tick by tick: three steps, then the verdict; Pause holds the run and Play.
    f.child<QComboBox>("com_speed")->setCurrentIndex(0);
    f.run(QStringLiteral("110"));
    f.click("cmd_pause");
    QCOMPARE(f.enabled({"cmd_play", "cmd_pause"}), QStringLiteral("cmd_pause"));
    f.click("cmd_pause");
    auto *timer = f.child<TickTimer>("timer");
    QStringList seen;
    while (timer->isEnabled() && seen.size() < 10) {
        Q_EMIT timer->tick();
        seen << f.text("txt_state") + u' ' + QString::number(f.child<QProgressBar>("pBar")->value());
    }
    QCOMPARE(seen, (QStringList{"odd 2", "even 3", "even 4", "even 0"}));
    QCOMPARE(f.text("txt_output") + u' ' + f.enabled({"cmd_play", "cmd_pause"}), QStringLiteral("REJECTED cmd_play"));
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
