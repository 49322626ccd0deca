#include "analysis/dot_text.h"
#include "analysis/state_graph.h"
#include "document/tw_file.h"
#include "recorded_layout.h"
#include "test_automata.h"
#include "windows/diagram/diagram_items.h"
#include "windows/diagram/diagram_scene.h"
#include "windows/diagram/diagram_view.h"
#include "windows/diagram/diagram_window.h"
#include "windows/diagram/graphviz_layout.h"
#include "windows/diagram/image_file_chooser.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QXmlStreamReader>

namespace {

modAll example(const QString &name)
{
    const TwResult<modAll> loaded = TwFile::load(QStringLiteral(TARNWELL_EXAMPLES_DIR "/") + name + QStringLiteral(".tw"));
    if (!loaded.ok())
        qFatal("example %s unreadable", qPrintable(name));
    return loaded.value();
}

// "no 1 yet" (start) stays on 0 and goes to "seen a 1" (final) on 1, which
// stays on both: two dashed loops and one arrow.
modAll containsAOne() { return example(QStringLiteral("contains-a-one")); }

// Answers "Export Image..." from a script.
class ScriptedChooser final : public ImageFileChooser
{
public:
    QList<std::optional<Choice>> answers;
    std::optional<Choice> choose() override
    {
        if (answers.isEmpty())
            qFatal("an export dialog nobody scripted");
        return answers.takeFirst();
    }
};

// A Diagram window over a stand-in main window, laid out from recordings.
struct Fixture
{
    Fixture()
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the window never showed");
    }

    void draw(const modAll &model, const QString &recording)
    {
        window.showModel(model);
        layout.answer(recording);
    }

    // Plays a script of run reports, separated by ';':
    //   start STATE INPUT | step FROM TO CHAR LEFT [stay] | undo FROM TO CHAR LEFT [stay]
    //   end accepted|rejected|error STATE [immediate CONSUMED] | clear | redraw
    // where "-" stands for empty text.
    void play(const QString &script)
    {
        const auto text = [](const QString &word) { return word == QLatin1String("-") ? QString() : word; };
        RunObserver &observer = window.runObserver();
        for (const QString &event : script.split(u';', Qt::SkipEmptyParts)) {
            const QStringList w = event.split(u' ', Qt::SkipEmptyParts);
            if (w[0] == QLatin1String("start")) {
                observer.runStarted(qint16(w[1].toInt()), text(w.value(2, QStringLiteral("-"))));
            } else if (w[0] == QLatin1String("step") || w[0] == QLatin1String("undo")) {
                const RunStep step{text(w[3]), qint16(w[1].toInt()), qint16(w[2].toInt()), 0,
                                   w.value(5) != QLatin1String("stay"), text(w[4])};
                if (w[0] == QLatin1String("step"))
                    observer.stepTaken(step);
                else
                    observer.stepUndone(step);
            } else if (w[0] == QLatin1String("end")) {
                const RunEnd::Verdict verdict = w[1] == QLatin1String("accepted") ? RunEnd::Verdict::Accepted
                    : w[1] == QLatin1String("rejected")                          ? RunEnd::Verdict::Rejected
                                                                                  : RunEnd::Verdict::Error;
                const bool immediate = w.value(3) == QLatin1String("immediate");
                observer.runEnded({verdict, qint16(w[2].toInt()), QString(), immediate,
                                   immediate ? text(w.value(4, QStringLiteral("-"))) : QString()});
            } else if (w[0] == QLatin1String("clear")) {
                window.clearRun();
            } else if (w[0] == QLatin1String("redraw")) {
                draw(containsAOne(), QStringLiteral("contains-a-one"));
            } else {
                qFatal("unknown report %s", qPrintable(event));
            }
        }
        settle();
    }

    // Waits for the repaint that shows the latest report.
    void settle()
    {
        const QTimer *frame = window.findChild<QTimer *>(QStringLiteral("runFrame"));
        QTRY_VERIFY(!frame->isActive());
    }

