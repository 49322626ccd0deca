#pragma once

#include "run/run_observer.h"
#include "windows/diagram/diagram_items.h"

#include <optional>

class DiagramScene;

// The run as the diagram shows it: during a timed run the current state filled
// and the arrow just taken drawn bold, step by step; when the run ends, the
// state where it ended filled green for ACCEPTED, red for REJECTED and ERROR.
//
// The reports only note what should be shown; show() brings the items up to
// date, so the window can repaint at its own pace however fast the run ticks.
// What is shown is kept by state positions, so a drawing made anew (the model
// changed during a run) shows the same highlight.
class RunHighlight final : public RunObserver
{
public:
    explicit RunHighlight(DiagramScene &scene);

    void runStarted(qint16 start, const QString &input) override;
    void stepTaken(const RunStep &step) override;
    void stepUndone(const RunStep &step) override;
    void runEnded(const RunEnd &end) override;
    void runPaused(bool) override {}   // a pause changes nothing in the picture
    void clear();

    // Repaints the items whose highlight changed since the last call.
    void show();
    // The scene was drawn anew: none of its items is highlighted yet.
    void sceneRedrawn();

private:
    struct Arrow
    {
        qint16 from;
        qint16 to;
        bool stay;
    };

    struct Look
    {
        qint16 state = -1;
        StateFill fill = StateFill::None;
        std::optional<Arrow> arrow;
    };

    void paint(const Look &look, bool on);

    DiagramScene &m_scene;
    Look m_wanted;
    Look m_shown;
};
