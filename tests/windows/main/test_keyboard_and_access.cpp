#include "main_window_fixture.h"
#include "test_automata.h"
#include "toolkit/tick_timer.h"
#include "windows/main/frm_main.h"
#include "windows/tools/string_table.h"
#include "windows/tools/test_strings_window.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTestAccessibility>
#include <QTimer>
#include <functional>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace {

// The main window made active, since keys reach only the active window.
struct ActiveFixture : Fixture
{
    ActiveFixture() { activate(&window); }
    // The offscreen platform activates a window only when asked (and a dialog
    // counts as active while its owner is).
    static void activate(QWidget *w)
    {
        w->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), w);
    }
    // withEditor with the editor active, and the main window active again after.
    void withActiveEditor(const char *action, const std::function<void(QDialog *)> &use)
    {
        withEditor(action, [&](QDialog *modal) {
            QVERIFY(modal);
            activate(modal);
            use(modal);
            if (modal->isVisible())   // a failed check left it open
                modal->hide();
        });
        activate(&window);
    }
    // Adds `names` in the states editor and confirms.
    void addStates(const QStringList &names)
    {
        withActiveEditor("cmd_states", [&](QDialog *editor) {
            for (const QString &name : names) {
                dialogs.answerInput(name);
                clickIn(editor, "cmd_add");
            }
            clickIn(editor, "cmd_ok");
        });
    }
    static void clickIn(QWidget *dialog, const char *button)
    {
        QTest::mouseClick(dialog->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
    }
};

// The focusable controls under `root` (a window) that a screen reader would
// announce without a name, by object name.
QStringList unnamedControls(QAccessibleInterface *root)
{
    QStringList unnamed;
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface *child = root->child(i);
        if (!child || !child->object() || !child->object()->isWidgetType())
            continue;   // an item of a list or grid reads as its own text
        if (child->role() == QAccessible::StaticText)
            continue;   // a line of text reads as that text, and an empty one has nothing to say
        if (child->state().focusable && !child->state().invisible && child->text(QAccessible::Name).isEmpty())
            unnamed << child->object()->objectName() + u':' + QLatin1String(child->object()->metaObject()->className());
        unnamed << unnamedControls(child);
    }
    return unnamed;
}

void forgetEvents()
{
    const QList<QAccessibleEvent *> events = QTestAccessibility::events();
    QTestAccessibility::clearEvents();
    qDeleteAll(events);
}

QString spokenName(QObject *control)
{
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}

} // namespace

class TestKeyboardAndAccess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Events reach the handler only while accessibility is on, as it is while a
        // screen reader is attached; Qt's platform layer is where that is switched.
        QTestAccessibility::initialize();
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    }
    // The events each test's windows sent are kept, as copies, until they are dropped.
    void cleanup() { forgetEvents(); }
    void cleanupTestCase()
    {
        forgetEvents();
        QTestAccessibility::cleanup();
    }
    void everyFocusableControlHasAName_data();
    void everyFocusableControlHasAName();
    void controlsAreNamedAfterTheirLabels_data();
    void controlsAreNamedAfterTheirLabels();
    void verdictAndStatusAreAnnounced();
    void gridCellsHaveRowAndColumnHeaders();
    void menuShortcuts_data();
    void menuShortcuts();
    void playAndPauseKeys();
    void f4OpensAFocusedList_data();
    void f4OpensAFocusedList();
    void ctrlWStoresAsTheCloseBoxDoes_data();
    void ctrlWStoresAsTheCloseBoxDoes();
    void undoAndRedoInTheWindow();
    void undoWaitsForEditorsAndRuns();
};

void TestKeyboardAndAccess::everyFocusableControlHasAName_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("window");   // a window beside the main one, by name; "" for a modal one
    QTest::addColumn<QString>("role");     // what a screen reader announces the window as

    QTest::newRow("main window") << "" << "" << "window";
    QTest::newRow("States") << "cmd_states" << "" << "dialog";
    QTest::newRow("Alphabets") << "cmd_alphabets" << "" << "dialog";
    QTest::newRow("Start State") << "cmd_sstate" << "" << "dialog";
    QTest::newRow("Transition Table") << "cmd_ttable" << "" << "dialog";
    QTest::newRow("Comment") << "cmd_comment" << "" << "dialog";
    QTest::newRow("About") << "cmd_about" << "" << "dialog";
    QTest::newRow("Check Automaton") << "cmd_check" << "" << "dialog";
    QTest::newRow("Accepted Strings") << "cmd_accepted" << "" << "dialog";
    QTest::newRow("Diagram") << "cmd_diagram" << "frm_diagram" << "window";
    QTest::newRow("Test Strings") << "cmd_test_strings" << "frm_test_strings" << "window";
    QTest::newRow("Guide") << "cmd_guide" << "frm_guide" << "window";
}