    // The filled states ("name=Current") and the bold arrows ("from->to",
    // "from~to" for stays), in the automaton's order.
    QString highlight(const modAll &model) const
    {
        static const char *const fills[] = {"None", "Current", "Accepted", "Rejected"};
        QStringList shown;
        for (qint16 state = 0; state < model.state_count; ++state)
            if (const StateItem *item = window.scene().stateItem(state); item && item->fill() != StateFill::None)
                shown.append(item->label() + u'=' + QLatin1String(fills[int(item->fill())]));
        for (const StateGraph::Edge &edge : stateGraph(model).edges)
            if (const EdgeItem *item = window.scene().edgeItem(edge.from, edge.to, edge.stay); item && item->isHighlighted())
                shown.append(model.states[edge.from].name + (edge.stay ? u'~' : u'>') + model.states[edge.to].name);
        if (window.scene().startArrow() && window.scene().startArrow()->isHighlighted())
            shown.append(QStringLiteral("start arrow"));
        return shown.join(QStringLiteral(", "));
    }

    QWidget mainWindow;
    RecordedLayout layout;
    ScriptedChooser chooser;
    DiagramWindow window{&mainWindow, &layout, &chooser};
};

QColor colourAtState(DiagramWindow &window, qint16 state)
{
    QImage image(window.scene().sceneRect().size().toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    window.scene().render(&painter, QRectF(QPointF(0, 0), image.size()), window.scene().sceneRect());
    painter.end();
    // Beside the name, inside the circle.
    const StateItem *item = window.scene().stateItem(state);
    const QPointF inside = item->scenePos() + QPointF(0, item->boundingRect().height() / 3)
        - window.scene().sceneRect().topLeft();
    return image.pixelColor(inside.toPoint());
}

QStringList svgTexts(const QByteArray &svg, QString &error)
{
    QStringList texts;
    QXmlStreamReader reader(svg);
    while (!reader.atEnd())
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("text"))
            texts.append(reader.readElementText());
    if (reader.hasError())
        error = reader.errorString();
    return texts;
}

int nonWhitePixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != qRgb(255, 255, 255);
    return count;
}

} // namespace

class TestDiagramWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sceneFromRecordedLayout_data();
    void sceneFromRecordedLayout();
    void highlightFollowsTheRun_data();
    void highlightFollowsTheRun();
    void verdictColourIsPainted_data();
    void verdictColourIsPainted();
    void traceFollowsTheRun_data();
    void traceFollowsTheRun();
    void modelChangesRedraw();
    void closedWindowLaysNothingOut();
    void largeAutomatonDrawnInPart();
    void repaintsKeepThePaceOfTheEye();
    void failedLayoutSaysSoInOneLine_data();
    void failedLayoutSaysSoInOneLine();
    void exportsWhatIsDrawn_data();
    void exportsWhatIsDrawn();
    void failedExportSaysWhyAndChangesNothing();
    void zoomAndFit();
};

void TestDiagramWindow::sceneFromRecordedLayout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("finals");
    QTest::addColumn<int>("dashed");

    QTest::newRow("contains-a-one") << "contains-a-one" << "seen a 1" << 2;
    QTest::newRow("divisible-by-3") << "divisible-by-3" << "remainder 0" << 0;
    QTest::newRow("ends-in-a, full JSON") << "ends-in-a" << "q1" << 0;
    QTest::newRow("even-number-of-a") << "even-number-of-a" << "even" << 0;
}

