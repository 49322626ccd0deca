#include "scripted_dialogs.h"
#include "test_automata.h"
#include "toolkit/layout_units.h"
#include "toolkit/tick_timer.h"
#include "windows/main/frm_main.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using LayoutUnits::fromPixels;
using LayoutUnits::toPixels;

namespace {

// One main window over its own model, with scripted boxes.
struct Fixture
{
    modAll model;
    ScriptedDialogs dialogs;
    frm_main window{model, &dialogs};

    template <typename T>
    T *child(const char *name) const
    {
        T *found = window.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QLineEdit *text(const char *name) const { return child<QLineEdit>(name); }
    QPushButton *button(const char *name) const { return child<QPushButton>(name); }
    QString status() const { return child<QLabel>("sBar_text")->text(); }
    TickTimer *timer() const { return child<TickTimer>("timer"); }
    void trigger(const char *action) { child<QAction>(action)->trigger(); }
    void tick() { Q_EMIT timer()->tick(); }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freshStart();
    void menus_data();
    void menus();
    void editGuards_data();
    void editGuards();
    void help();
    void editorsOpenModallyOverTheWindow_data();
    void editorsOpenModallyOverTheWindow();
    void speedOptions();
    void timedRunThroughTheWindow();
    void pauseAndResumeThroughTheButtons();
    void realTimeRunIsImmediate();
    void inputBoxHasNoLengthLimit();
    void resizeKeepsTheMinimumAndStretches();
    void newFileKeepsTheTableWindowPosition();
    void exitClosesTheWindow();
    void fileCommandsThroughTheMenus();
    void closeWithChangesAsksFirst_data();
    void closeWithChangesAsksFirst();
};

void TestMainWindow::freshStart()
{
    Fixture f;
    f.model.state_count = 3; // the constructor's Load resets whatever was there
    Fixture fresh;
    QCOMPARE(fresh.window.windowTitle(), QStringLiteral("Tarnwell"));
    QVERIFY(!fresh.window.windowIcon().isNull());
    QCOMPARE(fresh.child<QComboBox>("com_speed")->currentText(), QStringLiteral("Normal (500 ms)"));
    QVERIFY(fresh.child<QRadioButton>("opn_presets")->isChecked());
    QVERIFY(!fresh.text("txt_speed")->isEnabled());
    QVERIFY(!fresh.child<QLabel>("lbl_custom")->isEnabled());
    QVERIFY(!fresh.button("cmd_pause")->isEnabled());
    QVERIFY(fresh.button("cmd_play")->isEnabled());
    for (const char *name : {"txt_input", "txt_output", "txt_state"})
        QCOMPARE(fresh.text(name)->text(), QString());
    QCOMPARE(fresh.status(), QString());
    QVERIFY(!fresh.timer()->isEnabled());
    QCOMPARE(fresh.timer()->interval(), 0);

    const modAll &m = fresh.model;
    QCOMPARE(m.file_name, QStringLiteral("NoName"));
    QVERIFY(m.is_untitled && m.is_saved);
    QCOMPARE(m.state_count, qint16(0));
    QCOMPARE(m.symbol_count, qint16(0));
    QCOMPARE(m.start_state, qint16(0));
    QCOMPARE(m.ttable_left, fromPixels(fresh.window.x()) + 1000);
    QCOMPARE(m.ttable_top, fromPixels(fresh.window.y()) + 1000);
}

void TestMainWindow::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("captions");

    QTest::newRow("File") << "cmd_file" << QStringList{"&New", "&Open", "&Save", "Save &As", "E&xit"};
    QTest::newRow("Edit") << "cmd_edit"
                          << QStringList{"&States", "&Alphabets", "Sta&rt State", "&Transition Table", "-", "&Comment"};
    QTest::newRow("Help") << "cmd_hlp" << QStringList{"&Help", "-", "&About"};
}

void TestMainWindow::menus()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, captions);
    Fixture f;
    QStringList shown;
    for (const QAction *action : f.window.findChild<QMenu *>(menu)->actions()) {
        shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QVERIFY(action->shortcut().isEmpty());
    }
    QCOMPARE(shown, captions);
}