// Every window reads as a window or a dialog (not as a pane of another), and
// every control in it has a name.
void TestKeyboardAndAccess::everyFocusableControlHasAName()
{
    QFETCH(QString, action);
    QFETCH(QString, window);
    QFETCH(QString, role);
    ActiveFixture f;
    f.model.takeAutomaton(endsInA());
    QStringList unnamed{"(not walked)"};
    QString announced;
    const auto walk = [&](QWidget *top) {
        QAccessibleInterface *root = QAccessible::queryAccessibleInterface(top);
        const QAccessible::Role as = root->role();
        announced = as == QAccessible::Window ? "window" : as == QAccessible::Dialog ? "dialog" : QString::number(as);
        unnamed = unnamedControls(root);
    };
    if (action.isEmpty()) {
        walk(&f.window);
    } else if (!window.isEmpty()) {
        f.trigger(qPrintable(action));
        QWidget *beside = f.child(qPrintable(window));
        QVERIFY(beside->isVisible());
        ActiveFixture::activate(beside);
        walk(beside);
        beside->close();
    } else
        f.withActiveEditor(qPrintable(action), [&](QDialog *modal) {
            walk(modal);
            QVERIFY(QApplication::focusWidget() && QApplication::focusWidget()->window() == modal);
            modal->close();
        });
    QCOMPARE(announced + u':' + unnamed.join(u' '), role + u':');
}

void TestKeyboardAndAccess::controlsAreNamedAfterTheirLabels_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("toolTip");
    QTest::newRow("input") << "txt_input" << "Input String" << "";
    QTest::newRow("output") << "txt_output" << "Output" << "";
    QTest::newRow("state") << "txt_state" << "Current State" << "";
    QTest::newRow("progress") << "pBar" << "Progress" << "";
    QTest::newRow("play") << "cmd_play" << "Play" << "Play (F5)";
    QTest::newRow("pause") << "cmd_pause" << "Pause" << "Pause (F6)";
    QTest::newRow("custom") << "txt_speed" << "Custom speed, ms per transition" << "";
}

// The buttons keep their captions; what a screen reader says is their purpose.
void TestKeyboardAndAccess::controlsAreNamedAfterTheirLabels()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, toolTip);
    ActiveFixture f;
    QWidget *widget = f.child(qPrintable(control));
    QCOMPARE(spokenName(widget), name);
    QCOMPARE(widget->toolTip(), toolTip);
    QCOMPARE(f.child<QPushButton>("cmd_play")->text() + f.child<QPushButton>("cmd_pause")->text(), ">||");
}

// The verdict reaches assistive technology as a change of the output field,
// and the status as one of the status text, each time a run gives them.
void TestKeyboardAndAccess::verdictAndStatusAreAnnounced()
{
    ActiveFixture f;
    f.model.takeAutomaton(endsInA());
    f.child<QComboBox>("com_speed")->setCurrentIndex(2);
    const auto announced = [&](const char *name) {
        QStringList said;
        QObject *control = f.child(name);
        for (const QAccessibleEvent *event : QTestAccessibility::events()) {
            if (event->object() != control)
                continue;
            if (event->type() == QAccessible::ValueChanged)
                said << static_cast<const QAccessibleValueChangeEvent *>(event)->value().toString();
            else if (event->type() == QAccessible::NameChanged)
                said << spokenName(control);
        }
        return said.join(u'|');
    };
    for (const QString &input : {QStringLiteral("ba"), QStringLiteral("bb"), QStringLiteral("ab")}) {
        forgetEvents();
        f.child<QLineEdit>("txt_input")->setText(input);
        f.click("cmd_play");
        QCOMPARE(announced("txt_output") + u' ' + announced("sBar_text"),
                 QString(f.text("txt_output") + QStringLiteral(" Successfully completed")));
    }
}

