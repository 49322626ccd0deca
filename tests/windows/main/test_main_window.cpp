#include "analysis/dot_text.h"
#include "diagram_probe.h"
#include "document/tw_file.h"
#include "main_window_fixture.h"
#include "scripted_dialogs.h"
#include "test_automata.h"
#include "toolkit/layout_units.h"
#include "toolkit/tick_timer.h"
#include "windows/diagram/diagram_window.h"
#include "windows/diagram/graphviz_layout.h"
#include "windows/guide/guide_window.h"
#include "windows/main/frm_main.h"
#include "windows/tools/string_table.h"
#include "windows/tools/test_strings_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTextBlock>
#include <QTextBrowser>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSignalSpy>
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
    void viewMenuShowsAndHidesTheDiagram();
    void diagramRedrawsAfterEachChange_data();
    void diagramRedrawsAfterEachChange();
    void diagramFollowsTheRun_data();
    void diagramFollowsTheRun();
    void newOpenAndPlayClearTheRun_data();
    void newOpenAndPlayClearTheRun();
    void diagramFollowsStepsBack();
    void chosenRowPathOnTheDiagram();
    void missingGraphvizLeavesTheRunAlone();
    void windowsOpenBesideTheMainWindow_data();
    void windowsOpenBesideTheMainWindow();
    void guideInsideTheProgram();
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

// View sits between Edit and Tools; its Diagram item and F4 show and hide the
// Diagram window, and the item's check follows the window however it closes.
void TestMainWindow::viewMenuShowsAndHidesTheDiagram()
{
    Fixture f;
    QStringList menus;
    for (const QAction *menu : f.window.menuBar()->actions())
        menus << menu->text();
    QCOMPARE(menus.join(u','), QStringLiteral("&File,&Edit,&View,&Tools,&Help"));
    auto *item = f.child<QAction>("cmd_diagram");
    QCOMPARE(item->text() + u' ' + item->shortcut().toString(), QStringLiteral("&Diagram F4"));
    DiagramWindow *diagram = f.diagram();
    QVERIFY(item->isCheckable() && !item->isChecked() && !diagram->isVisible()); // closed at start
    QCOMPARE(diagram->windowTitle(), QStringLiteral("Diagram"));
    QVERIFY(diagram->isWindow() && diagram->parentWidget() == &f.window && !diagram->isModal());

    const auto shown = [&] { return QStringLiteral("%1 %2").arg(diagram->isVisible()).arg(item->isChecked()); };
    f.trigger("cmd_diagram");
    QCOMPARE(shown(), QStringLiteral("1 1"));
    f.trigger("cmd_diagram");
    QCOMPARE(shown(), QStringLiteral("0 0"));
    f.trigger("cmd_diagram");
    diagram->close(); // its own close box
    QCOMPARE(shown(), QStringLiteral("0 0"));

    // F4 from the main window opens it, and from the Diagram window closes it.
    QApplication::setActiveWindow(&f.window);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QTest::keyClick(&f.window, Qt::Key_F4);
    QCOMPARE(shown(), QStringLiteral("1 1"));
    QApplication::setActiveWindow(diagram);
    QVERIFY(QTest::qWaitForWindowActive(diagram));
    QTest::keyClick(diagram, Qt::Key_F4);
    QCOMPARE(shown(), QStringLiteral("0 0"));

    // It goes with the main window.
    f.trigger("cmd_diagram");
    f.window.close();
    QCOMPARE(shown(), QStringLiteral("0 0"));
}

// Every change that reaches the model redraws the diagram from the model as it
// now is; an editor still open or cancelled leaves the drawing as it was.
void TestMainWindow::diagramRedrawsAfterEachChange_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("button"); // the editor's button that ends it; empty: its close box
    QTest::addColumn<int>("redraws");

    QTest::newRow("States OK") << "cmd_states" << "cmd_ok" << 1;
    QTest::newRow("States Cancel") << "cmd_states" << "cmd_cancel" << 0;
    QTest::newRow("Alphabets OK") << "cmd_alphabets" << "cmd_ok" << 1;
    QTest::newRow("Start State OK") << "cmd_sstate" << "cmd_ok" << 1;
    QTest::newRow("Transition Table closed") << "cmd_ttable" << "" << 1;
    QTest::newRow("Comment closed") << "cmd_comment" << "" << 1;
    QTest::newRow("New") << "cmd_new" << "" << 1;
    QTest::newRow("Open") << "cmd_open" << "" << 1;
}

