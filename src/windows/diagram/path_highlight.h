#pragma once

#include "run/run_path.h"
#include "run/run_verdict.h"
#include "windows/diagram/diagram_items.h"

#include <QList>

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
    bool isEmpty() const { return m_wanted.states.isEmpty(); }

    void show();
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
        QList<qint16> states;   // the end state last
        StateFill endFill = StateFill::None;
        QList<Arrow> arrows;
    };

    void paint(const Look &look, bool on);

    DiagramScene &m_scene;
    Look m_wanted;
    Look m_shown;
};
