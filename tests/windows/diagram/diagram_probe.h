#pragma once

#include "analysis/state_graph.h"
#include "model/mod_all.h"
#include "windows/diagram/diagram_items.h"
#include "windows/diagram/diagram_scene.h"
#include "windows/diagram/diagram_window.h"

#include <QStringList>
#include <QTest>
#include <QTimer>

// What the Diagram window shows of a run, read from its items.
namespace DiagramProbe {

// Waits for the repaint that shows the latest run report.
inline bool settled(const DiagramWindow &window)
{
    const QTimer *frame = window.findChild<QTimer *>(QStringLiteral("runFrame"));
    return QTest::qWaitFor([frame] { return !frame->isActive(); });
}

// The filled states ("name=Current") and the bold arrows ("from>to", "from~to"
// for stays), in the automaton's order.
inline QString highlight(const DiagramWindow &window, const modAll &model)
{
    static const char *const fills[] = {"None", "Current", "Accepted", "Rejected"};
    QStringList shown;
    for (qint16 state = 0; state < model.state_count; ++state)
        if (const StateItem *item = window.scene().stateItem(state); item && item->fill() != StateFill::None)
            shown.append(item->label() + u'=' + QLatin1String(fills[int(item->fill())]));
    for (const StateGraph::Edge &edge : stateGraph(model).edges)
        if (const EdgeItem *item = window.scene().edgeItem(edge.from, edge.to, edge.stay); item && item->isHighlighted())
            shown.append(model.states[edge.from].name + (edge.stay ? u'~' : u'>') + model.states[edge.to].name);
    return shown.join(QStringLiteral(", "));
}

} // namespace DiagramProbe