void TestDiagramWindow::sceneFromRecordedLayout()
{
    QFETCH(QString, name);
    QFETCH(QString, finals);
    QFETCH(int, dashed);

    Fixture f;
    QSignalSpy drawn(&f.window, &DiagramWindow::drawn);
    const modAll model = example(name);
    f.draw(model, name);
    QCOMPARE(drawn.count(), 1);
    QCOMPARE(f.layout.requests, QStringList{DotText::dotText(model)});

    const DiagramScene &scene = f.window.scene();
    QCOMPARE(scene.stateItems().size(), model.state_count);
    QStringList finalsDrawn;
    for (qint16 state = 0; state < model.state_count; ++state) {
        const StateItem *item = scene.stateItem(state);
        QCOMPARE(item->label(), model.states[state].name);
        if (item->isFinal())
            finalsDrawn.append(item->label());
    }
    QCOMPARE(finalsDrawn.join(u','), finals);

    const StateGraph graph = stateGraph(model);
    int dashedDrawn = 0;
    for (const StateGraph::Edge &edge : graph.edges) {
        const EdgeItem *item = scene.edgeItem(edge.from, edge.to, edge.stay);
        QVERIFY(item);
        QCOMPARE(item->label(), DotText::edgeLabel(edge.symbols));
        QCOMPARE(item->isDashed(), edge.stay);
        dashedDrawn += item->isDashed();
    }
    QCOMPARE(dashedDrawn, dashed);
    // One arrow per edge and the start arrow, which ends at the start state.
    int arrows = 0;
    for (QGraphicsItem *item : scene.items())
        arrows += dynamic_cast<EdgeItem *>(item) != nullptr;
    QCOMPARE(arrows, graph.edges.size() + 1);
    QVERIFY(scene.startArrow());
    QVERIFY(scene.startArrow()->label().isEmpty());
    QVERIFY(scene.startArrow()->sceneBoundingRect().intersects(scene.stateItem(model.start_state)->sceneBoundingRect()));
    QVERIFY(f.window.notice().isEmpty());
}

void TestDiagramWindow::highlightFollowsTheRun_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("highlight");

    QTest::newRow("nothing yet") << "" << "";
    QTest::newRow("Play fills the start state") << "start 0 101" << "no 1 yet=Current";
    QTest::newRow("a stay lights its dashed loop")
        << "start 0 101; step 0 0 0 01 stay" << "no 1 yet=Current, no 1 yet~no 1 yet";
    QTest::newRow("a transition lights its arrow")
        << "start 0 101; step 0 1 1 01" << "seen a 1=Current, no 1 yet>seen a 1";
    QTest::newRow("only the arrow just taken")
        << "start 0 11; step 0 1 1 1; step 1 1 1 - stay" << "seen a 1=Current, seen a 1~seen a 1";
    QTest::newRow("ACCEPTED fills green") << "start 0 1; step 0 1 1 -; end accepted 1" << "seen a 1=Accepted";
    QTest::newRow("REJECTED fills red") << "start 0 0; step 0 0 0 - stay; end rejected 0" << "no 1 yet=Rejected";
    QTest::newRow("ERROR fills the state it stopped in")
        << "start 0 1x; step 0 1 1 x; end error 1" << "seen a 1=Rejected";
    QTest::newRow("immediate run: only the end") << "end accepted 1 immediate 01" << "seen a 1=Accepted";
    QTest::newRow("invalid start: nothing filled") << "start 0 1; end error -1 immediate -" << "";
    QTest::newRow("step undone") << "start 0 1; step 0 1 1 -; undo 0 1 1 -" << "no 1 yet=Current";
    QTest::newRow("the next Play clears the verdict")
        << "start 0 1; step 0 1 1 -; end accepted 1; start 0 0" << "no 1 yet=Current";
    QTest::newRow("clearRun") << "start 0 1; step 0 1 1 -; clear" << "";
    QTest::newRow("cleared verdict") << "end rejected 0 immediate 0; clear" << "";
    QTest::newRow("a redraw keeps the highlight")
        << "start 0 1; step 0 1 1 -; redraw" << "seen a 1=Current, no 1 yet>seen a 1";
    QTest::newRow("a state the drawing lacks") << "start 5 1; step 5 6 1 -" << "";
}

void TestDiagramWindow::highlightFollowsTheRun()
{
    QFETCH(QString, script);
    QFETCH(QString, highlight);

    Fixture f;
    f.draw(containsAOne(), QStringLiteral("contains-a-one"));
    f.play(script);
    QCOMPARE(f.highlight(containsAOne()), highlight);
}

// What the user sees: the colour painted inside the circle.
void TestDiagramWindow::verdictColourIsPainted_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("colour");

    QTest::newRow("current state") << "start 1 -" << "amber";
    QTest::newRow("ACCEPTED") << "end accepted 1 immediate 1" << "green";
    QTest::newRow("REJECTED") << "end rejected 1 immediate 1" << "red";
    QTest::newRow("ERROR") << "end error 1 immediate 1" << "red";
    QTest::newRow("cleared") << "end accepted 1 immediate 1; clear" << "white";
}

