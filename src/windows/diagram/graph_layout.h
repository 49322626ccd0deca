#pragma once

#include "windows/diagram/laid_out_graph.h"

#include <QObject>

// Lays out DOT text: takes the text and, later, gives the positions of its nodes
// and the paths of its edges. A layout can take long on a large automaton, so
// the answer always comes back as a signal, never from start() itself.
class GraphLayout : public QObject
{
    Q_OBJECT

public:
    // How much there is to lay out, so a slow layout is not tried on a large graph.
    struct Size
    {
        int nodes = 0;
        int edges = 0;
    };

    using QObject::QObject;

    // Lays out `dot`. A layout still going is dropped: only the latest text is
    // answered.
    virtual void start(const QString &dot, Size size) = 0;

Q_SIGNALS:
    void laidOut(const LaidOutGraph &graph);
    // `message` is one line for the user, naming the program and what went wrong.
    void failed(const QString &message);
};
