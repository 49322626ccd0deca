#pragma once

#include "run/run_path.h"
#include "run/run_verdict.h"
#include "windows/diagram/diagram_items.h"

class DiagramScene;

// The path of a string chosen in the Test Strings window, drawn over the
// diagram: every state it passes through filled as current, the state it ends
// in filled green for ACCEPTED and red otherwise, and every arrow it takes bold.
// Like RunHighlight it notes what is wanted and show() brings the items up to
// date; kept by state positions, it survives a drawing made anew.
class PathHighlight final
{
public:
    explicit PathHighlight(DiagramScene &scene);

    void set(const RunPath &path, RunVerdict verdict);
    void clear();

    void show();
    void sceneRedrawn();

private:
    struct Look
    {
        RunPath path;   // no start (-1): nothing drawn
        StateFill endFill = StateFill::None;
    };

    void paint(const Look &look, bool on);

    DiagramScene &m_scene;
    Look m_wanted;
    Look m_shown;
};