void TestDiagramWindow::verdictColourIsPainted()
{
    QFETCH(QString, script);
    QFETCH(QString, colour);

    Fixture f;
    f.draw(containsAOne(), QStringLiteral("contains-a-one"));
    f.play(script);
    const QColor painted = colourAtState(f.window, 1);
    const int r = painted.red(), g = painted.green(), b = painted.blue();
    const QString seen = r > 240 && g > 240 && b > 240 ? QStringLiteral("white")
        : r > g && g > b && b < 180                     ? QStringLiteral("amber")
        : g > r && g > b                                ? QStringLiteral("green")
        : r > g && r > b                                ? QStringLiteral("red")
                                                        : painted.name();
    QCOMPARE(seen, colour);
}

void TestDiagramWindow::traceFollowsTheRun_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("trace");

    const QString no = QStringLiteral("no 1 yet"), seen = QStringLiteral("seen a 1");
    const QString arrow = QStringLiteral(" \u2192 ");
    QTest::newRow("nothing yet") << "" << "";
    QTest::newRow("Play") << "start 0 0110" << "Read:     Input box: 0110    States: " + no;
    QTest::newRow("two steps") << "start 0 0110; step 0 0 0 110 stay; step 0 1 1 10"
                               << "Read: 01    Input box: 10    States: " + no + arrow + no + arrow + seen;
    QTest::newRow("the verdict keeps the trace")
        << "start 0 1; step 0 1 1 -; end accepted 1" << "Read: 1    Input box:     States: " + no + arrow + seen;
    QTest::newRow("a step undone") << "start 0 10; step 0 1 1 0; undo 0 1 1 0"
                                   << "Read:     Input box: 10    States: " + no;
    QTest::newRow("immediate run: the string and the end state")
        << "end accepted 1 immediate 0010" << "Read: 0010    End state: " + seen;
    QTest::newRow("immediate ERROR: what was read") << "end error 1 immediate 01" << "Read: 01    End state: " + seen;
    QTest::newRow("invalid start") << "end error -1 immediate -" << "Read: ";
    QTest::newRow("cleared") << "start 0 1; step 0 1 1 -; clear" << "";

    // 50 steps: the last 40 characters read, the first 40 still in the box,
    // the last 8 states.
    QString input;
    for (int i = 0; i < 100; ++i)
        input += QChar(u'a' + i % 26);
    QString script = "start 0 " + input;
    for (int i = 0; i < 50; ++i)
        script += QStringLiteral("; step %1 %2 %3 %4").arg(i % 2).arg((i + 1) % 2).arg(input[i]).arg(input.mid(i + 1));
    QStringList states{"..."};
    for (int k = 43; k <= 50; ++k) // the states after steps 43 to 50
        states.append(k % 2 ? seen : no);
    QTest::newRow("a long run keeps the ends")
        << script
        << "Read: ..." + input.mid(10, 40) + "    Input box: " + input.mid(50, 40) + "...    States: "
               + states.join(arrow);
}

void TestDiagramWindow::traceFollowsTheRun()
{
    QFETCH(QString, script);
    QFETCH(QString, trace);

    Fixture f;
    f.draw(containsAOne(), QStringLiteral("contains-a-one"));
    f.play(script);
    QCOMPARE(f.window.trace(), trace);
}

void TestDiagramWindow::modelChangesRedraw()
{
    Fixture f;
    QSignalSpy drawn(&f.window, &DiagramWindow::drawn);
    f.draw(containsAOne(), QStringLiteral("contains-a-one"));
    f.play(QStringLiteral("end accepted 1 immediate 1"));

    // Until the new layout is in, the old drawing stays as it was.
    const modAll three = example(QStringLiteral("divisible-by-3"));
    f.window.showModel(three);
    QCOMPARE(f.layout.requests.size(), 2);
    QCOMPARE(f.window.scene().stateItems().size(), 2);
    QCOMPARE(f.highlight(containsAOne()), QStringLiteral("seen a 1=Accepted"));
    QCOMPARE(drawn.count(), 1);

    f.layout.answer(QStringLiteral("divisible-by-3"));
    QCOMPARE(drawn.count(), 2);
    QCOMPARE(f.window.scene().stateItems().size(), 3);
    QCOMPARE(f.window.scene().stateItem(2)->label(), QStringLiteral("remainder 2"));
    // The highlight stays on the same state position; clearing it is for New
    // and Open, through clearRun().
    QCOMPARE(f.highlight(three), QStringLiteral("remainder 1=Accepted"));

    // No states: nothing to lay out, and the window says why it is empty.
    f.window.showModel(modAll());
    QCOMPARE(f.layout.requests.size(), 2);
    QCOMPARE(drawn.count(), 3);
    QVERIFY(f.window.scene().stateItems().isEmpty());
    QCOMPARE(f.window.notice(), QStringLiteral("The automaton has no states to draw."));
}

