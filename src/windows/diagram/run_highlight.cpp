#include "windows/diagram/run_highlight.h"

#include "windows/diagram/diagram_scene.h"

RunHighlight::RunHighlight(DiagramScene &scene)
    : m_scene(scene)
{
}

void RunHighlight::runStarted(qint16 start, const QString &)
{
    show(start, StateFill::Current, std::nullopt);
}

void RunHighlight::stepTaken(const RunStep &step)
{
    show(step.to, StateFill::Current, Arrow{step.from, step.to, !step.followed});
}

void RunHighlight::stepUndone(const RunStep &step)
{
    show(step.from, StateFill::Current, std::nullopt);
}

void RunHighlight::runEnded(const RunEnd &end)
{
    show(end.state, end.verdict == RunEnd::Verdict::Accepted ? StateFill::Accepted : StateFill::Rejected,
         std::nullopt);
}

void RunHighlight::clear()
{
    show(-1, StateFill::None, std::nullopt);
}

void RunHighlight::reapply()
{
    paint(true);
}

void RunHighlight::show(qint16 state, StateFill fill, std::optional<Arrow> arrow)
{
    paint(false);
    m_state = state;
    m_fill = fill;
    m_arrow = arrow;
    paint(true);
}

// Only the items that change are touched: a tick costs two hash lookups and a
// repaint of what moved, whatever the size of the drawing.
void RunHighlight::paint(bool on)
{
    if (StateItem *item = m_scene.stateItem(m_state))
        item->setFill(on ? m_fill : StateFill::None);
    if (m_arrow)
        if (EdgeItem *item = m_scene.edgeItem(m_arrow->from, m_arrow->to, m_arrow->stay))
            item->setHighlighted(on);
}