void TestMainWindow::diagramRedrawsAfterEachChange()
{
    QFETCH(QString, action);
    QFETCH(QString, button);
    QFETCH(int, redraws);

    Fixture f;
    f.openDiagramOn(QStringLiteral("contains-a-one"));
    const QStringList before = f.layout.requests;
    QSignalSpy drawn(f.diagram(), &DiagramWindow::drawn);
    if (action == QLatin1String("cmd_new")) {
        f.trigger("cmd_new");
    } else if (action == QLatin1String("cmd_open")) {
        f.dialogs.answerOpenFile(examplePath(QStringLiteral("divisible-by-3")));
        f.trigger("cmd_open");
    } else {
        f.withEditor(qPrintable(action), [&](QDialog *editor) {
            if (action == QLatin1String("cmd_states") || action == QLatin1String("cmd_alphabets")) {
                f.dialogs.answerInput(action == QLatin1String("cmd_states") ? QStringLiteral("added") : QStringLiteral("2"));
                QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("cmd_add")), Qt::LeftButton);
            }
            QCOMPARE(f.layout.requests, before); // nothing reached the model yet
            if (button.isEmpty())
                editor->close();
            else
                QTest::mouseClick(editor->findChild<QPushButton *>(button), Qt::LeftButton);
        });
    }
    QVERIFY(f.dialogs.allAnswered());
    // The drawing asked for is of the model as it now is (New has no states:
    // nothing to lay out, and the window says so).
    if (f.layout.requests.size() > before.size()) {
        QCOMPARE(f.layout.requests.last(), DotText::dotText(f.model));
        f.layout.answer(action == QLatin1String("cmd_open") ? QStringLiteral("divisible-by-3") : QStringLiteral("contains-a-one"));
    } else if (f.model.state_count == 0) {
        QCOMPARE(f.diagram()->notice(), QStringLiteral("The automaton has no states to draw."));
    }
    QCOMPARE(drawn.count(), redraws);
}

// A run seen on the diagram of contains-a-one: the highlight after Play and
// after each tick, and the trace under the drawing at the end.
void TestMainWindow::diagramFollowsTheRun_data()
{
    QTest::addColumn<int>("speed"); // the preset: 0 is Slow, 2 RealTime (0 ms)
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("highlights");
    QTest::addColumn<QString>("trace");

    const QString no = QStringLiteral("no 1 yet"), seen = QStringLiteral("seen a 1"), arrow = QStringLiteral(" \u2192 ");
    QTest::newRow("ACCEPTED, tick by tick")
        << 0 << "01"
        << QStringList{no + "=Current", no + "=Current, " + no + "~" + no, seen + "=Current, " + no + ">" + seen,
                       seen + "=Accepted"}
        << "Run ended: ACCEPTED    Read: 01    Input box:     States: " + no + arrow + no + arrow + seen;
    QTest::newRow("REJECTED") << 0 << "0" << QStringList{no + "=Current", no + "=Current, " + no + "~" + no, no + "=Rejected"}
                              << "Run ended: REJECTED    Read: 0    Input box:     States: " + no + arrow + no;
    QTest::newRow("ERROR at a character outside the alphabet, where the run stopped")
        << 0 << "1x0" << QStringList{no + "=Current", seen + "=Current, " + no + ">" + seen, seen + "=Rejected"}
        << "Run ended: ERROR    Read: 1    Input box: x0    States: " + no + arrow + seen;
    QTest::newRow("0 ms: only the end") << 2 << "0010" << QStringList{seen + "=Accepted"}
                                        << "Read: 0010    End state: " + seen;
    QTest::newRow("0 ms, ERROR") << 2 << "01x1" << QStringList{seen + "=Rejected"} << "Read: 01    End state: " + seen;
}

