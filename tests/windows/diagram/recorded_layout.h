#pragma once

#include "windows/diagram/graph_layout.h"

#include <QFile>
#include <QStringList>
#include <QTest>

// Reads a Graphviz JSON output recorded under tests/windows/diagram/layouts.
inline QByteArray recordedJson(const QString &name)
{
    QFile file(QStringLiteral(TARNWELL_LAYOUTS_DIR "/") + name + QStringLiteral(".json"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no recorded layout %s", qPrintable(name));
    return file.readAll();
}

// A layout that answers only when the test says so, with a recorded Graphviz
// output; it keeps the DOT texts it was asked to lay out.
class RecordedLayout final : public GraphLayout
{
public:
    QStringList requests;
    QList<Size> sizes;

    void start(const QString &dot, Size size) override
    {
        requests.append(dot);
        sizes.append(size);
    }

    void answer(const QString &name)
    {
        QString error;
        const std::optional<LaidOutGraph> graph = parseGraphvizJson(recordedJson(name), error);
        if (!graph)
            qFatal("recorded layout %s unreadable: %s", qPrintable(name), qPrintable(error));
        Q_EMIT laidOut(*graph);
    }

    void fail(const QString &message) { Q_EMIT failed(message); }
};