void TestMainWindow::editGuards_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("states");
    QTest::addColumn<int>("symbols");
    QTest::addColumn<QString>("refusal");

    const QString noStates = QStringLiteral("Please add state(s) first.");
    const QString noSymbols = QStringLiteral("Please add alphabet(s) first.");
    QTest::newRow("Alphabets without states") << "cmd_alphabets" << 0 << 1 << noStates;
    QTest::newRow("Start State without states") << "cmd_sstate" << 0 << 1 << noStates;
    QTest::newRow("Table without states or symbols") << "cmd_ttable" << 0 << 0 << noStates;
    QTest::newRow("Table without symbols") << "cmd_ttable" << 2 << 0 << noSymbols;
}

void TestMainWindow::editGuards()
{
    QFETCH(QString, action);
    QFETCH(int, states);
    QFETCH(int, symbols);
    QFETCH(QString, refusal);

    Fixture f;
    f.model.state_count = qint16(states);
    f.model.symbol_count = qint16(symbols);
    f.dialogs.answerMessage();
    f.window.findChild<QAction *>(action)->trigger();
    QCOMPARE(f.dialogs.calls().size(), 1);
    const ScriptedDialogs::Call &box = f.dialogs.lastCall();
    QCOMPARE(box.text, refusal);
    QCOMPARE(box.title, QStringLiteral("ERROR"));
    QCOMPARE(box.icon, Dialogs::Icon::Critical);
    QCOMPARE(box.buttons, Dialogs::Buttons::Ok);
    QCOMPARE(f.model.state_count, qint16(states));
}

void TestMainWindow::help()
{
    Fixture f;
    f.dialogs.answerMessage();
    f.trigger("cmd_help");
    QCOMPARE(f.dialogs.transcript(), QStringList{"Help: God helps them that help themselves."});
    QCOMPARE(f.dialogs.lastCall().icon, Dialogs::Icon::None);
}

void TestMainWindow::editorsOpenModallyOverTheWindow_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("window");

    QTest::newRow("States") << "cmd_states" << "frm_states";
    QTest::newRow("Alphabets") << "cmd_alphabets" << "frm_alphabets";
    QTest::newRow("Start State") << "cmd_sstate" << "frm_sstate";
    QTest::newRow("Transition Table") << "cmd_ttable" << "frm_ttable";
    QTest::newRow("Comment") << "cmd_comment" << "frm_comment";
    QTest::newRow("About") << "cmd_about" << "frm_about";
}

void TestMainWindow::editorsOpenModallyOverTheWindow()
{
    QFETCH(QString, action);
    QFETCH(QString, window);

    Fixture f;
    f.model = endsInA();
    f.window.show();
    QString opened;
    bool ownedByTheWindow = false;
    QTimer::singleShot(0, &f.window, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        opened = QLatin1String(modal->metaObject()->className());
        ownedByTheWindow = modal->parentWidget() == &f.window;
        modal->close();
    });
    f.window.findChild<QAction *>(action)->trigger();
    QCOMPARE(opened, window);
    QVERIFY(ownedByTheWindow);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestMainWindow::speedOptions()
{
    Fixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    auto *custom = f.child<QRadioButton>("opn_custom");
    auto *presets = f.child<QRadioButton>("opn_presets");
    QLineEdit *speed = f.text("txt_speed");

    QTest::mouseClick(custom, Qt::LeftButton);
    QVERIFY(custom->isChecked() && !presets->isChecked());
    QVERIFY(!f.child<QComboBox>("com_speed")->isEnabled());
    QVERIFY(speed->isEnabled() && f.child<QLabel>("lbl_custom")->isEnabled());
    QTest::keyClicks(speed, QStringLiteral("123456"));
    QCOMPARE(speed->text(), QStringLiteral("1234")); // at most four characters
    QCOMPARE(f.timer()->interval(), 0);             // takes effect at the next Play

    QTest::mouseClick(presets, Qt::LeftButton);
    QVERIFY(presets->isChecked() && !custom->isChecked());
    QVERIFY(f.child<QComboBox>("com_speed")->isEnabled());
    QVERIFY(!speed->isEnabled() && !f.child<QLabel>("lbl_custom")->isEnabled());
    QCOMPARE(speed->text(), QStringLiteral("1234")); // kept, greyed, ignored

    f.model = endsInA();
    QTest::mouseClick(f.button("cmd_play"), Qt::LeftButton);
    QCOMPARE(f.timer()->interval(), 500);
    QTest::mouseClick(custom, Qt::LeftButton);
    QTest::mouseClick(f.button("cmd_play"), Qt::LeftButton);
    QCOMPARE(f.timer()->interval(), 1234);
}

