#include "windows/diagram/path_highlight.h"

#include "windows/diagram/diagram_scene.h"

PathHighlight::PathHighlight(DiagramScene &scene)
    : m_scene(scene)
{
}

void PathHighlight::set(const RunPath &path, RunVerdict verdict)
{
    m_wanted = Look();
    if (path.start < 0)
        return;
    m_wanted.states.append(path.start);
    for (const RunStep &step : path.steps) {
        m_wanted.states.append(step.to);
        m_wanted.arrows.append({step.from, step.to, !step.followed});
    }
    m_wanted.endFill = verdict == RunVerdict::Accepted ? StateFill::Accepted : StateFill::Rejected;
}

void PathHighlight::clear()
{
    m_wanted = Look();
}

void PathHighlight::show()
{
    paint(m_shown, false);
    paint(m_wanted, true);
    m_shown = m_wanted;
}

void PathHighlight::sceneRedrawn()
{
    m_shown = Look();
}

void PathHighlight::paint(const Look &look, bool on)
{
    for (qsizetype i = 0; i < look.states.size(); ++i) {
        if (StateItem *item = m_scene.stateItem(look.states[i]))
            item->setFill(!on ? StateFill::None : i + 1 == look.states.size() ? look.endFill : StateFill::Current);
    }
    for (const Arrow &arrow : look.arrows) {
        if (EdgeItem *item = m_scene.edgeItem(arrow.from, arrow.to, arrow.stay))
            item->setHighlighted(on);
    }
}
