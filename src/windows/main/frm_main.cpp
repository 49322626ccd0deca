#include "windows/main/frm_main.h"

#include "model/mod_all.h"
#include "toolkit/design_font.h"
#include "toolkit/dialogs.h"
#include "toolkit/drop_down_list.h"
#include "toolkit/layout_units.h"
#include "toolkit/minimum_size.h"
#include "toolkit/plain_label.h"
#include "toolkit/qt_dialogs.h"
#include "toolkit/tick_timer.h"
#include "toolkit/window_places.h"
#include "windows/about/frm_about.h"
#include "windows/about/host_system.h"
#include "windows/diagram/diagram_window.h"
#include "windows/editors/frm_alphabets.h"
#include "windows/editors/frm_comment.h"
#include "windows/editors/frm_sstate.h"
#include "windows/editors/frm_states.h"
#include "windows/editors/frm_ttable.h"
#include "windows/guide/guide_window.h"
#include "windows/tools/tools_menu.h"
#include "windows/tools/test_strings_window.h"

#include <QAccessible>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <limits>

using LayoutUnits::toPixels;

namespace {

// Designed client area; the first resize already enlarges it to the minimum.
constexpr int designWidth = 4680;
constexpr int designHeight = 5385;
// Smallest outer size of the window, and how much narrower than the window the
// input box, the state field and the progress bar are.
constexpr int smallestWidth = 5000;
constexpr int smallestHeight = 6200;
constexpr int stretchMargin = 1500;

// A label beside `control`, which a screen reader names after it.
QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &units, QWidget *control = nullptr)
{
    auto *l = placed(plainLabel(text, parent), name, units);
    l->setFont(designFont(9.75));
    if (control) {
        l->setBuddy(control);
        control->setAccessibleName(text);
    }
    return l;
}

// Tells assistive technology that the read-only `field` shows a new value, so
// that a screen reader speaks a verdict without the focus going there.
void announceValue(QLineEdit *field, const QString &text)
{
    if (text.isEmpty())
        return;
    QAccessibleValueChangeEvent event(field, text);
    QAccessible::updateAccessibility(&event);
}

// The output and state fields: read-only, single border, window background.
QLineEdit *displayField(QWidget *parent, const char *name, const QRect &units)
{
    auto *field = placed(new QLineEdit(parent), name, units);
    field->setReadOnly(true);
    field->setFont(designFont(9.75));
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    field->setPalette(palette);
    return field;
}

} // namespace