void TestMainWindow::timedRunThroughTheWindow()
{
    Fixture f;
    f.model = endsInA();
    f.window.show();
    QTest::keyClicks(f.text("txt_input"), QStringLiteral("abba"));
    QTest::mouseClick(f.button("cmd_play"), Qt::LeftButton);

    auto *bar = f.child<QProgressBar>("pBar");
    QCOMPARE(f.text("txt_output")->text(), QStringLiteral("PENDING"));
    QCOMPARE(f.status(), QStringLiteral("Running ..."));
    QCOMPARE(f.text("txt_state")->text(), QStringLiteral("q0"));
    QCOMPARE(bar->maximum(), 5);
    QCOMPARE(bar->value(), 1);
    QVERIFY(f.timer()->isEnabled() && f.button("cmd_pause")->isEnabled());

    const QStringList states{"q1", "q0", "q0", "q1"};
    for (int i = 0; i < 4; ++i) {
        f.tick();
        QCOMPARE(f.text("txt_state")->text(), states[i]);
        QCOMPARE(f.text("txt_input")->text(), QStringLiteral("abba").mid(i + 1));
        QCOMPARE(bar->value(), i + 2);
    }
    f.tick();
    QCOMPARE(f.text("txt_output")->text(), QStringLiteral("ACCEPTED"));
    QCOMPARE(f.status(), QStringLiteral("Successfully completed"));
    QCOMPARE(bar->value(), 0);
    QVERIFY(!f.timer()->isEnabled() && !f.button("cmd_pause")->isEnabled());
}

void TestMainWindow::pauseAndResumeThroughTheButtons()
{
    Fixture f;
    f.model = endsInA();
    f.window.show();
    f.text("txt_input")->setText(QStringLiteral("ab"));
    QTest::mouseClick(f.button("cmd_play"), Qt::LeftButton);
    f.tick();

    QTest::mouseClick(f.button("cmd_pause"), Qt::LeftButton);
    QVERIFY(!f.timer()->isEnabled() && !f.button("cmd_play")->isEnabled());
    QTest::mouseClick(f.button("cmd_play"), Qt::LeftButton); // disabled: nothing happens
    QCOMPARE(f.text("txt_state")->text(), QStringLiteral("q1"));

    QTest::mouseClick(f.button("cmd_pause"), Qt::LeftButton);
    QVERIFY(f.timer()->isEnabled() && f.button("cmd_play")->isEnabled());
    f.tick();
    f.tick();
    QCOMPARE(f.text("txt_output")->text(), QStringLiteral("REJECTED"));
}

void TestMainWindow::realTimeRunIsImmediate()
{
    Fixture f;
    f.model = endsInA();
    f.window.show();
    f.child<QComboBox>("com_speed")->setCurrentIndex(2);
    f.text("txt_input")->setText(QStringLiteral("bazb"));
    QTest::mouseClick(f.button("cmd_play"), Qt::LeftButton);
    QCOMPARE(f.text("txt_output")->text(), QStringLiteral("ERROR"));
    QCOMPARE(f.status(), QStringLiteral("Invalid alphabet 'z'"));
    QCOMPARE(f.text("txt_input")->text(), QStringLiteral("zb"));
    QCOMPARE(f.text("txt_state")->text(), QStringLiteral("q1"));
    QVERIFY(!f.timer()->isEnabled());
}

void TestMainWindow::inputBoxHasNoLengthLimit()
{
    Fixture f;
    f.model = endsInA();
    f.child<QComboBox>("com_speed")->setCurrentIndex(2);
    const QString longInput = QString(40000, QLatin1Char('b')) + QLatin1Char('a');
    f.text("txt_input")->setText(longInput);
    QCOMPARE(f.text("txt_input")->text().size(), longInput.size());
    QTest::mouseClick(f.button("cmd_play"), Qt::LeftButton);
    QCOMPARE(f.text("txt_output")->text(), QStringLiteral("ACCEPTED"));
}

