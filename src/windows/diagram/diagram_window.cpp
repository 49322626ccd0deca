#include "windows/diagram/diagram_window.h"

#include "analysis/dot_text.h"
#include "model/mod_all.h"
#include "toolkit/window_role.h"
#include "windows/diagram/diagram_scene.h"
#include "windows/diagram/diagram_view.h"
#include "windows/diagram/graphviz_layout.h"
#include "windows/diagram/image_export.h"
#include "windows/diagram/image_file_chooser.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// A part of a large automaton: the states a run reaches in two steps.
constexpr int partSteps = 2;

// The drawing follows the run at most this often. A run ticking faster than
// the eye follows (down to 1 ms a tick) would otherwise spend its time
// repainting; a slower one shows every tick the moment it comes.
constexpr int runFrameMilliseconds = 30;

QLabel *lineLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long line is cut at the window's edge rather than widening the window.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setContentsMargins(6, 2, 6, 2);
    return label;
}

QStringList stateNames(const modAll &model)
{
    QStringList names;
    const qsizetype count = qBound(qsizetype(0), qsizetype(model.state_count), model.states.size());
    names.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        names.append(model.states[i].name);
    return names;
}

} // namespace

DiagramWindow::DiagramWindow(QWidget *owner, GraphLayout *layout, ImageFileChooser *chooser)
    : QWidget(owner, Qt::Window)
    , m_ownLayout(layout ? nullptr : new GraphvizLayout)
    , m_layout(layout ? layout : m_ownLayout.get())
    , m_ownChooser(chooser ? nullptr : new QtImageFileChooser(this))
    , m_chooser(chooser ? chooser : m_ownChooser.get())
    , m_scene(new DiagramScene(this))
    , m_highlight(*m_scene)
    , m_path(*m_scene)
    , m_runFrame(new QTimer(this))
{
    setObjectName(QStringLiteral("frm_diagram"));
    setWindowTitle(QStringLiteral("Diagram"));
    readAsWindow(*this);
    createControls();
    resize(640, 480);
    connect(m_layout, &GraphLayout::laidOut, this, &DiagramWindow::laidOut);
    connect(m_layout, &GraphLayout::failed, this, &DiagramWindow::layoutFailed);
    m_runFrame->setObjectName(QStringLiteral("runFrame"));
    m_runFrame->setSingleShot(true);
    connect(m_runFrame, &QTimer::timeout, this, &DiagramWindow::showRun);
}

DiagramWindow::~DiagramWindow() = default;