// The grid's first row and column are headers for assistive technology, so a
// cell reads with its state and its symbol.
void TestKeyboardAndAccess::gridCellsHaveRowAndColumnHeaders()
{
    ActiveFixture f;
    f.model.takeAutomaton(endsInA());
    QStringList read;
    f.withActiveEditor("cmd_ttable", [&](QDialog *editor) {
        QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(editor->findChild<QTableView *>());
        QCOMPARE(grid->text(QAccessible::Name), "Transition table");
        for (const auto &[row, column] : {std::pair{0, 0}, std::pair{1, 1}}) {
            QAccessibleTableCellInterface *cell = grid->tableInterface()->cellAt(row, column)->tableCellInterface();
            const QList<QAccessibleInterface *> rowHeaders = cell->rowHeaderCells();
            const QList<QAccessibleInterface *> columnHeaders = cell->columnHeaderCells();
            read << rowHeaders.value(0)->text(QAccessible::Name) + u',' + columnHeaders.value(0)->text(QAccessible::Name);
            // Qt makes the header cells for the asker and keeps no hold on them:
            // handed to its registry, they are deleted through it.
            for (QAccessibleInterface *header : rowHeaders + columnHeaders)
                QAccessible::deleteAccessibleInterface(QAccessible::registerAccessibleInterface(header));
        }
        editor->close();
    });
    QCOMPARE(read, (QStringList{">q0,a", "*q1,b"}));
}

void TestKeyboardAndAccess::menuShortcuts_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("boxes");   // the boxes the key opened, answered with Cancel

    QTest::newRow("New") << "cmd_new" << QKeySequence("Ctrl+N") << "Automata: Save changes to NoName";
    QTest::newRow("Open") << "cmd_open" << QKeySequence("Ctrl+O") << "Automata: Save changes to NoName";
    QTest::newRow("Save") << "cmd_save" << QKeySequence("Ctrl+S") << "Save As: |FILE NOT SAVED: Saving operation is cancled by user";
    QTest::newRow("Save As") << "cmd_saveas" << QKeySequence("Ctrl+Shift+S")
                             << "Save As: |FILE NOT SAVED: Saving operation is cancled by user";
    QTest::newRow("Exit") << "cmd_exit" << QKeySequence("Ctrl+Q") << "Automata: Save changes to NoName";
    QTest::newRow("Help") << "cmd_help" << QKeySequence("F1") << "Help: God helps them that help themselves.";
}

// Each key does what its menu item does, and the item shows it.
void TestKeyboardAndAccess::menuShortcuts()
{
    QFETCH(QString, action);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, boxes);
    ActiveFixture f;
    f.model.is_saved = false;
    for (const QString &box : boxes.split(u'|')) {
        if (box.startsWith(QStringLiteral("Save As")))
            f.dialogs.answerSaveFile(std::nullopt);
        else
            f.dialogs.answerMessage(Dialogs::Answer::Cancel);
    }
    QCOMPARE(f.child<QAction>(qPrintable(action))->shortcut(), keys);
    QTest::keySequence(&f.window, keys);
    QCOMPARE(f.dialogs.transcript().join(u'|'), boxes);
    QVERIFY(f.window.isVisible());
}

// F5 and Enter in the input box press Play, F6 presses Pause, each only while
// its button is enabled.
void TestKeyboardAndAccess::playAndPauseKeys()
{
    ActiveFixture f;
    f.model.takeAutomaton(endsInA());
    f.child<QComboBox>("com_speed")->setCurrentIndex(0);   // timed: the run goes on
    auto *input = f.child<QLineEdit>("txt_input");
    const auto buttons = [&] { return f.enabled({"cmd_play", "cmd_pause"}); };

    input->setText(QStringLiteral("ab"));
    QTest::keyClick(&f.window, Qt::Key_F6);   // Pause is disabled: nothing
    QCOMPARE(buttons() + u' ' + f.text("txt_state"), "cmd_play ");
    QTest::keyClick(&f.window, Qt::Key_F5);
    QCOMPARE(buttons() + u' ' + f.text("txt_state"), "cmd_play cmd_pause q0");
    QTest::keyClick(&f.window, Qt::Key_F6);
    QCOMPARE(buttons(), "cmd_pause");
    input->setText(QStringLiteral("b"));
    QTest::keyClick(&f.window, Qt::Key_F5);   // Play is disabled while paused: no new run of "b"
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(buttons() + u' ' + QString::number(f.child<QProgressBar>("pBar")->maximum()), "cmd_pause 3");
    QTest::keyClick(&f.window, Qt::Key_F6);
    QCOMPARE(buttons(), "cmd_play cmd_pause");

    f.child<QComboBox>("com_speed")->setCurrentIndex(2);   // at once
    input->setText(QStringLiteral("ba"));
    QTest::keyClick(input, Qt::Key_Enter);
    QCOMPARE(f.text("txt_output"), "ACCEPTED");
}