void TestMainWindow::diagramFollowsTheRun()
{
    QFETCH(int, speed);
    QFETCH(QString, input);
    QFETCH(QStringList, highlights);
    QFETCH(QString, trace);

    Fixture f;
    f.openDiagramOn(QStringLiteral("contains-a-one"));
    f.diagram()->resize(1200, f.diagram()->height());   // room for the whole trace
    f.child<QComboBox>("com_speed")->setCurrentIndex(speed);
    f.child<QLineEdit>("txt_input")->setText(input);
    f.click("cmd_play");
    auto *timer = f.child<TickTimer>("timer");
    QStringList seen{f.highlight()};
    while (timer->isEnabled() && seen.size() < 10) {
        Q_EMIT timer->tick();
        seen << f.highlight();
    }
    QCOMPARE(seen, highlights);
    QCOMPARE(f.diagram()->trace(), trace);
}

// A timed run of contains-a-one on "011" stands in "seen a 1" after two ticks;
// then one action, and what the diagram shows of the run.
void TestMainWindow::newOpenAndPlayClearTheRun_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("highlight");
    QTest::addColumn<QString>("trace");

    const QString arrow = QStringLiteral(" \u2192 ");
    const QString standing = QStringLiteral("seen a 1=Current, no 1 yet>seen a 1");
    const QString traced = "Read: 01    Input box: 1    States: no 1 yet" + arrow + "no 1 yet" + arrow + "seen a 1";
    QTest::newRow("Pause keeps it, and says so") << "cmd_pause" << standing << "Paused    " + traced;
    QTest::newRow("an editor's close redraws and keeps it") << "cmd_comment" << standing << traced;
    QTest::newRow("the next Play clears it") << "cmd_play" << "no 1 yet=Current"
                                             << "Read:     Input box: 1    States: no 1 yet";
    QTest::newRow("New clears it") << "cmd_new" << "" << "";
    QTest::newRow("Open clears it") << "cmd_open" << "" << "";
}

void TestMainWindow::newOpenAndPlayClearTheRun()
{
    QFETCH(QString, action);
    QFETCH(QString, highlight);
    QFETCH(QString, trace);

    Fixture f;
    f.openDiagramOn(QStringLiteral("contains-a-one"));
    f.child<QComboBox>("com_speed")->setCurrentIndex(0);
    f.run(QStringLiteral("011"));
    auto *timer = f.child<TickTimer>("timer");
    Q_EMIT timer->tick();
    Q_EMIT timer->tick();
    if (action == QLatin1String("cmd_comment")) {
        f.withEditor("cmd_comment", [](QDialog *editor) { editor->close(); });
        f.layout.answer(QStringLiteral("contains-a-one"));
    } else if (action == QLatin1String("cmd_open")) {
        // ends-in-a has a state where the run stands: it would show a highlight left over.
        f.dialogs.answerOpenFile(examplePath(QStringLiteral("ends-in-a")));
        f.trigger("cmd_open");
        f.layout.answer(QStringLiteral("ends-in-a"));
    } else if (action == QLatin1String("cmd_new")) {
        f.trigger("cmd_new");
    } else {
        f.click(qPrintable(action));
    }
    QCOMPARE(f.highlight(), highlight);
    QCOMPARE(f.diagram()->trace(), trace);
}

// Step takes contains-a-one through "01" to its verdict, one Step more does
// nothing, and Step Back takes it all back: the diagram and its trace follow
// each way. A string typed after the end is a new run for Step.
void TestMainWindow::diagramFollowsStepsBack()
{
    Fixture f;
    f.openDiagramOn(QStringLiteral("contains-a-one"));
    f.diagram()->resize(1200, f.diagram()->height());   // room for the whole trace
    auto *input = f.child<QLineEdit>("txt_input");
    input->setText(QStringLiteral("01"));
    const auto shown = [&] {
        const QString highlight = f.highlight();   // waits for the repaint that shows the trace too
        return highlight + QStringLiteral(" | ") + f.diagram()->trace();
    };
    QStringList seen;
    for (int i = 0; i < 4; ++i) {
        f.trigger("cmd_step");
        seen << shown();
    }
    for (int i = 0; i < 3; ++i) {
        f.trigger("cmd_step_back");
        seen << shown();
    }
    for (int i = 0; i < 3; ++i)
        f.trigger("cmd_step");
    input->setFocus();
    QTest::keyClicks(input, QStringLiteral("1"));
    f.trigger("cmd_step");
    seen << shown();

    const QString arrow = QStringLiteral(" \u2192 ");
    const QString no = QStringLiteral("no 1 yet"), yes = QStringLiteral("seen a 1");
    const QString afterZero = "Read: 0    Input box: 1    States: " + no + arrow + no;
    const QString afterOne = "Read: 01    Input box:     States: " + no + arrow + no + arrow + yes;
    const QString paused = QStringLiteral("Paused    "), ended = QStringLiteral("Run ended: ACCEPTED    ");
    QCOMPARE(seen, (QStringList{
                       no + "=Current, " + no + "~" + no + " | " + paused + afterZero,
                       yes + "=Current, " + no + ">" + yes + " | " + paused + afterOne,
                       yes + "=Accepted | " + ended + afterOne,
                       yes + "=Accepted | " + ended + afterOne,
                       yes + "=Current | " + paused + afterOne,
                       no + "=Current | " + paused + afterZero,
                       no + "=Current | " + paused + "Read:     Input box: 01    States: " + no,
                       yes + "=Current, " + no + ">" + yes + " | " + paused + "Read: 1    Input box:     States: " + no
                           + arrow + yes,
                   }));
    QCOMPARE(f.status(), QStringLiteral("Running ..."));
}

