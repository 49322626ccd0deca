#include "windows/diagram/path_highlight.h"

#include "windows/diagram/diagram_scene.h"

PathHighlight::PathHighlight(DiagramScene &scene)
    : m_scene(scene)
{
}

void PathHighlight::set(const RunPath &path, RunVerdict verdict)
{
    m_wanted = {path, verdict == RunVerdict::Accepted ? StateFill::Accepted : StateFill::Rejected};
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

// The states passed through first, the end state last, so its fill wins where
// the path passed it before.
void PathHighlight::paint(const Look &look, bool on)
{
    const RunPath &path = look.path;
    if (path.start < 0)
        return;
    const auto fill = [&](qint16 state, StateFill how) {
        if (StateItem *item = m_scene.stateItem(state))
            item->setFill(on ? how : StateFill::None);
    };
    fill(path.start, StateFill::Current);
    for (const RunMove &move : path.moves) {
        fill(move.to, StateFill::Current);
        if (EdgeItem *item = m_scene.edgeItem(move.from, move.to, !move.followed))
            item->setHighlighted(on);
    }
    fill(path.end, look.endFill);
}
