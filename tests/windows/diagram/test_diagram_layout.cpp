#include "analysis/dot_text.h"
#include "analysis/state_graph.h"
#include "recorded_layout.h"
#include "test_automata.h"
#include "windows/diagram/graphviz_layout.h"
#include "windows/diagram/laid_out_graph.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtMath>

namespace {

using Engine = GraphvizLayout::Engine;

qreal distance(const QPointF &a, const QPointF &b)
{
    return qSqrt(QPointF::dotProduct(a - b, a - b));
}

GraphLayout::Size sizeOf(const modAll &model)
{
    const StateGraph graph = stateGraph(model);
    return {int(graph.nodes.size()), int(graph.edges.size())};
}

// A shell script standing in for a Graphviz program.
QString script(const QTemporaryDir &dir, const QString &name, const QString &body)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write("#!/bin/sh\n" + body.toUtf8() + '\n');
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

} // namespace

class TestDiagramLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsRecordedOutput_data();
    void readsRecordedOutput();
    void refusesMalformedOutput_data();
    void refusesMalformedOutput();
    void engineBySize_data();
    void engineBySize();
    void laysOutWithGraphviz_data();
    void laysOutWithGraphviz();
    void failingProgramSaysWhy_data();
    void failingProgramSaysWhy();
    void slowDotGivesWayToSfdp();
    void newerTextReplacesALayoutStillRunning();
};

void TestDiagramLayout::readsRecordedOutput_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("nodes");       // the start point included
    QTest::addColumn<int>("edges");       // the start arrow included
    QTest::addColumn<int>("dashed");
    QTest::addColumn<bool>("loopsAbove"); // dot draws self-loops above their state

    QTest::newRow("full JSON") << "ends-in-a" << 3 << 5 << 0 << true;
    QTest::newRow("json0, stays") << "contains-a-one" << 3 << 4 << 2 << true;
    QTest::newRow("sfdp") << "divisible-by-3-sfdp" << 4 << 7 << 0 << false;
}

void TestDiagramLayout::readsRecordedOutput()
{
    QFETCH(QString, name);
    QFETCH(int, nodes);
    QFETCH(int, edges);
    QFETCH(int, dashed);
    QFETCH(bool, loopsAbove);

    QString error;
    const std::optional<LaidOutGraph> graph = parseGraphvizJson(recordedJson(name), error);
    QVERIFY2(graph, qPrintable(error));
    QCOMPARE(graph->nodes.size(), nodes);
    QCOMPARE(graph->edges.size(), edges);
    int dashedSeen = 0;
    for (const LaidOutGraph::Edge &edge : graph->edges) {
        dashedSeen += edge.dashed;
        QVERIFY(graph->nodes.contains(edge.tail) && graph->nodes.contains(edge.head));
        // Each path leaves its tail's circle and its arrowhead ends on the head's.
        const LaidOutGraph::Node tail = graph->nodes.value(edge.tail), head = graph->nodes.value(edge.head);
        QVERIFY(edge.arrowTip);
        if (edge.tail != DotText::startId())
            QVERIFY(qAbs(distance(edge.spline.first(), tail.centre) - tail.size.width() / 2) < 2);
        QVERIFY(qAbs(distance(*edge.arrowTip, head.centre) - head.size.width() / 2) < 2);
        QCOMPARE(edge.labelCentre.has_value(), edge.tail != DotText::startId());
        if (loopsAbove && edge.tail == edge.head)
            QVERIFY(edge.labelCentre->y() < head.centre.y());
    }
    QCOMPARE(dashedSeen, dashed);
    for (const LaidOutGraph::Node &node : graph->nodes)
        QVERIFY(graph->bounds.adjusted(-1, -1, 1, 1).contains(node.centre));
}

void TestDiagramLayout::refusesMalformedOutput_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("error");

    QTest::newRow("not JSON") << QByteArray("Warning: x\n{") << "its output is not JSON (illegal value at byte 1)";
    QTest::newRow("no bounding box") << QByteArray(R"({"objects": []})") << "its output has no bounding box";
    QTest::newRow("edge to an unknown node")
        << QByteArray(R"({"bb": "0,0,10,10", "edges": [{"tail": 0, "head": 1, "pos": "1,1 2,2 3,3 4,4"}]})")
        << "its output has an edge it does not place";
}

void TestDiagramLayout::refusesMalformedOutput()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, error);
    QString said;
    QVERIFY(!parseGraphvizJson(json, said));
    QCOMPARE(said, error);
}

void TestDiagramLayout::engineBySize_data()
{
    QTest::addColumn<int>("nodes");
    QTest::addColumn<int>("edges");
    QTest::addColumn<Engine>("engine");

    QTest::newRow("30 states, 3 symbols") << 30 << 90 << Engine::Dot;
    QTest::newRow("31 states") << 31 << 60 << Engine::Sfdp;
    QTest::newRow("few states, many edges") << 20 << 91 << Engine::Sfdp;
}

void TestDiagramLayout::engineBySize()
{
    QFETCH(int, nodes);
    QFETCH(int, edges);
    QFETCH(Engine, engine);
    QCOMPARE(GraphvizLayout::firstEngine({nodes, edges}), engine);
}

void TestDiagramLayout::laysOutWithGraphviz_data()
{
    QTest::addColumn<modAll>("model");
    QTest::addColumn<int>("nodes");

    QTest::newRow("dot") << endsInA() << 3;
    QTest::newRow("sfdp, 100 states") << randomAutomaton(100, 1) << 101;
}