void TestKeyboardAndAccess::f4OpensAFocusedList_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("after");

    QTest::newRow("Play Speed's presets") << "com_speed" << "list open, no diagram";
    QTest::newRow("Test Strings' Expected") << "com_expected" << "list open, no diagram";
    QTest::newRow("the input box") << "txt_input" << "list closed, diagram";
    QTest::newRow("the Play button") << "cmd_play" << "list closed, diagram";
}

// F4 opens a drop-down list that has the focus, as it does everywhere on the
// desktop; anywhere else it shows the Diagram.
void TestKeyboardAndAccess::f4OpensAFocusedList()
{
    QFETCH(QString, focus);
    QFETCH(QString, after);
    ActiveFixture f;
    QWidget *focused = nullptr;
    auto *list = f.child<QComboBox>("com_speed");
    if (focus == QStringLiteral("com_expected")) {
        f.trigger("cmd_test_strings");
        auto *strings = f.child<TestStringsWindow>("frm_test_strings");
        ActiveFixture::activate(strings);
        strings->paste(QStringLiteral("ab"));
        const QModelIndex expected = strings->table().index(0, StringTable::ExpectedColumn);
        strings->view().setCurrentIndex(expected);
        strings->view().edit(expected);
        focused = list = strings->findChild<QComboBox *>(QStringLiteral("com_expected"));
        QVERIFY(list);
    } else {
        focused = f.child(qPrintable(focus));
    }
    focused->setFocus();
    QTest::keyClick(focused, Qt::Key_F4);
    QCOMPARE(QStringLiteral("%1, %2").arg(list->view()->isVisible() ? "list open" : "list closed",
                                          f.diagram()->isVisible() ? "diagram" : "no diagram"),
             after);
    list->hidePopup();
}

void TestKeyboardAndAccess::ctrlWStoresAsTheCloseBoxDoes_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");   // "open" when the window stays

    // The bottom-right cell is current when the table opens.
    QTest::newRow("table") << "cmd_ttable" << "\b\bq1" << "table 2 2 comment ";
    QTest::newRow("table, a name that is no state") << "cmd_ttable" << "x" << "table 2 1 comment  open";
    QTest::newRow("comment") << "cmd_comment" << "note" << "table 2 1 comment note";
}

void TestKeyboardAndAccess::ctrlWStoresAsTheCloseBoxDoes()
{
    QFETCH(QString, action);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    ActiveFixture f;
    f.model.takeAutomaton(endsInA());
    if (stored.endsWith(QStringLiteral("open")))
        f.dialogs.answerMessage();
    bool open = false;
    f.withActiveEditor(qPrintable(action), [&](QDialog *editor) {
        QWidget *control = QApplication::focusWidget();
        QTest::keyClicks(control, typed);
        QTest::keyClick(control, Qt::Key_W, Qt::ControlModifier);
        open = editor->isVisible();
    });
    QCOMPARE(QStringLiteral("table %1 %2 comment %3%4")
                 .arg(f.model.transitions[1][0])
                 .arg(f.model.transitions[1][1])
                 .arg(f.model.comment, open ? QStringLiteral(" open") : QString()),
             stored);
    QVERIFY(f.dialogs.allAnswered());
}

