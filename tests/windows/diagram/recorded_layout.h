#pragma once

#include "windows/diagram/graph_layout.h"

#include <QFile>
#include <QStringList>
#include <QTest>

// A layout that answers only when the test says so, with a Graphviz output
// recorded under tests/windows/diagram/layouts; it keeps the DOT texts it was
// asked to lay out.
class RecordedLayout final : public GraphLayout
{
public:
    QStringList requests;

    void start(const QString &dot, Size) override { requests.append(dot); }

    void answer(const QString &name)
    {
        QFile file(QStringLiteral(TARNWELL_LAYOUTS_DIR "/") + name + QStringLiteral(".json"));
        QString error;
        const std::optional<LaidOutGraph> graph = file.open(QIODevice::ReadOnly)
            ? parseGraphvizJson(file.readAll(), error) : std::nullopt;
        if (!graph)
            qFatal("recorded layout %s unreadable: %s", qPrintable(name), qPrintable(error));
        Q_EMIT laidOut(*graph);
    }
};