void TestDiagramLayout::laysOutWithGraphviz()
{
    QFETCH(modAll, model);
    QFETCH(int, nodes);

    GraphvizLayout layout;
    QSignalSpy laidOut(&layout, &GraphLayout::laidOut);
    QSignalSpy failed(&layout, &GraphLayout::failed);
    layout.start(DotText::dotText(model), sizeOf(model));
    QVERIFY(laidOut.wait(20000));
    QCOMPARE(failed.count(), 0);
    QCOMPARE(laidOut.first().first().value<LaidOutGraph>().nodes.size(), nodes);
}

void TestDiagramLayout::failingProgramSaysWhy_data()
{
    QTest::addColumn<QString>("dot");   // a script body, or a path that is no program
    QTest::addColumn<bool>("large");    // large enough to go to sfdp
    QTest::addColumn<QString>("message");

    QTest::newRow("no such program") << "/nonexistent/dot" << false
                                     << "Graphviz's dot could not be run: execvp: No such file or directory";
    QTest::newRow("exits 1 with a reason") << "cat >/dev/null; echo 'Error: <stdin>: syntax error' >&2; exit 1"
                                           << false
                                           << "Graphviz's dot could not be run: it exited with code 1: "
                                              "Error: <stdin>: syntax error";
    QTest::newRow("crashes") << "cat >/dev/null; kill -SEGV $$" << false << "Graphviz's dot could not be run: it crashed";
    QTest::newRow("sfdp missing for a large graph") << "/nonexistent/sfdp" << true
                                                    << "Graphviz's sfdp could not be run: execvp: No such file or directory";
}

void TestDiagramLayout::failingProgramSaysWhy()
{
    QFETCH(QString, dot);
    QFETCH(bool, large);
    QFETCH(QString, message);

    QTemporaryDir dir;
    const QString program = dot.startsWith(u'/') ? dot : script(dir, QStringLiteral("dot"), dot);
    GraphvizLayout layout(nullptr, {program, program});
    QSignalSpy laidOut(&layout, &GraphLayout::laidOut);
    QSignalSpy failed(&layout, &GraphLayout::failed);
    const modAll model = large ? randomAutomaton(60, 2) : endsInA();
    layout.start(DotText::dotText(model), sizeOf(model));
    QCOMPARE(failed.count(), 0); // never answered from inside start()
    QVERIFY(failed.wait(10000));
    QCOMPARE(failed.first().first().toString(), message);
    QCOMPARE(laidOut.count(), 0);
}

void TestDiagramLayout::slowDotGivesWayToSfdp()
{
    QTemporaryDir dir;
    const QString slowDot = script(dir, QStringLiteral("dot"), QStringLiteral("cat >/dev/null; exec sleep 30"));
    GraphvizLayout layout(nullptr, {slowDot, QStringLiteral("sfdp")}, {200, 20000});
    QSignalSpy laidOut(&layout, &GraphLayout::laidOut);
    QSignalSpy failed(&layout, &GraphLayout::failed);
    layout.start(DotText::dotText(endsInA()), sizeOf(endsInA()));
    QVERIFY(laidOut.wait(10000));
    QCOMPARE(laidOut.first().first().value<LaidOutGraph>().nodes.size(), 3);
    QCOMPARE(failed.count(), 0);

    // sfdp has a budget too.
    const QString slowSfdp = script(dir, QStringLiteral("sfdp"), QStringLiteral("cat >/dev/null; exec sleep 30"));
    GraphvizLayout stuck(nullptr, {slowDot, slowSfdp}, {100, 300});
    QSignalSpy stuckFailed(&stuck, &GraphLayout::failed);
    stuck.start(DotText::dotText(endsInA()), sizeOf(endsInA()));
    QVERIFY(stuckFailed.wait(10000));
    QCOMPARE(stuckFailed.first().first().toString(),
             QStringLiteral("Graphviz's sfdp could not be run: it did not finish within 0.3 seconds"));
}

void TestDiagramLayout::newerTextReplacesALayoutStillRunning()
{
    // Takes its time on any text that mentions "slow"; lays the rest out at once.
    QTemporaryDir dir;
    const QString dot = script(dir, QStringLiteral("dot"),
                               QStringLiteral("input=$(cat)\n"
                                              "case \"$input\" in *slow*) exec sleep 30;; esac\n"
                                              "printf '%s' \"$input\" | exec dot \"$@\""));
    GraphvizLayout layout(nullptr, {dot, QStringLiteral("sfdp")}, {20000, 20000});
    QSignalSpy laidOut(&layout, &GraphLayout::laidOut);
    QSignalSpy failed(&layout, &GraphLayout::failed);
    const modAll slow = makeAutomaton({"slow"}, {}, {}, {{}});
    layout.start(DotText::dotText(slow), sizeOf(slow));
    QTest::qWait(200);
    layout.start(DotText::dotText(endsInA()), sizeOf(endsInA()));
    QVERIFY(laidOut.wait(10000));
    QCOMPARE(laidOut.first().first().value<LaidOutGraph>().nodes.size(), 3);
    QTest::qWait(500);
    QCOMPARE(laidOut.count(), 1);
    QCOMPARE(failed.count(), 0);
}

QTEST_GUILESS_MAIN(TestDiagramLayout)
#include "test_diagram_layout.moc"
