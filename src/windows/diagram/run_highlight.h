#pragma once

#include "run/run_observer.h"
#include "windows/diagram/diagram_items.h"

#include <optional>

class DiagramScene;

// The run as the diagram shows it: during a timed run the current state filled
// and the arrow just taken drawn bold, step by step; when the run ends, the
// state where it ended filled green for ACCEPTED, red for REJECTED and ERROR.
// It keeps what it shows by state positions, so a drawing made anew (the model
// changed during a run) shows the same highlight.
class RunHighlight final : public RunObserver
{
public:
    explicit RunHighlight(DiagramScene &scene);

    void runStarted(qint16 start, const QString &input) override;
    void stepTaken(const RunStep &step) override;
    void stepUndone(const RunStep &step) override;
    void runEnded(const RunEnd &end) override;

    void clear();
    // Shows the highlight on a scene that was just drawn.
    void reapply();

private:
    struct Arrow
    {
        qint16 from;
        qint16 to;
        bool stay;
    };

    void show(qint16 state, StateFill fill, std::optional<Arrow> arrow);
    void paint(bool on);

    DiagramScene &m_scene;
    qint16 m_state = -1;
    StateFill m_fill = StateFill::None;
    std::optional<Arrow> m_arrow;
};