void TestMainWindow::resizeKeepsTheMinimumAndStretches()
{
    Fixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    // Layout units become whole pixels, so sizes hold to within one pixel (15 units).
    auto outer = [&] { return f.window.frameGeometry().size(); };
    auto stretchedWidths = [&] {
        return QList<int>{f.text("txt_input")->width(), f.text("txt_state")->width(),
                          f.child<QProgressBar>("pBar")->width()};
    };
    auto expectedWidths = [&] { return QList<int>(3, toPixels(fromPixels(outer().width()) - 1500)); };

    f.window.resize(50, 50);
    QCOMPARE(outer(), QSize(toPixels(5000), toPixels(6200)));
    QCOMPARE(stretchedWidths(), QList<int>(3, toPixels(3500)));

    f.window.resize(600, 500);
    QVERIFY(outer().width() > toPixels(5000));
    QCOMPARE(stretchedWidths(), expectedWidths());
    const QRect outputPlace = f.text("txt_output")->geometry();
    const QRect frame = f.child<QWidget>("fm1")->geometry();

    f.window.showMaximized();
    QTRY_COMPARE(stretchedWidths(), expectedWidths());
    f.window.showMinimized();
    f.window.showNormal();
    QTRY_COMPARE(stretchedWidths(), expectedWidths());
    QCOMPARE(f.text("txt_output")->geometry(), outputPlace); // nothing else moves
    QCOMPARE(f.child<QWidget>("fm1")->geometry(), frame);
}

void TestMainWindow::newFileKeepsTheTableWindowPosition()
{
    Fixture f;
    f.model = endsInA();
    f.model.ttable_top = 77;
    f.model.ttable_left = -40000; // far off to the left: no overflow
    f.window.newFile();
    QCOMPARE(f.model.ttable_top, 77);
    QCOMPARE(f.model.ttable_left, -40000);
    QCOMPARE(f.model.state_count, qint16(0));
    QVERIFY(f.model.states.isEmpty() && f.model.symbols.isEmpty() && f.model.transitions.isEmpty());
}

void TestMainWindow::exitClosesTheWindow()
{
    Fixture f;
    f.window.show();
    f.trigger("cmd_exit");
    QVERIFY(!f.window.isVisible());
}

void TestMainWindow::fileCommandsThroughTheMenus()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ends.tw"));
    Fixture f;
    f.window.show();
    f.model = endsInA();
    f.model.is_saved = false;

    f.dialogs.answerSaveFile(path);
    f.dialogs.answerMessage();
    f.trigger("cmd_save"); // untitled: goes through Save As
    QCOMPARE(f.dialogs.transcript(), (QStringList{"Save As: ", "OK: File is saved."}));
    QCOMPARE(f.dialogs.calls().constFirst().file.initialName, QStringLiteral("NoName"));
    QCOMPARE(f.status(), QStringLiteral("File Saved : ends.tw"));
    QVERIFY(f.model.is_saved && !f.model.is_untitled);

    f.text("txt_input")->setText(QStringLiteral("ab"));
    f.dialogs.clear();
    f.trigger("cmd_new");
    QCOMPARE(f.status(), QStringLiteral("New File"));
    QCOMPARE(f.text("txt_input")->text(), QString());
    QCOMPARE(f.model.state_count, qint16(0));

    f.text("txt_input")->setText(QStringLiteral("ab"));
    f.dialogs.answerOpenFile(path);
    f.trigger("cmd_open");
    QCOMPARE(f.status(), QStringLiteral("File Opened : ends.tw"));
    QCOMPARE(f.model.state_count, qint16(2));
    QCOMPARE(f.text("txt_input")->text(), QStringLiteral("ab")); // the other displays keep what they show
    QVERIFY(f.dialogs.allAnswered());
}

void TestMainWindow::closeWithChangesAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::newRow("Cancel keeps the window") << int(Dialogs::Answer::Cancel) << false;
    QTest::newRow("No closes") << int(Dialogs::Answer::No) << true;
}

void TestMainWindow::closeWithChangesAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(bool, closed);
    Fixture f;
    f.window.show();
    f.model.is_saved = false;
    f.dialogs.answerMessage(Dialogs::Answer(answer));
    f.trigger("cmd_exit");
    QCOMPARE(f.dialogs.transcript(), QStringList{"Automata: Save changes to NoName"});
    QCOMPARE(f.window.isVisible(), !closed);
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