// The path of the row chosen in Test Strings shows under its table and on the
// diagram once the row has run, and goes when the row changes or Open List
// puts another list in its place.
void TestMainWindow::chosenRowPathOnTheDiagram()
{
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("list.txt"));
    QFile write(list);
    QVERIFY(write.open(QIODevice::WriteOnly));
    write.write("1\n");
    write.close();

    Fixture f;
    f.openDiagramOn(QStringLiteral("contains-a-one"));
    f.trigger("cmd_test_strings");
    auto *strings = f.window.findChild<TestStringsWindow *>();
    strings->paste(QStringLiteral("01"));
    strings->view().setCurrentIndex(strings->table().index(0, 0));
    const auto shown = [&] { return strings->pathText() + u'|' + f.highlight(); };
    QStringList seen{shown()};
    strings->runAll();
    seen << shown();
    strings->table().setData(strings->table().index(0, 0), QStringLiteral("1"), Qt::EditRole);
    seen << shown();
    strings->runAll();
    f.dialogs.answerMessage(Dialogs::Answer::Yes);
    f.dialogs.answerOpenFile(list);
    strings->openList();
    seen << shown();
    const QString no = QStringLiteral("no 1 yet"), yes = QStringLiteral("seen a 1");
    QCOMPARE(seen, (QStringList{"|", "Path: " + no + " -0-> " + no + " -1-> " + yes + "  ACCEPTED|" + no + "=Current, "
                                         + yes + "=Accepted, " + no + "~" + no + ", " + no + ">" + yes,
                                "|", "|"}));
    QVERIFY(f.dialogs.allAnswered());
}

// Without Graphviz the Diagram window says so and the main window runs as ever.
void TestMainWindow::missingGraphvizLeavesTheRunAlone()
{
    GraphvizLayout missing(nullptr, {QStringLiteral("/nonexistent/dot"), QStringLiteral("/nonexistent/sfdp")});
    Fixture f(&missing);
    f.trigger("cmd_diagram");
    f.window.fileCommands().openPath(examplePath(QStringLiteral("contains-a-one")));
    QTRY_COMPARE(f.diagram()->notice(), QStringLiteral("Graphviz's dot could not be run: execvp: No such file or directory"));
    f.child<QComboBox>("com_speed")->setCurrentIndex(2);
    QCOMPARE(f.run(QStringLiteral("0010")), QStringLiteral("ACCEPTED seen a 1 Successfully completed"));
    QCOMPARE(f.dialogs.transcript(), QStringList());
    QTRY_COMPARE(f.diagram()->trace(), QStringLiteral("Read: 0010    End state: seen a 1"));
}

void TestMainWindow::windowsOpenBesideTheMainWindow_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("window");   // a window of its own, by name; "" for a modal one

    QTest::newRow("Diagram") << "cmd_diagram" << "frm_diagram";
    QTest::newRow("Test Strings") << "cmd_test_strings" << "frm_test_strings";
    QTest::newRow("Guide") << "cmd_guide" << "frm_guide";
    QTest::newRow("Check Automaton") << "cmd_check" << "";
    QTest::newRow("Compare") << "cmd_compare" << "";
    QTest::newRow("Accepted Strings") << "cmd_accepted" << "";
    QTest::newRow("New From Expression") << "cmd_from_expression" << "";
}