void TestDiagramWindow::closedWindowLaysNothingOut()
{
    Fixture f;
    QSignalSpy visible(&f.window, &DiagramWindow::visibilityChanged);
    f.draw(containsAOne(), QStringLiteral("contains-a-one"));
    f.play(QStringLiteral("start 0 1"));

    f.window.close();
    QCOMPARE(visible.count(), 1);
    QCOMPARE(visible.last().first().toBool(), false);
    QCOMPARE(f.highlight(containsAOne()), QString()); // what it showed is out of date once closed
    QCOMPARE(f.window.trace(), QString());

    f.window.showModel(endsInA());
    f.window.showModel(example(QStringLiteral("divisible-by-3")));
    QCOMPARE(f.layout.requests.size(), 1);

    f.window.show();
    QCOMPARE(visible.last().first().toBool(), true);
    QCOMPARE(f.layout.requests.size(), 2);
    QCOMPARE(f.layout.requests.last(), DotText::dotText(example(QStringLiteral("divisible-by-3"))));
}

void TestDiagramWindow::largeAutomatonDrawnInPart()
{
    // 600 states in a row on 'a', each back to the first on 'b'.
    QStringList names;
    QList<QList<qint16>> table;
    for (int i = 0; i < 600; ++i) {
        names.append(QStringLiteral("c%1").arg(i));
        table.append({qint16(qMin(i + 2, 600)), 1});
    }
    const modAll chain = makeAutomaton(names, {}, {"a", "b"}, table);

    Fixture f;
    f.window.showModel(chain);
    QCOMPARE(f.layout.requests.last(), DotText::dotText(stateGraphNearStart(chain, 2, DiagramWindow::mostDrawnStates)));
    QCOMPARE(f.layout.sizes.last().nodes, 3);
    f.layout.answer(QStringLiteral("divisible-by-3")); // laid out as s0, s1, s2 like the part
    QCOMPARE(f.window.scene().stateItems().size(), 3);
    QCOMPARE(f.window.notice(), QStringLiteral("600 states are more than a diagram shows readably: drawn are the 3 "
                                               "within two transitions of the start state."));
    // The run's states past the part have nothing to fill, and the trace names them.
    f.play(QStringLiteral("start 0 aaa; step 0 1 a aa; step 1 2 a a; step 2 3 a -"));
    QCOMPARE(f.window.trace(), QStringLiteral("Read: aaa    Input box:     States: c0 \u2192 c1 \u2192 c2 \u2192 c3"));
}

void TestDiagramWindow::repaintsKeepThePaceOfTheEye()
{
    Fixture f;
    f.draw(containsAOne(), QStringLiteral("contains-a-one"));
    RunObserver &run = f.window.runObserver();
    run.runStarted(0, QStringLiteral("11"));
    QCOMPARE(f.highlight(containsAOne()), QStringLiteral("no 1 yet=Current"));

    // A slow run: each tick shows the moment it comes.
    QTest::qWait(40);
    run.stepTaken({QStringLiteral("1"), 0, 1, 1, true, QStringLiteral("1")});
    QCOMPARE(f.highlight(containsAOne()), QStringLiteral("seen a 1=Current, no 1 yet>seen a 1"));
    QCOMPARE(f.window.trace(), QStringLiteral("Read: 1    Input box: 1    States: no 1 yet \u2192 seen a 1"));

    // A fast one: what comes within a frame of the last repaint shows with the
    // next, and that shows the latest report.
    run.stepTaken({QStringLiteral("1"), 1, 1, 1, false, QString()});
    run.runEnded({RunEnd::Verdict::Accepted, 1, {}, false, {}});
    QCOMPARE(f.highlight(containsAOne()), QStringLiteral("seen a 1=Current, no 1 yet>seen a 1"));
    f.settle();
    QCOMPARE(f.highlight(containsAOne()), QStringLiteral("seen a 1=Accepted"));
    QCOMPARE(f.window.trace(),
             QStringLiteral("Read: 11    Input box:     States: no 1 yet \u2192 seen a 1 \u2192 seen a 1"));
}

