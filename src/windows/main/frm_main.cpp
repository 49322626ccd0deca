#include "windows/main/frm_main.h"

#include "model/mod_all.h"
#include "toolkit/design_font.h"
#include "toolkit/dialogs.h"
#include "toolkit/layout_units.h"
#include "toolkit/minimum_size.h"
#include "toolkit/plain_label.h"
#include "toolkit/qt_dialogs.h"
#include "toolkit/tick_timer.h"
#include "windows/about/frm_about.h"
#include "windows/about/host_system.h"
#include "windows/editors/frm_alphabets.h"
#include "windows/editors/frm_comment.h"
#include "windows/editors/frm_sstate.h"
#include "windows/editors/frm_states.h"
#include "windows/editors/frm_ttable.h"
#include "windows/diagram/diagram_window.h"
#include "windows/tools/test_strings_window.h"

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

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &units)
{
    auto *l = placed(plainLabel(text, parent), name, units);
    l->setFont(designFont(9.75));
    return l;
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

frm_main::frm_main(modAll &model, Dialogs *dialogs, QWidget *parent)
    : QMainWindow(parent)
    , m_model(model)
    , m_edits(model)
    , m_ownDialogs(dialogs ? nullptr : std::make_unique<QtDialogs>(this))
    , m_dialogs(dialogs ? *dialogs : *m_ownDialogs)
    , m_run(model, *this)
    , m_files(model, m_edits, m_dialogs, *this)
{
    setObjectName(QStringLiteral("frm_main"));
    setWindowTitle(QStringLiteral("Tarnwell"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tarnwell-64.png")));
    setFont(designFont(8.25));

    createControls();
    createMenus();
    orderTabs();
    m_edits.setListener(this);

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

    label(client, "Label1", QStringLiteral("Input String"), QRect(120, 120, 1095, 255));
    txt_input = placed(new QLineEdit(client), "txt_input", QRect(1320, 120, 2655, 405));
    txt_input->setFont(designFont(9.75));
    // The input box is the run's tape and has no length limit of its own.
    txt_input->setMaxLength(std::numeric_limits<int>::max());

    label(client, "Label2", QStringLiteral("Output"), QRect(120, 720, 1095, 255));
    txt_output = displayField(client, "txt_output", QRect(1320, 720, 1815, 375));

    label(client, "Label4", QStringLiteral("Current State"), QRect(120, 1320, 1335, 255));
    txt_state = displayField(client, "txt_state", QRect(1320, 1320, 2775, 375));

    label(client, "Label3", QStringLiteral("Progress"), QRect(120, 1920, 1095, 255));
    pBar = placed(new QProgressBar(client), "pBar", QRect(1320, 1920, 2655, 375));
    pBar->setRange(0, 100);
    pBar->setValue(0);
    pBar->setTextVisible(false);

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
    connect(cmd_pause, &QPushButton::clicked, this, [this] { m_run.pause(); });
    connect(timer, &TickTimer::tick, this, [this] { m_run.tick(); });
}

void frm_main::createSpeedFrame()
{
    fm1 = placed(new QGroupBox(QStringLiteral("Play Speed"), centralWidget()), "fm1", QRect(240, 3240, 3975, 1575));
    fm1->setFont(designFont(9.75));

    opn_presets = placed(new QRadioButton(QStringLiteral("Presets"), fm1), "opn_presets", QRect(240, 480, 1335, 375));
    opn_presets->setChecked(true);
    com_speed = placed(new QComboBox(fm1), "com_speed", QRect(1560, 480, 1695, 315));
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
    auto item = [](QMenu *m, const char *name, const QString &caption) {
        QAction *action = m->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    auto separator = [](QMenu *m, const char *name) { m->addSeparator()->setObjectName(QLatin1String(name)); };

    QMenu *cmd_file = menu("cmd_file", QStringLiteral("&File"));
    connect(item(cmd_file, "cmd_new", QStringLiteral("&New")), &QAction::triggered, this, [this] { m_files.fileNew(); });
    connect(item(cmd_file, "cmd_open", QStringLiteral("&Open")), &QAction::triggered, this,
            [this] { m_files.fileOpen(); });
    connect(item(cmd_file, "cmd_save", QStringLiteral("&Save")), &QAction::triggered, this,
            [this] { m_files.fileSave(); });
    connect(item(cmd_file, "cmd_saveas", QStringLiteral("Save &As")), &QAction::triggered, this,
            [this] { m_files.fileSaveAs(); });
    // Exit closes the window like its close box, so the closing checks run.
    connect(item(cmd_file, "cmd_exit", QStringLiteral("E&xit")), &QAction::triggered, this, &QWidget::close);

    QMenu *cmd_edit = menu("cmd_edit", QStringLiteral("&Edit"));
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

    QMenu *cmd_tools = menu("cmd_tools", QStringLiteral("&Tools"));
    QAction *cmd_test_strings = item(cmd_tools, "cmd_test_strings", QStringLiteral("&Test Strings..."));
    cmd_test_strings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(cmd_test_strings, &QAction::triggered, this, &frm_main::cmd_test_strings_clicked);
    separator(cmd_tools, "sep_tools");
    QAction *cmd_step = item(cmd_tools, "cmd_step", QStringLiteral("&Step"));
    cmd_step->setShortcut(QKeySequence(Qt::Key_F8));
    connect(cmd_step, &QAction::triggered, this, [this] { m_run.step(); });
    QAction *cmd_step_back = item(cmd_tools, "cmd_step_back", QStringLiteral("Step &Back"));
    cmd_step_back->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8));
    connect(cmd_step_back, &QAction::triggered, this, [this] { m_run.stepBack(); });

    QMenu *cmd_hlp = menu("cmd_hlp", QStringLiteral("&Help"));
    connect(item(cmd_hlp, "cmd_help", QStringLiteral("&Help")), &QAction::triggered, this,
            &frm_main::cmd_help_clicked);
    separator(cmd_hlp, "sep_seperator2");
    connect(item(cmd_hlp, "cmd_about", QStringLiteral("&About")), &QAction::triggered, this,
            &frm_main::cmd_about_clicked);
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
    if (m_files.mayClose())
        event->accept();
    else
        event->ignore();
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
// so every opening starts afresh.
void frm_main::cmd_states_clicked()
{
    frm_states editor(m_edits, m_dialogs, this);
    editor.exec();
}

void frm_main::cmd_alphabets_clicked()
{
    if (!requireStates())
        return;
    frm_alphabets editor(m_edits, m_dialogs, this);
    editor.exec();
}

void frm_main::cmd_sstate_clicked()
{
    if (!requireStates())
        return;
    frm_sstate editor(m_edits, this);
    editor.exec();
}

void frm_main::cmd_ttable_clicked()
{
    if (!requireStates() || !requireSymbols())
        return;
    frm_ttable editor(m_edits, m_dialogs, this);
    editor.exec();
}

void frm_main::cmd_comment_clicked()
{
    frm_comment editor(m_edits, this);
    editor.exec();
}

void frm_main::cmd_help_clicked()
{
    m_dialogs.inform(QStringLiteral("God helps them that help themselves."), QStringLiteral("Help"),
                     Dialogs::Icon::None);
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
            if (auto *diagram = findChild<DiagramWindow *>(); diagram && diagram->isVisible())
                diagram->showPath(path, verdict);
        });
        // Beside the main window at first, so neither hides the other, as far
        // as the screen has room.
        QPoint place = frameGeometry().topRight() + QPoint(8, 0);
        if (const QScreen *screen = this->screen()) {
            const QRect room = screen->availableGeometry();
            place.setX(qMax(room.left(), qMin(place.x(), room.right() - m_testStrings->frameGeometry().width())));
        }
        m_testStrings->move(place);
    }
    m_testStrings->show();
    m_testStrings->raise();
    m_testStrings->activateWindow();
}

void frm_main::modelChanged(ModelChange, const modAll &)
{
    m_run.forgetSteps();
    if (m_testStrings)
        m_testStrings->automatonChanged();
}

// RunPanel over the widgets.

QString frm_main::inputText() const { return txt_input->text(); }
void frm_main::setInputText(const QString &text) { txt_input->setText(text); }
void frm_main::setStateText(const QString &text) { txt_state->setText(text); }
void frm_main::setOutputText(const QString &text) { txt_output->setText(text); }
void frm_main::setStatusText(const QString &text) { sBar_text->setText(text); }
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

RunPanel::SpeedChoice frm_main::speedChoice() const
{
    return {opn_custom->isChecked(), com_speed->currentIndex(), txt_speed->text()};
}