// With the main window in the screen's corner there is room beside it: each
// window opens there, clear of it. Moved and made smaller (inside the place it
// had), then closed (with the main window, for one of its own), it opens so at
// the next start of the program.
void TestMainWindow::windowsOpenBesideTheMainWindow()
{
    QFETCH(QString, action);
    QFETCH(QString, window);
    QSettings().clear();
    QRect left; // where the window was left, as the user moved and sized it
    const auto open = [&](Fixture &f, int changeBy) {
        f.window.move(f.window.screen()->availableGeometry().topLeft());
        f.model.takeAutomaton(endsInA());
        if (action == QStringLiteral("cmd_compare"))
            f.dialogs.answerOpenFile(examplePath(QStringLiteral("ends-in-a")));
        QRect frame;
        const auto look = [&](QWidget *opened) {
            frame = opened->frameGeometry();
            opened->move(opened->pos() + QPoint(changeBy, changeBy));
            opened->resize(opened->size() - 2 * QSize(changeBy, changeBy));
            // A short report's window may already be as low as it can be.
            left = opened->frameGeometry();
            // A window of its own goes with the main window, a modal one by itself.
            if (window.isEmpty())
                opened->close();
            else
                f.window.close();
        };
        if (window.isEmpty()) {
            f.withEditor(qPrintable(action), [&](QDialog *modal) { look(modal); });
        } else {
            f.trigger(qPrintable(action));
            look(f.child(qPrintable(window)));
        }
        return frame;
    };
    QRect first;
    {
        Fixture f;
        first = open(f, 10);
        const QRect screen = f.window.screen()->availableGeometry();
        QCOMPARE(QStringLiteral("%1, %2")
                     .arg(first.intersects(f.window.frameGeometry()) ? "over the main window" : "clear of it",
                          screen.contains(first) ? "on the screen" : "off it"),
                 "clear of it, on the screen");
    }
    Fixture next;
    QCOMPARE(first.topLeft() + QPoint(10, 10), left.topLeft());
    const QRect wasLeft = left;
    QCOMPARE(open(next, 0), wasLeft);
}

// Help > Tarnwell Guide shows the guide, one window however often chosen, its
// sections offered to go to; every key of the windows is in it. F1 keeps its
// own answer (menuShortcuts).
void TestMainWindow::guideInsideTheProgram()
{
    Fixture f;
    QStringList items;
    for (const QAction *item : f.child<QMenu>("cmd_hlp")->actions())
        items << item->text();
    QCOMPARE(items.join(u'|'), "&Help|Tarnwell &Guide||&About");
    f.trigger("cmd_guide");
    f.trigger("cmd_guide");
    QCOMPARE(f.window.findChildren<GuideWindow *>().size(), 1);
    GuideWindow *guide = f.window.findChild<GuideWindow *>();
    QVERIFY(guide->isVisible() && guide->isWindow() && !guide->isModal());
    QCOMPARE(guide->windowTitle(), "Tarnwell Guide");
    QCOMPARE(guide->sections(),
             (QStringList{"Building and running an automaton", "Windows beside the main window", "The diagram",
                          "The Tools menu", "Grading against a solution", "Regular expressions", "JFLAP files",
                          "Testing a list of strings",
                          "Stepping through a run", "Undo and redo", "Keyboard", "Screen readers"}));
    guide->findChild<QComboBox *>()->setCurrentIndex(2);
    QCOMPARE(guide->text().textCursor().block().text(), "The diagram");

    const QString text = guide->text().toPlainText();
    f.trigger("cmd_test_strings");   // its keys too
    QStringList missing;
    for (const QAction *item : f.window.findChildren<QAction *>())
        for (const QKeySequence &keys : item->shortcuts())
            if (!text.contains(keys.toString()))
                missing << item->objectName() + u' ' + keys.toString();
    for (const QShortcut *key : f.window.findChildren<QShortcut *>())
        if (!text.contains(key->key().toString()))
            missing << key->objectName() + u' ' + key->key().toString();
    QCOMPARE(missing.join(u'|'), QString());
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
