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
