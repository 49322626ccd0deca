#include "analysis/dot_text.h"
#include "analysis/state_graph.h"
#include "test_automata.h"
#include "windows/diagram/graphviz_layout.h"
#include "windows/diagram/laid_out_graph.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

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
    void refusesMalformedOutput_data();
    void refusesMalformedOutput();
    void readsAGoodGraph();
    void untrustedProgramIsHeldBack_data();
    void untrustedProgramIsHeldBack();
    void laysOutWithGraphviz_data();
    void laysOutWithGraphviz();
    void failingProgramSaysWhy_data();
    void failingProgramSaysWhy();
    void slowDotGivesWayToSfdp();
    void newerTextReplacesALayoutStillRunning();
};



void TestDiagramLayout::refusesMalformedOutput_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("error");

    QTest::newRow("not JSON") << QByteArray("Warning: x\n{") << "its output is not JSON (illegal value at byte 1)";
    const QString noBox = "its output has no bounding box that can be drawn";
    const QString badNode = "its output places node s0 nowhere it can be drawn";
    const QString badEdge = "its output has an edge it does not place where it can be drawn";
    QTest::newRow("no bounding box") << QByteArray(R"({"objects": []})") << noBox;
    QTest::newRow("edge to an unknown node")
        << QByteArray(R"({"bb": "0,0,10,10", "edges": [{"tail": 0, "head": 1, "pos": "1,1 2,2 3,3 4,4"}]})") << badEdge;

    // Every number is checked: a node, an edge, the box; nan, inf, 1e308, a
    // negative size.
    const auto graph = [](const char *bb, const char *node, const char *edge) {
        return QByteArray(R"({"bb": ")") + bb + R"(", "objects": [{"_gvid": 0, "name": "s0", )" + node
            + R"(}], "edges": [{"tail": 0, "head": 0, )" + edge + "}]}";
    };
    const char *goodBox = "0,0,100,50";
    const char *goodNode = R"("pos": "20,25", "width": "0.5", "height": "0.5")";
    const char *goodEdge = R"("pos": "e,30,30 20,25 22,27 25,28 28,29", "lp": "25,40")";
    QTest::newRow("a box of nan") << graph("0,0,nan,50", goodNode, goodEdge) << noBox;
    QTest::newRow("a box of inf") << graph("0,0,100,inf", goodNode, goodEdge) << noBox;
    QTest::newRow("a box of 1e308") << graph("0,0,1e308,50", goodNode, goodEdge) << noBox;
    QTest::newRow("a box turned inside out") << graph("100,0,0,50", goodNode, goodEdge) << noBox;
    QTest::newRow("a node at nan") << graph(goodBox, R"("pos": "nan,25", "width": "0.5", "height": "0.5")", goodEdge)
                                   << badNode;
    QTest::newRow("a node at -inf") << graph(goodBox, R"("pos": "20,-inf", "width": "0.5", "height": "0.5")", goodEdge)
                                    << badNode;
    QTest::newRow("a node of negative width")
        << graph(goodBox, R"("pos": "20,25", "width": "-0.5", "height": "0.5")", goodEdge) << badNode;
    QTest::newRow("a node 1e308 inches high")
        << graph(goodBox, R"("pos": "20,25", "width": "0.5", "height": "1e308")", goodEdge) << badNode;
    QTest::newRow("a spline through 1e308")
        << graph(goodBox, goodNode, R"("pos": "e,30,30 20,25 22,1e308 25,28 28,29")") << badEdge;
    QTest::newRow("an arrow tip at nan") << graph(goodBox, goodNode, R"("pos": "e,nan,30 20,25 22,27 25,28 28,29")")
                                         << badEdge;
    QTest::newRow("a tail arrow at inf") << graph(goodBox, goodNode, R"("pos": "s,inf,0 20,25 22,27 25,28 28,29")")
                                         << badEdge;
    QTest::newRow("a label at nan") << graph(goodBox, goodNode, R"("pos": "e,30,30 20,25 22,27 25,28 28,29", "lp": "nan,1")")
                                    << badEdge;
}

void TestDiagramLayout::refusesMalformedOutput()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, error);
    QString said;
    QVERIFY(!parseGraphvizJson(json, said));
    QCOMPARE(said, error);
}

// The rows above differ from a graph that is read by the one number each breaks.
void TestDiagramLayout::readsAGoodGraph()
{
    const QByteArray json = R"({"bb": "0,0,100,50", "objects": [{"_gvid": 0, "name": "s0", "pos": "20,25", "width": "0.5",)"
                            R"( "height": "0.5"}], "edges": [{"tail": 0, "head": 0,)"
                            R"( "pos": "s,19,24 e,30,30 20,25 22,27 25,28 28,29", "lp": "25,40"}]})";
    QString said;
    const std::optional<LaidOutGraph> graph = parseGraphvizJson(json, said);
    QVERIFY2(graph, qPrintable(said));
    QCOMPARE(graph->bounds, QRectF(0, 0, 100, 50));
    QCOMPARE(graph->nodes.value("s0").centre, QPointF(20, 25));
    QCOMPARE(graph->nodes.value("s0").size, QSizeF(36, 36));
    QCOMPARE(graph->edges.size(), 1);
    QCOMPARE(graph->edges.first().spline.size(), 4);
    QCOMPARE(*graph->edges.first().arrowTip, QPointF(30, 20));
    QCOMPARE(*graph->edges.first().labelCentre, QPointF(25, 10));
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

// A layout program that writes without end, or says too much on its errors:
// what is taken is bounded, and one line of its message is shown, cut.
void TestDiagramLayout::untrustedProgramIsHeldBack_data()
{
    QTest::addColumn<QString>("dot");
    QTest::addColumn<QString>("message");
    const QString said = "Graphviz's dot could not be run: ";
    QTest::newRow("output without end") << "cat >/dev/null; exec yes" << said + "it wrote more than 1 MiB";
    QTest::newRow("output that ends past the limit")
        << "cat >/dev/null; head -c 2000000 /dev/zero; exit 0" << said + "it wrote more than 1 MiB";
    QTest::newRow("a 5 MB line of errors") << "cat >/dev/null; head -c 5000000 /dev/zero | tr '\\0' x >&2; exit 1"
                                           << said + "it exited with code 1: " + QString(200, 'x') + "...";
    QTest::newRow("errors without end, first line only")
        << "cat >/dev/null; echo 'Error: the first line' >&2; yes 'and more' >&2 & sleep 1; exit 3"
        << said + "it exited with code 3: Error: the first line";
}

void TestDiagramLayout::untrustedProgramIsHeldBack()
{
    QFETCH(QString, dot);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString program = script(dir, QStringLiteral("dot"), dot);
    GraphvizLayout layout(nullptr, {program, program}, {10000, 10000, qint64(1) << 20});
    QSignalSpy failed(&layout, &GraphLayout::failed);
    layout.start(DotText::dotText(endsInA()), sizeOf(endsInA()));
    QVERIFY(failed.wait(20000));
    QCOMPARE(failed.first().first().toString(), message);
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
