#pragma once

#include "analysis/state_graph.h"
#include "run/run_observer.h"
#include "run/run_path.h"
#include "windows/diagram/path_highlight.h"
#include "windows/diagram/run_highlight.h"
#include "windows/diagram/run_trace.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <memory>

class DiagramScene;
class DiagramView;
class GraphLayout;
class ImageFileChooser;
class QAction;
class QLabel;
class QToolBar;
struct LaidOutGraph;
struct modAll;

// The Diagram window: the automaton drawn as a state diagram, the run followed
// on it, and the picture exported as an image. It only watches: it reads the
// model when told to, and the run through its observer.
//
// The main window owns it and
// - calls showModel() after every change that reaches the model (an editor's
//   OK or close, New, Open). The drawing is laid out anew in the background;
//   until it is ready the old one stays. While the window is hidden nothing is
//   laid out: the latest model is drawn when the window shows again.
// - attaches runObserver() to the run while the window is visible and detaches
//   it when it hides (visibilityChanged), so a closed window costs a run nothing.
// - calls clearRun() on New and Open (a Play clears the highlight by itself).
class DiagramWindow final : public QWidget, private RunObserver
{
    Q_OBJECT

public:
    // Automata with more states are drawn in part: those near the start state.
    static constexpr int mostDrawnStates = 500;

    // Without `layout`, Graphviz lays the diagram out; without `chooser`, a file
    // dialog of the window's own asks where to export. Given ones are not owned.
    explicit DiagramWindow(QWidget *owner, GraphLayout *layout = nullptr, ImageFileChooser *chooser = nullptr);
    ~DiagramWindow() override;

    // Takes what it draws from `model` now; the model is not read later.
    void showModel(const modAll &model);
    RunObserver &runObserver() { return *this; }
    // Ends the highlight and the trace of the last run.
    void clearRun();
    // Draws the path of a string chosen in the Test Strings window, unless a
    // timed run is going on: the run wins, and its start clears the path.
    void showPath(const RunPath &path, RunVerdict verdict);
    // The path shown is no longer chosen; a run's highlight stays.
    void clearPath();
    // Puts the main window's Step and Step Back beside the trace (the same
    // actions, so their shortcuts work here too).
    void addStepActions(QAction *step, QAction *stepBack);

    void exportImage();
    void copyImage();

    DiagramScene &scene() const { return *m_scene; }
    DiagramView &view() const { return *m_view; }
    // The line above the drawing (a layout that failed, a part drawn) and the
    // trace under it, as shown.
    QString notice() const;
    QString trace() const;
    QString exportMessage() const;

Q_SIGNALS:
    // A drawing of the latest model is on screen.
    void drawn();
    // The window was shown, or closed by the user or the program (not minimized).
    void visibilityChanged(bool visible);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    void layOut();
    void laidOut(const LaidOutGraph &layout);
    void layoutFailed(const QString &message);
    void setNotice(const QString &text);
    void runMoved();
    void showRun();
    void showTrace();

    // RunObserver: the highlight and the trace follow the run.
    void runStarted(qint16 start, const QString &input) override;
    void stepTaken(const RunStep &step) override;
    void stepUndone(const RunStep &step) override;
    void runEnded(const RunEnd &end) override;
    void runPaused(bool paused) override;

    std::unique_ptr<GraphLayout> m_ownLayout;
    GraphLayout *m_layout;
    std::unique_ptr<ImageFileChooser> m_ownChooser;
    ImageFileChooser *m_chooser;

    DiagramScene *m_scene;
    DiagramView *m_view = nullptr;
    QLabel *m_notice = nullptr;
    QLabel *m_exportMessage = nullptr;
    QLabel *m_trace = nullptr;
    QToolBar *m_runBar = nullptr;
    RunHighlight m_highlight;
    PathHighlight m_path;
    bool m_runGoing = false;  // a timed run started and has not ended
    RunTrace m_runTrace;
    QTimer *m_runFrame;          // a repaint of the run that is due
    QElapsedTimer m_sinceRunFrame;

    StateGraph m_wanted;     // the latest model
    QStringList m_names;     // its state names, for the trace
    QString m_partNotice;    // what the window says when it draws only a part
    bool m_layoutDue = false; // m_wanted is not laid out yet
    StateGraph m_requested;  // what the layout in progress is for
    QString m_requestedNotice;
};
