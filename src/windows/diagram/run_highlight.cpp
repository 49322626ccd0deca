#include "windows/diagram/run_highlight.h"

#include "windows/diagram/diagram_scene.h"

RunHighlight::RunHighlight(DiagramScene &scene)
    : m_scene(scene)
{
}

void RunHighlight::runStarted(qint16 start, const QString &)
{
    m_wanted = {start, StateFill::Current, std::nullopt};
}

void RunHighlight::stepTaken(const RunStep &step)
{
    m_wanted = {step.to, StateFill::Current, Arrow{step.from, step.to, !step.followed}};
}

void RunHighlight::stepUndone(const RunStep &step)
{
    m_wanted = {step.from, StateFill::Current, std::nullopt};
}

void RunHighlight::runEnded(const RunEnd &end)
{
    m_wanted = {end.state, end.verdict == RunEnd::Verdict::Accepted ? StateFill::Accepted : StateFill::Rejected,
                std::nullopt};
}

void RunHighlight::clear()
{
    m_wanted = Look();
}

// Only the items that change are touched: two hash lookups and a repaint of
// what moved, whatever the size of the drawing.
void RunHighlight::show()
{
    paint(m_shown, false);
    paint(m_wanted, true);
    m_shown = m_wanted;
}

void RunHighlight::sceneRedrawn()
{
    m_shown = Look();
}

void RunHighlight::paint(const Look &look, bool on)
{
    if (StateItem *item = m_scene.stateItem(look.state))
        item->setFill(on ? look.fill : StateFill::None);
    if (look.arrow)
        if (EdgeItem *item = m_scene.edgeItem(look.arrow->from, look.arrow->to, look.arrow->stay))
            item->setHighlighted(on);
}