void TestDiagramWindow::failedLayoutSaysSoInOneLine_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("notice");

    QTest::newRow("Graphviz missing") << "/nonexistent/dot"
                                      << "Graphviz's dot could not be run: execvp: No such file or directory";
    QTest::newRow("Graphviz fails") << "/bin/false" << "Graphviz's dot could not be run: it exited with code 1";
}

void TestDiagramWindow::failedLayoutSaysSoInOneLine()
{
    QFETCH(QString, program);
    QFETCH(QString, notice);

    QWidget mainWindow;
    GraphvizLayout layout(nullptr, {program, program});
    ScriptedChooser chooser;
    DiagramWindow window(&mainWindow, &layout, &chooser);
    window.show();
    QSignalSpy drawn(&window, &DiagramWindow::drawn);
    window.showModel(containsAOne());
    QTRY_COMPARE(window.notice(), notice);
    QVERIFY(window.findChild<QLabel *>(QStringLiteral("lbl_notice"))->isVisible());
    QVERIFY(window.scene().items().isEmpty());
    QCOMPARE(drawn.count(), 0);

    // The window goes on working: a run, an export of the empty drawing.
    window.runObserver().runEnded({RunEnd::Verdict::Accepted, 1, {}, true, QStringLiteral("1")});
    QTRY_COMPARE(window.trace(), QStringLiteral("Read: 1    End state: seen a 1"));
    window.copyImage();
    QVERIFY(!QGuiApplication::clipboard()->image().isNull());
}

void TestDiagramWindow::exportsWhatIsDrawn_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("svg");

    QTest::newRow("PNG") << "diagram.png" << false;
    QTest::newRow("SVG") << "diagram.svg" << true;
}

