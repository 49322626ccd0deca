#pragma once

#include <QGraphicsScene>
#include <QHash>

class EdgeItem;
class StateItem;
struct LaidOutGraph;
struct StateGraph;

// The drawn automaton: one StateItem per state, one EdgeItem per edge of the
// StateGraph, and the start arrow, placed where the layout put them. Items are
// found by what they stand for in the automaton (a state's position; the ends
// of a step), so a run can be followed on them.
class DiagramScene final : public QGraphicsScene
{
    Q_OBJECT

public:
    explicit DiagramScene(QObject *parent = nullptr);

    // Replaces the drawing. What the layout lost (a node or edge it did not
    // place) is left out rather than drawn in the wrong place.
    void draw(const StateGraph &graph, const LaidOutGraph &layout);

    StateItem *stateItem(qint16 state) const { return m_states.value(state); }
    EdgeItem *edgeItem(qint16 from, qint16 to, bool stay) const { return m_edges.value(edgeKey(from, to, stay)); }
    EdgeItem *startArrow() const { return m_startArrow; }
    const QHash<qint16, StateItem *> &stateItems() const { return m_states; }

private:
    static quint64 edgeKey(qint16 from, qint16 to, bool stay)
    {
        return (quint64(quint16(from)) << 17) | (quint64(quint16(to)) << 1) | quint64(stay);
    }

    QHash<qint16, StateItem *> m_states;
    QHash<quint64, EdgeItem *> m_edges;
    EdgeItem *m_startArrow = nullptr;
};