void DiagramWindow::createControls()
{
    auto *toolbar = new QToolBar(this);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto addAction = [&](const char *name, const QString &text, QList<QKeySequence> keys, auto slot) {
        QAction *action = toolbar->addAction(text);
        action->setIconText(text); // a tool button would drop the "..." that says a dialog follows
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    addAction("cmd_export", QStringLiteral("Export Image..."), {}, &DiagramWindow::exportImage);
    addAction("cmd_copy", QStringLiteral("Copy Image"), {QKeySequence::Copy}, &DiagramWindow::copyImage);
    toolbar->addSeparator();
    addAction("cmd_zoom_in", QStringLiteral("Zoom In"),
              {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, [this] { m_view->zoomIn(); });
    addAction("cmd_zoom_out", QStringLiteral("Zoom Out"), {QKeySequence::ZoomOut}, [this] { m_view->zoomOut(); });
    addAction("cmd_fit", QStringLiteral("Fit"), {QKeySequence(Qt::CTRL | Qt::Key_0)},
              [this] { m_view->fitToWindow(); });

    m_notice = lineLabel("lbl_notice", this);
    m_notice->hide();
    m_exportMessage = lineLabel("lbl_export", this);
    m_exportMessage->hide();
    m_view = new DiagramView(m_scene, this);
    m_view->setObjectName(QStringLiteral("view_diagram"));
    m_view->setAccessibleName(QStringLiteral("State diagram"));
    m_view->viewport()->setAccessibleName(QStringLiteral("State diagram"));   // where the picture is drawn
    m_trace = lineLabel("lbl_trace", this);

    // Step and Step Back sit beside the trace of the run they move, which keeps
    // the bar above narrow enough for a window beside the main window.
    m_runBar = new QToolBar(this);
    m_runBar->setObjectName(QStringLiteral("bar_run"));
    m_runBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_runBar->hide();
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_trace, 1);
    bottom->addWidget(m_runBar);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(toolbar);
    column->addWidget(m_notice);
    column->addWidget(m_exportMessage);
    column->addWidget(m_view, 1);
    column->addLayout(bottom);
}

void DiagramWindow::showModel(const modAll &model)
{
    m_names = stateNames(model);
    if (m_names.size() > mostDrawnStates) {
        m_wanted = stateGraphNearStart(model, partSteps, mostDrawnStates);
        m_partNotice = m_wanted.start < 0
            ? QStringLiteral("%1 states are more than a diagram shows readably, and with no start state "
                             "there is no part to draw.")
                  .arg(m_names.size())
            : QStringLiteral("%1 states are more than a diagram shows readably: drawn are the %2 "
                             "within two transitions of the start state.")
                  .arg(m_names.size())
                  .arg(m_wanted.nodes.size());
    } else {
        m_wanted = stateGraph(model);
        m_partNotice.clear();
    }
    m_layoutDue = true;
    if (isVisible())
        layOut();
    showTrace(); // it names the states as they are now
}

void DiagramWindow::layOut()
{
    m_layoutDue = false;
    m_requested = m_wanted;
    m_requestedNotice = m_partNotice;
    if (m_requested.nodes.isEmpty()) {
        laidOut(LaidOutGraph()); // nothing to lay out, and no need of Graphviz for it
        return;
    }
    m_layout->start(DotText::dotText(m_requested),
                    {int(m_requested.nodes.size()), int(m_requested.edges.size())});
}

void DiagramWindow::laidOut(const LaidOutGraph &layout)
{
    // Making a large drawing's items and painting them are each a few tens of
    // milliseconds: the paint waits for the next turn of the event loop, so the
    // windows never wait for both at once.
    m_view->setUpdatesEnabled(false);
    QTimer::singleShot(0, m_view, [view = m_view] { view->setUpdatesEnabled(true); });
    m_scene->draw(m_requested, layout);
    m_highlight.sceneRedrawn();
    m_highlight.show();
    m_path.sceneRedrawn();
    m_path.show();
    setNotice(m_requested.nodes.isEmpty() && m_requested.stateCount == 0
                  ? QStringLiteral("The automaton has no states to draw.")
                  : m_requestedNotice);
    m_view->fitToWindow();
    Q_EMIT drawn();
}

// A drawing of an earlier model would show what the automaton no longer does,
// so it goes with the message.
void DiagramWindow::layoutFailed(const QString &message)
{
    m_scene->draw(StateGraph(), LaidOutGraph());
    setNotice(message);
}

void DiagramWindow::setNotice(const QString &text)
{
    m_notice->setText(text);
    m_notice->setVisible(!text.isEmpty());
}

void DiagramWindow::clearRun()
{
    m_runGoing = false;
    m_path.clear();
    m_path.show();
    m_highlight.clear();
    m_runTrace.clear();
    showRun();
}

void DiagramWindow::showPath(const RunPath &path, RunVerdict verdict)
{
    if (m_runGoing)
        return;
    m_highlight.clear();
    m_runTrace.clear();
    showRun();
    m_path.set(path, verdict);
    m_path.show();
}

void DiagramWindow::clearPath()
{
    m_path.clear();
    m_path.show();
}

void DiagramWindow::addStepActions(QAction *step, QAction *stepBack)
{
    m_runBar->addAction(step);
    m_runBar->addAction(stepBack);
    m_runBar->show();
}

// After a report: shown at once when the last repaint is a frame ago, else with
// the next frame, which then shows the latest report.
void DiagramWindow::runMoved()
{
    if (m_runFrame->isActive())
        return;
    const qint64 since = m_sinceRunFrame.isValid() ? m_sinceRunFrame.elapsed() : runFrameMilliseconds;
    if (since >= runFrameMilliseconds)
        showRun();
    else
        m_runFrame->start(int(runFrameMilliseconds - since));
}

void DiagramWindow::showRun()
{
    m_runFrame->stop();
    m_sinceRunFrame.start();
    m_highlight.show();
    showTrace();
}

// The state the run stands in ends the line and must stay in sight: where the
// line is wider than the window, fewer of the earlier states are shown.
void DiagramWindow::showTrace()
{
    const QFontMetrics metrics(m_trace->font());
    const int room = m_trace->contentsRect().width();
    QString line = m_runTrace.text(m_names);
    for (qsizetype states = RunTrace::shownStates - 1; states > 0 && metrics.horizontalAdvance(line) > room; --states)
        line = m_runTrace.text(m_names, states);
    // Narrower still: the states alone, the run's ends where the tape was.
    if (metrics.horizontalAdvance(line) > room)
        line = m_runTrace.text(m_names, 1, false);
    m_trace->setText(line);
}

void DiagramWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    showTrace();
}

void DiagramWindow::exportImage()
{
    const std::optional<ImageFileChooser::Choice> choice = m_chooser->choose();
    if (!choice)
        return;
    const QString error = ImageExport::save(*m_scene, choice->path, choice->format);
    m_exportMessage->setText(error.isEmpty() ? QString()
                                             : QStringLiteral("The image could not be saved as %1: %2")
                                                   .arg(QDir::toNativeSeparators(choice->path), error));
    m_exportMessage->setVisible(!error.isEmpty());
}

void DiagramWindow::copyImage()
{
    QGuiApplication::clipboard()->setImage(ImageExport::bitmap(*m_scene));
}

QString DiagramWindow::notice() const
{
    return m_notice->text();
}

QString DiagramWindow::trace() const
{
    return m_trace->text();
}

QString DiagramWindow::exportMessage() const
{
    return m_exportMessage->text();
}

void DiagramWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    if (m_layoutDue)
        layOut();
    Q_EMIT visibilityChanged(true);
}

// Closed, the window no longer follows the run; what it showed of the last one
// would be out of date when it opens again.
void DiagramWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous())
        return;
    clearRun();
    Q_EMIT visibilityChanged(false);
}

void DiagramWindow::runStarted(qint16 start, const QString &input)
{
    m_runGoing = true;
    m_path.clear();
    m_path.show();
    m_highlight.runStarted(start, input);
    m_runTrace.runStarted(start, input);
    runMoved();
}

void DiagramWindow::stepTaken(const RunStep &step)
{
    m_highlight.stepTaken(step);
    m_runTrace.stepTaken(step);
    runMoved();
}

void DiagramWindow::stepUndone(const RunStep &step)
{
    m_runGoing = true; // Step Back leaves the run paused, even after its end
    m_highlight.stepUndone(step);
    m_runTrace.stepUndone(step);
    runMoved();
}

void DiagramWindow::runEnded(const RunEnd &end)
{
    m_runGoing = false;
    m_highlight.runEnded(end);
    m_runTrace.runEnded(end);
    runMoved();
}

void DiagramWindow::runPaused(bool paused)
{
    m_runTrace.runPaused(paused);
    runMoved();
}