frm_main::frm_main(modAll &model, Dialogs *dialogs, GraphLayout *diagramLayout, QWidget *parent)
    : QMainWindow(parent)
    , m_model(model)
    , m_edits(model)
    , m_ownDialogs(dialogs ? nullptr : std::make_unique<QtDialogs>(this))
    , m_dialogs(dialogs ? *dialogs : *m_ownDialogs)
    , m_run(model, *this)
    , m_files(model, m_edits, m_dialogs, *this)
    , m_tools(model, m_files, m_dialogs, this)
{
    setObjectName(QStringLiteral("frm_main"));
    setWindowTitle(QStringLiteral("Tarnwell"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tarnwell-64.png")));
    setFont(designFont(8.25));

    createControls();
    createMenus();
    createDiagram(diagramLayout);
    createKeys();
    nameForAssistiveTechnology();
    orderTabs();
    m_history.passOn(this);

    resize(toPixels(designWidth), toPixels(designHeight));
    Form_Resize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Form_Load();
    txt_input->setFocus();
}

frm_main::~frm_main() = default;

void frm_main::createControls()
{
    auto *client = new QWidget(this);
    setCentralWidget(client);

    txt_input = placed(new QLineEdit(client), "txt_input", QRect(1320, 120, 2655, 405));
    txt_input->setFont(designFont(9.75));
    // The input box is the run's tape and has no length limit of its own.
    txt_input->setMaxLength(std::numeric_limits<int>::max());
    label(client, "Label1", QStringLiteral("Input String"), QRect(120, 120, 1095, 255), txt_input);

    txt_output = displayField(client, "txt_output", QRect(1320, 720, 1815, 375));
    label(client, "Label2", QStringLiteral("Output"), QRect(120, 720, 1095, 255), txt_output);

    txt_state = displayField(client, "txt_state", QRect(1320, 1320, 2775, 375));
    label(client, "Label4", QStringLiteral("Current State"), QRect(120, 1320, 1335, 255), txt_state);

    pBar = placed(new QProgressBar(client), "pBar", QRect(1320, 1920, 2655, 375));
    pBar->setRange(0, 100);
    pBar->setValue(0);
    pBar->setTextVisible(false);
    label(client, "Label3", QStringLiteral("Progress"), QRect(120, 1920, 1095, 255), pBar);

    label(client, "Label5", QStringLiteral("Controls"), QRect(120, 2640, 1095, 255));
    cmd_play = placed(new QPushButton(QStringLiteral(">"), client), "cmd_play", QRect(1440, 2520, 615, 495));
    cmd_pause = placed(new QPushButton(QStringLiteral("||"), client), "cmd_pause", QRect(2280, 2520, 615, 495));
    for (QPushButton *button : {cmd_play, cmd_pause}) {
        button->setFont(designFont(8.25, true));
        button->setAutoDefault(false);
    }
    cmd_pause->setEnabled(false);

    createSpeedFrame();

    sBar_text = plainLabel(QString(), this);
    sBar_text->setObjectName(QStringLiteral("sBar_text"));
    statusBar()->setObjectName(QStringLiteral("sBar"));
    // A permanent label, so menu hover tips never erase the status text.
    statusBar()->addPermanentWidget(sBar_text, 1);

    timer = new TickTimer(this);
    timer->setObjectName(QStringLiteral("timer"));

    connect(cmd_play, &QPushButton::clicked, this, [this] { m_run.play(); });
    // What the user types, not what a run takes: after a run's end, Step
    // starts anew on a string typed since.
    connect(txt_input, &QLineEdit::textEdited, this, [this] { m_run.inputEdited(); });
    connect(cmd_pause, &QPushButton::clicked, this, [this] { m_run.pause(); });
    connect(timer, &TickTimer::tick, this, [this] { m_run.tick(); });
}

void frm_main::createSpeedFrame()
{
    fm1 = placed(new QGroupBox(QStringLiteral("Play Speed"), centralWidget()), "fm1", QRect(240, 3240, 3975, 1575));
    fm1->setFont(designFont(9.75));

    opn_presets = placed(new QRadioButton(QStringLiteral("Presets"), fm1), "opn_presets", QRect(240, 480, 1335, 375));
    opn_presets->setChecked(true);
    com_speed = placed(new DropDownList(fm1), "com_speed", QRect(1560, 480, 1695, 315));
    com_speed->addItems({QStringLiteral("Slow (2 sec)"), QStringLiteral("Normal (500 ms)"),
                         QStringLiteral("RealTime (0 ms)")});
    opn_custom = placed(new QRadioButton(QStringLiteral("Custom"), fm1), "opn_custom", QRect(240, 1080, 1335, 255));
    txt_speed = placed(new QLineEdit(fm1), "txt_speed", QRect(1560, 1080, 615, 285));
    txt_speed->setMaxLength(4);
    txt_speed->setEnabled(false);
    lbl_custom = placed(plainLabel(QStringLiteral("ms per transition"), fm1), "lbl_custom", QRect(2280, 1080, 1335, 255));
    lbl_custom->setEnabled(false);
    for (QWidget *w : std::initializer_list<QWidget *>{opn_presets, com_speed, opn_custom, txt_speed, lbl_custom})
        w->setFont(designFont(8.25));

    connect(opn_presets, &QRadioButton::clicked, this, &frm_main::opn_presets_clicked);
    connect(opn_custom, &QRadioButton::clicked, this, &frm_main::opn_custom_clicked);
}

void frm_main::createMenus()
{
    auto menu = [this](const char *name, const QString &caption) {
        QMenu *m = menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    // The shortcuts are the usual ones of desktop programs, shown in the menus.
    auto item = [](QMenu *m, const char *name, const QString &caption, const QKeySequence &keys = {}) {
        QAction *action = m->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        return action;
    };
    auto separator = [](QMenu *m, const char *name) { m->addSeparator()->setObjectName(QLatin1String(name)); };

    QMenu *cmd_file = menu("cmd_file", QStringLiteral("&File"));
    connect(item(cmd_file, "cmd_new", QStringLiteral("&New"), Qt::CTRL | Qt::Key_N), &QAction::triggered, this,
            [this] { m_files.fileNew(); });
    connect(item(cmd_file, "cmd_open", QStringLiteral("&Open"), Qt::CTRL | Qt::Key_O), &QAction::triggered, this,
            [this] { m_files.fileOpen(); });
    connect(item(cmd_file, "cmd_save", QStringLiteral("&Save"), Qt::CTRL | Qt::Key_S), &QAction::triggered, this,
            [this] { m_files.fileSave(); });
    connect(item(cmd_file, "cmd_saveas", QStringLiteral("Save &As"), Qt::CTRL | Qt::SHIFT | Qt::Key_S),
            &QAction::triggered, this, [this] { m_files.fileSaveAs(); });
    connect(item(cmd_file, "cmd_export_jflap", QStringLiteral("Export as &JFLAP...")), &QAction::triggered, this,
            [this] { m_files.exportJflap(); });
    // Exit closes the window like its close box, so the closing checks run.
    connect(item(cmd_file, "cmd_exit", QStringLiteral("E&xit"), Qt::CTRL | Qt::Key_Q), &QAction::triggered, this,
            &QWidget::close);

    QMenu *cmd_edit = menu("cmd_edit", QStringLiteral("&Edit"));
    QAction *cmd_undo = m_history.undoAction();
    cmd_undo->setObjectName(QStringLiteral("cmd_undo"));
    cmd_undo->setShortcut(Qt::CTRL | Qt::Key_Z);
    QAction *cmd_redo = m_history.redoAction();
    cmd_redo->setObjectName(QStringLiteral("cmd_redo"));
    cmd_redo->setShortcuts({Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y});
    cmd_edit->addActions({cmd_undo, cmd_redo});
    separator(cmd_edit, "sep_undo");
    connect(item(cmd_edit, "cmd_states", QStringLiteral("&States")), &QAction::triggered, this,
            &frm_main::cmd_states_clicked);
    connect(item(cmd_edit, "cmd_alphabets", QStringLiteral("&Alphabets")), &QAction::triggered, this,
            &frm_main::cmd_alphabets_clicked);
    connect(item(cmd_edit, "cmd_sstate", QStringLiteral("Sta&rt State")), &QAction::triggered, this,
            &frm_main::cmd_sstate_clicked);
    connect(item(cmd_edit, "cmd_ttable", QStringLiteral("&Transition Table")), &QAction::triggered, this,
            &frm_main::cmd_ttable_clicked);
    separator(cmd_edit, "sep_seperator1");
    connect(item(cmd_edit, "cmd_comment", QStringLiteral("&Comment")), &QAction::triggered, this,
            &frm_main::cmd_comment_clicked);

    QMenu *cmd_view = menu("cmd_view", QStringLiteral("&View"));
    cmd_diagram = item(cmd_view, "cmd_diagram", QStringLiteral("&Diagram"));
    cmd_diagram->setCheckable(true);
    cmd_diagram->setShortcut(Qt::Key_F4);
    // F4 also closes the Diagram window from the window itself; a modal editor
    // blocks it like the menus.
    cmd_diagram->setShortcutContext(Qt::ApplicationShortcut);
    connect(cmd_diagram, &QAction::triggered, this, [this](bool open) { m_diagram->setVisible(open); });

    QMenu *cmd_hlp = menu("cmd_hlp", QStringLiteral("&Help"));
    connect(item(cmd_hlp, "cmd_help", QStringLiteral("&Help"), Qt::Key_F1), &QAction::triggered, this,
            &frm_main::cmd_help_clicked);
    connect(item(cmd_hlp, "cmd_guide", QStringLiteral("Tarnwell &Guide")), &QAction::triggered, this,
            &frm_main::cmd_guide_clicked);
    separator(cmd_hlp, "sep_seperator2");
    connect(item(cmd_hlp, "cmd_about", QStringLiteral("&About")), &QAction::triggered, this,
            &frm_main::cmd_about_clicked);

    // Tools: strings tested in a window of their own, the run stepped by hand,
    // then the questions about the automaton as a whole.
    auto *cmd_tools = new ToolsMenu(menuBar(), cmd_hlp);
    cmd_tools->addCommand("cmd_test_strings", QStringLiteral("&Test Strings..."), [this] { cmd_test_strings_clicked(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    cmd_step = cmd_tools->addCommand("cmd_step", QStringLiteral("&Step"), [this] { m_run.step(); });
    cmd_step->setShortcut(QKeySequence(Qt::Key_F8));
    cmd_step_back = cmd_tools->addCommand("cmd_step_back", QStringLiteral("Step &Back"), [this] { m_run.stepBack(); });
    cmd_step_back->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8));
    separator(cmd_tools, "sep_tools");
    cmd_tools->addAnalysisCommands(m_tools);
}

// The Diagram window, closed at start. Only while it is open does it follow the
// run, so a run costs nothing more while it is closed. The View menu's check
// follows the window, also when the window's own close box closes it.
void frm_main::createDiagram(GraphLayout *layout)
{
    m_diagram = new DiagramWindow(this, layout);
    WindowPlaces::keepBeside(*m_diagram, QStringLiteral("Diagram"), *this);
    m_diagram->addStepActions(cmd_step, cmd_step_back);
    connect(m_diagram, &DiagramWindow::visibilityChanged, this, [this](bool open) {
        m_run.setObserver(open ? &m_diagram->runObserver() : nullptr);
        cmd_diagram->setChecked(open);
    });
}

// Play and Pause from the keyboard, wherever the focus is in this window, and
// Enter in the input box: each presses its button only while it can be pressed.
void frm_main::createKeys()
{
    auto *key_play = new QShortcut(Qt::Key_F5, this);
    key_play->setObjectName(QStringLiteral("key_play"));
    connect(key_play, &QShortcut::activated, this, [this] { pressIfEnabled(cmd_play); });
    auto *key_pause = new QShortcut(Qt::Key_F6, this);
    key_pause->setObjectName(QStringLiteral("key_pause"));
    connect(key_pause, &QShortcut::activated, this, [this] { pressIfEnabled(cmd_pause); });
    connect(txt_input, &QLineEdit::returnPressed, this, [this] { pressIfEnabled(cmd_play); });
}

void frm_main::pressIfEnabled(QPushButton *button)
{
    if (button->isEnabled())
        button->click();
}

// The buttons keep their symbols as captions; a screen reader says what they do.
// Controls without a label beside them are named here.
void frm_main::nameForAssistiveTechnology()
{
    cmd_play->setAccessibleName(QStringLiteral("Play"));
    cmd_play->setToolTip(QStringLiteral("Play (F5)"));
    cmd_pause->setAccessibleName(QStringLiteral("Pause"));
    cmd_pause->setToolTip(QStringLiteral("Pause (F6)"));
    com_speed->setAccessibleName(QStringLiteral("Preset speed"));
    txt_speed->setAccessibleName(QStringLiteral("Custom speed, ms per transition"));
    lbl_custom->setBuddy(txt_speed);
    sBar_text->setAccessibleDescription(QStringLiteral("Status"));
}

// Tab order as designed: the read-only fields are tab stops too, so their text
// can be selected and copied.
void frm_main::orderTabs()
{
    const QList<QWidget *> order{txt_output, cmd_pause, cmd_play, txt_state, opn_presets,
                                 com_speed, opn_custom, txt_speed, txt_input};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void frm_main::Form_Load()
{
    newFile();
    m_edits.rememberTablePosition(LayoutUnits::fromPixels(y()) + 1000, LayoutUnits::fromPixels(x()) + 1000);
    com_speed->setCurrentIndex(1);
}

void frm_main::newFile()
{
    m_edits.newFile();
}

// The one place that hears of every change of the automaton (an editor's OK or
// close, New, Open), after it has reached the model: whatever shows or keeps
// something of the automaton follows it from here.
void frm_main::modelChanged(ModelChange change, const modAll &)
{
    // The steps taken and the strings' results belong to the automaton before.
    m_run.forgetSteps();
    if (m_testStrings)
        m_testStrings->automatonChanged();
    // A new or opened automaton is not the one the last run went through.
    if (change == ModelChange::NewFile || change == ModelChange::Open)
        m_diagram->clearRun();
    m_diagram->showModel(m_model);
}

void frm_main::clearRunDisplays()
{
    txt_input->clear();
    txt_output->clear();
    txt_state->clear();
}

// Every close (the close box, File > Exit) may be refused by the question
// about unsaved changes.
void frm_main::closeEvent(QCloseEvent *event)
{
    if (!m_files.mayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    // The windows beside this one belong to it and go with it, each
    // remembering its place.
    m_diagram->close();
    for (QWidget *beside : std::initializer_list<QWidget *>{m_testStrings, m_guide})
        if (beside)
            beside->close();
}

void frm_main::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frm_main::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

// Keeps the window at least its minimum outer size and stretches the input box,
// the state field and the progress bar with it. Nothing else moves.
void frm_main::Form_Resize()
{
    const std::optional<QSize> outer = keepMinimumOuterSize(*this, smallestWidth, smallestHeight);
    if (!outer)
        return;
    const int stretched = toPixels(outer->width() - stretchMargin);
    for (QWidget *w : std::initializer_list<QWidget *>{txt_input, txt_state, pBar})
        w->resize(stretched, w->height());
}

// The speed options take effect at the next Play; the timer is not touched.
void frm_main::opn_presets_clicked()
{
    com_speed->setEnabled(true);
    txt_speed->setEnabled(false);
    lbl_custom->setEnabled(false);
}

void frm_main::opn_custom_clicked()
{
    com_speed->setEnabled(false);
    txt_speed->setEnabled(true);
    lbl_custom->setEnabled(true);
}

void frm_main::showError(const QString &text)
{
    m_dialogs.inform(text, QStringLiteral("ERROR"), Dialogs::Icon::Critical);
}

bool frm_main::requireStates()
{
    if (m_model.state_count != 0)
        return true;
    showError(QStringLiteral("Please add state(s) first."));
    return false;
}

bool frm_main::requireSymbols()
{
    if (m_model.symbol_count != 0)
        return true;
    showError(QStringLiteral("Please add alphabet(s) first."));
    return false;
}

// Each editor loads from the model when it is made and is gone when it closes,
// so every opening starts afresh. While it is open, Undo would change the
// automaton under it.
void frm_main::openEditor(QDialog &editor)
{
    m_history.setHeld(UndoHistory::Hold::Editor, true);
    editor.exec();
    m_history.setHeld(UndoHistory::Hold::Editor, false);
}

void frm_main::cmd_states_clicked()
{
    frm_states editor(m_edits, m_dialogs, this);
    openEditor(editor);
}

void frm_main::cmd_alphabets_clicked()
{
    if (!requireStates())
        return;
    frm_alphabets editor(m_edits, m_dialogs, this);
    openEditor(editor);
}

void frm_main::cmd_sstate_clicked()
{
    if (!requireStates())
        return;
    frm_sstate editor(m_edits, this);
    openEditor(editor);
}

void frm_main::cmd_ttable_clicked()
{
    if (!requireStates() || !requireSymbols())
        return;
    frm_ttable editor(m_edits, m_dialogs, this);
    openEditor(editor);
}

void frm_main::cmd_comment_clicked()
{
    frm_comment editor(m_edits, this);
    openEditor(editor);
}

void frm_main::cmd_help_clicked()
{
    m_dialogs.inform(QStringLiteral("God helps them that help themselves."), QStringLiteral("Help"),
                     Dialogs::Icon::None);
}

// One window, raised when it is open already.
void frm_main::cmd_guide_clicked()
{
    if (!m_guide) {
        m_guide = new GuideWindow(this);
        WindowPlaces::keepBeside(*m_guide, QStringLiteral("Guide"), *this);
    }
    showBeside(*m_guide);
}

void frm_main::cmd_about_clicked()
{
    const std::unique_ptr<HostSystem> host = makeHostSystem();
    frm_about about(*host, m_dialogs, this);
    about.exec();
}

// One window, raised when it is open already; its rows live as long as it does.
void frm_main::cmd_test_strings_clicked()
{
    if (!m_testStrings) {
        m_testStrings = new TestStringsWindow(m_model, m_ownDialogs ? nullptr : &m_dialogs, this);
        // The chosen row's path shows on the diagram while that window is open.
        connect(m_testStrings, &TestStringsWindow::pathChosen, this, [this](const RunPath &path, RunVerdict verdict) {
            if (m_diagram->isVisible())
                m_diagram->showPath(path, verdict);
        });
        connect(m_testStrings, &TestStringsWindow::pathCleared, m_diagram, &DiagramWindow::clearPath);
        WindowPlaces::keepBeside(*m_testStrings, QStringLiteral("TestStrings"), *this);
    }
    showBeside(*m_testStrings);
}

void frm_main::showBeside(QWidget &window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

// RunPanel over the widgets.

QString frm_main::inputText() const { return txt_input->text(); }
void frm_main::setInputText(const QString &text) { txt_input->setText(text); }
void frm_main::setStateText(const QString &text) { txt_state->setText(text); }

void frm_main::setOutputText(const QString &text)
{
    txt_output->setText(text);
    announceValue(txt_output, text);
}

// A label tells assistive technology of a new text itself (its text is its
// name); the same status once more (a second run with the same end) is told here.
void frm_main::setStatusText(const QString &text)
{
    const bool repeated = !text.isEmpty() && text == sBar_text->text();
    sBar_text->setText(text);
    if (repeated) {
        QAccessibleEvent event(sBar_text, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

double frm_main::progressMinimum() const { return pBar->minimum(); }
double frm_main::progressMaximum() const { return pBar->maximum(); }
double frm_main::progressValue() const { return pBar->value(); }
void frm_main::setProgressMaximum(double maximum) { pBar->setMaximum(int(maximum)); }
void frm_main::setProgressValue(double value) { pBar->setValue(int(value)); }
int frm_main::timerInterval() const { return timer->interval(); }
void frm_main::setTimerInterval(int milliseconds) { timer->setInterval(milliseconds); }
bool frm_main::timerEnabled() const { return timer->isEnabled(); }
void frm_main::setTimerEnabled(bool enabled) { timer->setEnabled(enabled); }
void frm_main::setPlayEnabled(bool enabled) { cmd_play->setEnabled(enabled); }

void frm_main::setPauseEnabled(bool enabled) { cmd_pause->setEnabled(enabled); }

// The run reads the automaton at each tick, so Undo waits until it ends.
void frm_main::setRunGoing(bool going)
{
    m_history.setHeld(UndoHistory::Hold::Run, going);
}

RunPanel::SpeedChoice frm_main::speedChoice() const
{
    return {opn_custom->isChecked(), com_speed->currentIndex(), txt_speed->text()};
}