void TestDiagramWindow::exportsWhatIsDrawn()
{
    QFETCH(QString, file);
    QFETCH(bool, svg);

    Fixture f;
    modAll hostile = containsAOne();
    hostile.states[0].name = QStringLiteral("<b>&amp; \"q\"");
    hostile.states[1].name = QString::fromUtf8("\xc3\xa9t\xc3\xa2t ]]> \xf0\x9f\x98\x80");
    f.draw(hostile, QStringLiteral("contains-a-one"));
    f.play(QStringLiteral("end accepted 1 immediate 1"));

    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    f.chooser.answers.append(ImageFileChooser::Choice{path, svg ? ImageExport::Format::Svg : ImageExport::Format::Png});
    f.window.findChild<QAction *>(QStringLiteral("cmd_export"))->trigger();
    QCOMPARE(f.window.exportMessage(), QString());
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();

    const QSizeF points = f.window.scene().sceneRect().size();
    if (svg) {
        QString error;
        const QStringList texts = svgTexts(bytes, error);
        QCOMPARE(error, QString());
        QVERIFY2(texts.contains(hostile.states[0].name), qPrintable(texts.join(u'|')));
        QVERIFY2(texts.contains(hostile.states[1].name), qPrintable(texts.join(u'|')));
        QVERIFY(texts.contains(QStringLiteral("0, 1")));
        QVERIFY(bytes.contains(QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(points.width()).arg(points.height()).toUtf8()));
    } else {
        const QImage image = QImage::fromData(bytes, "PNG");
        QCOMPARE(image.size(), (points * ImageExport::pixelsPerPoint).toSize());
        // Circles, arrows and names, and the verdict's green among them.
        QVERIFY(nonWhitePixels(image) > image.width() * image.height() / 50);
        const QPointF centre = f.window.scene().stateItem(1)->scenePos() - f.window.scene().sceneRect().topLeft();
        const QColor verdict = image.pixelColor((centre * ImageExport::pixelsPerPoint + QPointF(0, 30)).toPoint());
        QVERIFY2(verdict.green() > verdict.red() && verdict.green() > verdict.blue(), qPrintable(verdict.name()));
    }

    // Copy Image puts the same picture on the clipboard.
    f.window.findChild<QAction *>(QStringLiteral("cmd_copy"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().size(), ImageExport::bitmap(f.window.scene()).size());
}

void TestDiagramWindow::failedExportSaysWhyAndChangesNothing()
{
    Fixture f;
    f.draw(containsAOne(), QStringLiteral("contains-a-one"));
    f.play(QStringLiteral("start 0 1; step 0 1 1 -"));
    QTemporaryDir dir;
    QFile old(dir.filePath(QStringLiteral("old.png")));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old picture");
    old.close();

    // Cancelled: nothing written, nothing said.
    f.chooser.answers.append(std::nullopt);
    f.window.exportImage();
    QCOMPARE(f.window.exportMessage(), QString());

    // A folder that does not exist.
    const QString nowhere = dir.filePath(QStringLiteral("missing/diagram.svg"));
    f.chooser.answers.append(ImageFileChooser::Choice{nowhere, ImageExport::Format::Svg});
    f.window.exportImage();
    QVERIFY2(f.window.exportMessage().startsWith(QStringLiteral("The image could not be saved as ")
                                                 + QDir::toNativeSeparators(nowhere) + QStringLiteral(": ")),
             qPrintable(f.window.exportMessage()));
    QVERIFY(f.window.exportMessage().size() > QDir::toNativeSeparators(nowhere).size() + 36); // a reason follows
    QVERIFY(f.window.findChild<QLabel *>(QStringLiteral("lbl_export"))->isVisible());
    QVERIFY(!QFile::exists(nowhere));
    QCOMPARE(f.highlight(containsAOne()), QStringLiteral("seen a 1=Current, no 1 yet>seen a 1"));
    QCOMPARE(f.window.scene().stateItems().size(), 2);

    // A file in the way of the folder: the old file is still whole.
    const QString blocked = old.fileName() + QStringLiteral("/diagram.png");
    f.chooser.answers.append(ImageFileChooser::Choice{blocked, ImageExport::Format::Png});
    f.window.exportImage();
    QVERIFY(f.window.exportMessage().startsWith(QStringLiteral("The image could not be saved as ")));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old picture"));

    // The next export that works clears the message.
    f.chooser.answers.append(ImageFileChooser::Choice{old.fileName(), ImageExport::Format::Png});
    f.window.exportImage();
    QCOMPARE(f.window.exportMessage(), QString());
    QVERIFY(!f.window.findChild<QLabel *>(QStringLiteral("lbl_export"))->isVisible());
}

void TestDiagramWindow::zoomAndFit()
{
    Fixture f;
    QApplication::setActiveWindow(&f.window);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.draw(example(QStringLiteral("divisible-by-3")), QStringLiteral("divisible-by-3"));
    DiagramView &view = f.window.view();
    const qreal fitted = view.zoom();
    // Fitted: the whole drawing is in sight.
    QVERIFY(view.mapToScene(view.viewport()->rect()).boundingRect().adjusted(-1, -1, 1, 1).contains(
        f.window.scene().sceneRect()));

    QTest::keyClick(&f.window, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(view.zoom(), fitted * 1.25);
    QTest::keyClick(&f.window, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(&f.window, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(view.zoom(), fitted / 1.25);
    QTest::keyClick(&f.window, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(view.zoom(), fitted);

    const QPointF at = view.viewport()->rect().center();
    QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &wheel);
    QCOMPARE(view.zoom(), fitted * 1.25);

    // A redraw fits again; so does a resize of a fitted view.
    f.layout.answer(QStringLiteral("divisible-by-3"));
    QCOMPARE(view.zoom(), fitted);
    f.window.resize(f.window.width() / 2, f.window.height());
    QTRY_VERIFY(view.zoom() < fitted);
}

QTEST_MAIN(TestDiagramWindow)
#include "test_diagram_window.moc"