// Undo and Redo from the keyboard, named after the step; the saved flag
// follows the file actually written. Ctrl+Z in the input box stays the box's own.
void TestKeyboardAndAccess::undoAndRedoInTheWindow()
{
    QTemporaryDir dir;
    ActiveFixture f;
    auto *undo = f.child<QAction>("cmd_undo");
    auto *redo = f.child<QAction>("cmd_redo");
    QCOMPARE(f.child<QMenu>("cmd_edit")->actions().mid(0, 2), (QList<QAction *>{undo, redo}));
    QCOMPARE(redo->shortcuts(), (QList<QKeySequence>{QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}));
    f.addStates({"p"});
    f.dialogs.answerSaveFile(dir.filePath(QStringLiteral("p.tw")));
    f.dialogs.answerMessage();
    QTest::keySequence(&f.window, QKeySequence("Ctrl+S"));
    f.addStates({"q"});
    QCOMPARE(undo->text() + u'|' + redo->text() + u'|' + (f.model.is_saved ? "saved" : "changed"),
             "&Undo States|Re&do|changed");

    auto *input = f.child<QLineEdit>("txt_input");
    input->setFocus();
    QTest::keyClicks(input, QStringLiteral("ab"));
    QTest::keyClick(input, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(input->text() + u' ' + QString::number(f.model.state_count), " 2");

    const auto states = [&] { return QString::number(f.model.state_count) + (f.model.is_saved ? " saved" : " changed"); };
    QTest::keySequence(&f.window, QKeySequence("Ctrl+Z"));
    QCOMPARE(states(), "1 saved");
    QTest::keySequence(&f.window, QKeySequence("Ctrl+Z"));
    QCOMPARE(states() + u' ' + undo->text() + u'|' + redo->text(), "0 changed &Undo|Re&do States");
    QTest::keySequence(&f.window, QKeySequence("Ctrl+Y"));
    QCOMPARE(states(), "1 saved");
    QTest::keySequence(&f.window, QKeySequence("Ctrl+Shift+Z"));
    QCOMPARE(states(), "2 changed");
    QVERIFY(f.dialogs.allAnswered());
}

// An open editor and a run (paused too) hold the history: both items greyed,
// and back as soon as no run goes, whatever Pause shows.
void TestKeyboardAndAccess::undoWaitsForEditorsAndRuns()
{
    ActiveFixture f;
    f.addStates({"p"});
    f.addStates({"q"});
    f.window.history().undo();
    const auto items = [&] {
        return QStringLiteral("%1 %2").arg(f.child<QAction>("cmd_undo")->isEnabled()).arg(f.child<QAction>("cmd_redo")->isEnabled());
    };
    QCOMPARE(items(), "1 1");
    QString whileEditing;
    f.withActiveEditor("cmd_comment", [&](QDialog *editor) {
        whileEditing = items();
        editor->close();
    });
    QCOMPARE(whileEditing + u'|' + items(), "0 0|1 1");

    f.child<QComboBox>("com_speed")->setCurrentIndex(0);
    f.child<QLineEdit>("txt_input")->setText(QStringLiteral("x"));
    QTest::keyClick(&f.window, Qt::Key_F5);
    QCOMPARE(items(), "0 0");
    QTest::keyClick(&f.window, Qt::Key_F6);
    QTest::keySequence(&f.window, QKeySequence("Ctrl+Z"));
    QCOMPARE(items() + u' ' + QString::number(f.model.state_count), "0 0 1");
    QTest::keyClick(&f.window, Qt::Key_F6);
    Q_EMIT f.child<TickTimer>("timer")->tick();   // the first character is not a symbol: the run ends
    QCOMPARE(items(), "1 1");

    // Play at 0 ms during a timed run ends that run, though Pause stays
    // enabled: Undo and Redo come back at once, and Pause twice keeps them.
    f.child<QLineEdit>("txt_input")->clear();
    QTest::keyClick(&f.window, Qt::Key_F5);
    QStringList seen{items()};
    f.child<QComboBox>("com_speed")->setCurrentIndex(2);
    QTest::keyClick(&f.window, Qt::Key_F5);
    seen << items();
    QTest::keyClick(&f.window, Qt::Key_F6);
    QTest::keyClick(&f.window, Qt::Key_F6);
    seen << items() + (f.child<QWidget>("cmd_pause")->isEnabled() ? " pause" : "");
    QCOMPARE(seen.join(u'|'), "0 0|1 1|1 1 pause");
}

QTEST_MAIN(TestKeyboardAndAccess)
#include "test_keyboard_and_access.moc"
