#include "analysis/dot_text.h"
#include "analysis/state_graph.h"
#include "diagram_probe.h"
#include "document/tw_file.h"
#include "recorded_layout.h"
#include "small_disk.h"
#include "test_files.h"
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
#include <QGraphicsScene>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QXmlStreamReader>

#include <limits>

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

    // Plays run reports, ';' apart ("-" is empty text), then waits for the repaint:
    //   start STATE INPUT | step FROM TO CHAR LEFT [stay] | undo (as step)
    //   end accepted|rejected|error STATE [immediate CONSUMED] | pause | resume
    //   | clear | redraw
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
                w[0] == QLatin1String("step") ? observer.stepTaken(step) : observer.stepUndone(step);
            } else if (w[0] == QLatin1String("end")) {
                const RunEnd::Verdict verdict = w[1] == QLatin1String("accepted") ? RunEnd::Verdict::Accepted
                    : w[1] == QLatin1String("rejected")                          ? RunEnd::Verdict::Rejected
                                                                                  : RunEnd::Verdict::Error;
                const bool immediate = w.value(3) == QLatin1String("immediate");
                observer.runEnded({verdict, qint16(w[2].toInt()), QString(), immediate,
                                   immediate ? text(w.value(4, QStringLiteral("-"))) : QString()});
            } else if (w[0] == QLatin1String("pause") || w[0] == QLatin1String("resume")) {
                observer.runPaused(w[0] == QLatin1String("pause"));
            } else if (w[0] == QLatin1String("clear")) {
                window.clearRun();
            } else {
                draw(containsAOne(), QStringLiteral("contains-a-one"));
            }
        }
        settle();
    }

    // Waits for the repaint that shows the latest report.
    void settle() { QVERIFY(DiagramProbe::settled(window)); }

    QString highlight(const modAll &model) const { return DiagramProbe::highlight(window, model); }

    QWidget mainWindow;
    RecordedLayout layout;
    ScriptedChooser chooser;
    DiagramWindow window{&mainWindow, &layout, &chooser};
};

} // namespace

class TestDiagramWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sceneFromRecordedLayout_data();
    void sceneFromRecordedLayout();
    void runIsFollowed_data();
    void runIsFollowed();
    void fillsArePainted_data();
    void fillsArePainted();
    void traceKeepsTheCurrentStateInSight();
    void redrawsOnlyWhenShown();
    void chosenPathIsDrawn_data();
    void chosenPathIsDrawn();
    void stepActionsOnTheToolbar();
    void largeAutomatonDrawnInPart();
    void failedLayoutSaysSoInOneLine();
    void exportsWhatIsDrawn_data();
    void exportsWhatIsDrawn();
    void failedExportSaysWhyAndChangesNothing();
    void exportMeetsAFullDiskOrTheSizeLimit_data();
    void exportMeetsAFullDiskOrTheSizeLimit();
    void exportedSizeStaysWhole_data();
    void exportedSizeStaysWhole();
    void zoomAndFit();
};

void TestDiagramWindow::sceneFromRecordedLayout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("finals");
    QTest::addColumn<int>("dashed");

    QTest::newRow("contains-a-one") << "contains-a-one" << "seen a 1" << 2;
    QTest::newRow("ends-in-a, full JSON") << "ends-in-a" << "q1" << 0;
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
    QStringList labels, finalsDrawn;
    for (qint16 state = 0; state < model.state_count; ++state) {
        labels.append(scene.stateItem(state)->label());
        if (scene.stateItem(state)->isFinal())
            finalsDrawn.append(labels.last());
    }
    QCOMPARE(labels.size(), scene.stateItems().size());
    QCOMPARE(finalsDrawn.join(u','), finals);

    const StateGraph graph = stateGraph(model);
    int dashedDrawn = 0, arrows = 0;
    for (const StateGraph::Edge &edge : graph.edges) {
        const EdgeItem *item = scene.edgeItem(edge.from, edge.to, edge.stay);
        QVERIFY(item);
        QCOMPARE(item->label() + (item->isDashed() ? " dashed" : ""),
                 DotText::edgeLabel(edge.symbols) + (edge.stay ? " dashed" : ""));
        dashedDrawn += item->isDashed();
    }
    QCOMPARE(dashedDrawn, dashed);
    // One arrow per edge and the start arrow, which ends at the start state.
    for (QGraphicsItem *item : scene.items())
        arrows += dynamic_cast<EdgeItem *>(item) != nullptr;
    QCOMPARE(arrows, graph.edges.size() + 1);
    QVERIFY(scene.startArrow()->sceneBoundingRect().intersects(scene.stateItem(model.start_state)->sceneBoundingRect()));
}

// The highlight on the drawing and the trace under it, after a script of run
// reports on contains-a-one.
void TestDiagramWindow::runIsFollowed_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("highlight");
    QTest::addColumn<QString>("trace");

    const QString no = QStringLiteral("no 1 yet"), seen = QStringLiteral("seen a 1"), arrow = QStringLiteral(" \u2192 ");
    QTest::newRow("nothing yet") << "" << "" << "";
    QTest::newRow("Play fills the start state") << "start 0 0110" << no + "=Current"
                                                << "Read:     Input box: 0110    States: " + no;
    QTest::newRow("a stay lights its dashed loop, a step only its arrow")
        << "start 0 0110; step 0 0 0 110 stay; step 0 1 1 10" << seen + "=Current, " + no + ">" + seen
        << "Read: 01    Input box: 10    States: " + no + arrow + no + arrow + seen;
    QTest::newRow("ACCEPTED fills green; the trace stays and says the run ended")
        << "start 0 1; step 0 1 1 -; end accepted 1" << seen + "=Accepted"
        << "Run ended: ACCEPTED    Read: 1    Input box:     States: " + no + arrow + seen;
    QTest::newRow("ERROR fills the state it stopped in") << "start 0 1x; step 0 1 1 x; end error 1" << seen + "=Rejected"
        << "Run ended: ERROR    Read: 1    Input box: x    States: " + no + arrow + seen;
    QTest::newRow("paused") << "start 0 10; step 0 1 1 0; pause" << seen + "=Current, " + no + ">" + seen
                            << "Paused    Read: 1    Input box: 0    States: " + no + arrow + seen;
    QTest::newRow("going on after a pause") << "start 0 10; pause; resume; step 0 1 1 0"
                                            << seen + "=Current, " + no + ">" + seen
                                            << "Read: 1    Input box: 0    States: " + no + arrow + seen;
    QTest::newRow("the end taken back: paused again") << "start 0 1; step 0 1 1 -; end rejected 1; undo 1 1 - -; pause"
        << seen + "=Current" << "Paused    Read: 1    Input box:     States: " + no + arrow + seen;
    QTest::newRow("immediate run: only the end") << "end rejected 0 immediate 0010" << no + "=Rejected"
                                                 << "Read: 0010    End state: " + no;
    QTest::newRow("invalid start: nothing filled") << "end error -1 immediate -" << "" << "Read: ";
    QTest::newRow("step undone") << "start 0 10; step 0 1 1 0; undo 0 1 1 0" << no + "=Current"
                                 << "Read:     Input box: 10    States: " + no;
    QTest::newRow("the next Play clears the verdict") << "start 0 1; step 0 1 1 -; end accepted 1; start 0 0"
                                                      << no + "=Current" << "Read:     Input box: 0    States: " + no;
    QTest::newRow("clearRun") << "start 0 1; step 0 1 1 -; clear" << "" << "";
    QTest::newRow("a redraw keeps the highlight") << "start 0 1; step 0 1 1 -; redraw" << seen + "=Current, " + no + ">" + seen
                                                  << "Read: 1    Input box:     States: " + no + arrow + seen;
    QTest::newRow("states the drawing lacks") << "start 5 1; step 5 6 1 -" << "" << "Read: 1    Input box:     States: " + arrow;

    // 50 steps: the last 40 characters read, the first 40 still in the box, the last 8 states.
    QString input;
    for (int i = 0; i < 100; ++i)
        input += QChar(u'a' + i % 26);
    QString script = "start 0 " + input;
    for (int i = 0; i < 50; ++i)
        script += QStringLiteral("; step %1 %2 %3 %4").arg(i % 2).arg((i + 1) % 2).arg(input[i]).arg(input.mid(i + 1));
    const QString states = "..." + arrow + QStringList{seen, no, seen, no, seen, no, seen, no}.join(arrow);
    QTest::newRow("a long run keeps the ends") << script << no + "=Current"
        << "Read: ..." + input.mid(10, 40) + "    Input box: " + input.mid(50, 40) + "...    States: " + states;
}

void TestDiagramWindow::runIsFollowed()
{
    QFETCH(QString, script);
    QFETCH(QString, highlight);
    QFETCH(QString, trace);

    Fixture f;
    f.window.resize(2400, 480); // room for the whole line
    f.draw(containsAOne(), QStringLiteral("contains-a-one"));
    f.play(script);
    QCOMPARE(f.highlight(containsAOne()), highlight);
    QCOMPARE(f.window.trace(), trace);
}

// The colour a state is painted in after a run's reports on contains-a-one: the
// most common one in the scene as drawn over the state's box.
void TestDiagramWindow::fillsArePainted_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("colour");
    QTest::newRow("no run: white") << "" << 0 << "#ffffff";
    QTest::newRow("the current state: amber") << "start 0 1" << 0 << "#ffe082";
    QTest::newRow("ACCEPTED: green") << "end accepted 1 immediate 1" << 1 << "#a5d6a7";
    QTest::newRow("REJECTED: red") << "end rejected 0 immediate 0" << 0 << "#ef9a9a";
    QTest::newRow("ERROR: red") << "start 0 1x; step 0 1 1 x; end error 1" << 1 << "#ef9a9a";
}

void TestDiagramWindow::fillsArePainted()
{
    QFETCH(QString, script);
    QFETCH(int, state);
    QFETCH(QString, colour);
    Fixture f;
    f.draw(containsAOne(), QStringLiteral("contains-a-one"));
    f.play(script);
    const QRectF box = f.window.scene().stateItem(qint16(state))->sceneBoundingRect();
    QImage image((box.size() * 4).toSize(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    f.window.scene().render(&painter, image.rect(), box);
    painter.end();
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb common = 0;
    for (auto count = counts.cbegin(); count != counts.cend(); ++count)
        if (count.value() > counts.value(common))
            common = count.key();
    QCOMPARE(QColor::fromRgba(common).name(), colour);
}

// However narrow the window, the trace ends with the state the run stands in;
// a wider window shows more of the states before it.
void TestDiagramWindow::traceKeepsTheCurrentStateInSight()
{
    Fixture f;
    f.draw(containsAOne(), QStringLiteral("contains-a-one"));
    f.play(QStringLiteral("start 0 00001; step 0 0 0 0001 stay; step 0 0 0 001 stay; step 0 0 0 01 stay; "
                          "step 0 0 0 1 stay; step 0 1 1 -"));
    const auto *label = f.window.findChild<QLabel *>(QStringLiteral("lbl_trace"));
    const auto states = [&] { return f.window.trace().section(QStringLiteral("States: "), 1); };
    const QString arrow = QStringLiteral(" \u2192 ");

    f.window.resize(1200, 400);
    QTRY_COMPARE(label->width(), 1200);
    QCOMPARE(states(), QStringList(5, QStringLiteral("no 1 yet")).join(arrow) + arrow + "seen a 1");

    f.window.resize(360, 400);
    QTRY_COMPARE(label->width(), 360);
    QVERIFY2(states().startsWith("..." + arrow) && states().endsWith(arrow + "seen a 1"), qPrintable(states()));
    QVERIFY(QFontMetrics(label->font()).horizontalAdvance(f.window.trace()) <= label->contentsRect().width());

    // A pause is said first; the state stays in sight, the tape gives way.
    f.play(QStringLiteral("pause"));
    QVERIFY2(f.window.trace().startsWith("Paused    ") && states().endsWith(arrow + "seen a 1"),
             qPrintable(f.window.trace()));
    QVERIFY(QFontMetrics(label->font()).horizontalAdvance(f.window.trace()) <= label->contentsRect().width());
}

void TestDiagramWindow::chosenPathIsDrawn_data()
{
    QTest::addColumn<QString>("before");  // run reports before the path is chosen
    QTest::addColumn<QString>("string");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("after");   // and after
    QTest::addColumn<QString>("highlight");

    const QString no = QStringLiteral("no 1 yet"), seen = QStringLiteral("seen a 1");
    const int accepted = int(RunVerdict::Accepted), rejected = int(RunVerdict::Rejected);
    QTest::newRow("every state and arrow of the path, the end by its verdict")
        << "" << "01" << accepted << "" << no + "=Current, " + seen + "=Accepted, " + no + "~" + no + ", " + no + ">" + seen;
    QTest::newRow("stopped at an invalid character") << "" << "0x" << int(RunVerdict::Error) << ""
                                                     << no + "=Rejected, " + no + "~" + no;
    QTest::newRow("a timed run going wins") << "start 0 01" << "01" << accepted << "" << no + "=Current";
    QTest::newRow("a run's start clears the path") << "" << "01" << accepted << "start 0 1" << no + "=Current";
    QTest::newRow("after a run's end the path shows") << "start 0 1; step 0 1 1 -; end accepted 1" << "0"
                                                      << rejected << "" << no + "=Rejected, " + no + "~" + no;
    QTest::newRow("a redraw keeps the path") << "" << "1" << accepted << "redraw"
                                             << no + "=Current, " + seen + "=Accepted, " + no + ">" + seen;
    QTest::newRow("clearRun clears it") << "" << "1" << accepted << "clear" << "";
}

void TestDiagramWindow::chosenPathIsDrawn()
{
    QFETCH(QString, before);
    QFETCH(QString, string);
    QFETCH(int, verdict);
    QFETCH(QString, after);
    QFETCH(QString, highlight);

    Fixture f;
    const modAll model = containsAOne();
    f.draw(model, QStringLiteral("contains-a-one"));
    f.play(before);
    f.window.showPath(runPath(model, string), RunVerdict(verdict));
    f.play(after);
    QCOMPARE(f.highlight(model), highlight);
}

// Step and Step Back sit beside the trace; at the width of a window beside the
// main window every button of the window is in view (none in an overflow menu).
void TestDiagramWindow::stepActionsOnTheToolbar()
{
    Fixture f;
    QAction step(QStringLiteral("&Step")), back(QStringLiteral("Step &Back"));
    f.window.addStepActions(&step, &back);
    auto *runBar = f.window.findChild<QToolBar *>(QStringLiteral("bar_run"));
    QVERIFY(runBar);
    QCOMPARE(runBar->actions(), (QList<QAction *>{&step, &back}));
    f.window.resize(440, 300);
    f.window.show();
    QStringList hidden;
    for (const QToolBar *bar : f.window.findChildren<QToolBar *>())
        for (QAction *action : bar->actions())
            if (!action->isSeparator() && !bar->widgetForAction(action)->isVisible())
                hidden << action->text();
    QCOMPARE(hidden.join(u'|'), QString());
    QSignalSpy stepped(&step, &QAction::triggered);
    QTest::mouseClick(runBar->widgetForAction(&step), Qt::LeftButton);
    QCOMPARE(stepped.size(), 1);
}

// Until a new layout is in, the old drawing stays; a closed window lays nothing
// out and shows the latest model when it opens again.
void TestDiagramWindow::redrawsOnlyWhenShown()
{
    Fixture f;
    QSignalSpy drawn(&f.window, &DiagramWindow::drawn);
    QSignalSpy visible(&f.window, &DiagramWindow::visibilityChanged);
    f.draw(containsAOne(), QStringLiteral("contains-a-one"));
    f.play(QStringLiteral("end accepted 1 immediate 1"));
    const modAll three = example(QStringLiteral("divisible-by-3"));
    f.window.showModel(three);
    QCOMPARE(f.window.scene().stateItems().size() + drawn.count(), 2 + 1);
    f.layout.answer(QStringLiteral("divisible-by-3"));
    QCOMPARE(f.window.scene().stateItem(2)->label() + u' ' + QString::number(drawn.count()), "remainder 2 2");
    // The highlight stays on the same state position; clearing it is for New and Open.
    QCOMPARE(f.highlight(three), QStringLiteral("remainder 1=Accepted"));

    // No states: nothing to lay out, and the window says why it is empty.
    f.window.showModel(modAll());
    QCOMPARE(f.window.notice(), QStringLiteral("The automaton has no states to draw."));

    f.window.close();
    QCOMPARE(visible.last().first().toBool(), false);
    QCOMPARE(f.highlight(three) + f.window.trace(), QString());   // out of date once closed
    f.window.showModel(endsInA());
    f.window.showModel(three);
    QCOMPARE(f.layout.requests.size(), 2);
    f.window.show();
    QCOMPARE(f.layout.requests, (QStringList{DotText::dotText(containsAOne()), DotText::dotText(three), DotText::dotText(three)}));
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
    f.layout.answer(QStringLiteral("divisible-by-3")); // laid out as s0, s1, s2 like the part
    QCOMPARE(f.window.notice(), QStringLiteral("600 states are more than a diagram shows readably: drawn are the 3 "
                                               "within two transitions of the start state."));
    // The run's states past the part have nothing to fill, and the trace names them.
    f.play(QStringLiteral("start 0 aaa; step 0 1 a aa; step 1 2 a a; step 2 3 a -"));
    QCOMPARE(f.window.trace(), QStringLiteral("Read: aaa    Input box:     States: c0 \u2192 c1 \u2192 c2 \u2192 c3"));
}


// Without Graphviz the window says so in one line and goes on working.
void TestDiagramWindow::failedLayoutSaysSoInOneLine()
{
    QWidget mainWindow;
    GraphvizLayout layout(nullptr, {QStringLiteral("/nonexistent/dot"), QStringLiteral("/nonexistent/dot")});
    ScriptedChooser chooser;
    DiagramWindow window(&mainWindow, &layout, &chooser);
    window.show();
    window.showModel(containsAOne());
    QTRY_COMPARE(window.notice(), QStringLiteral("Graphviz's dot could not be run: execvp: No such file or directory"));
    QVERIFY(window.findChild<QLabel *>(QStringLiteral("lbl_notice"))->isVisible());
    QVERIFY(window.scene().items().isEmpty());
    window.runObserver().runEnded({RunEnd::Verdict::Accepted, 1, {}, true, QStringLiteral("1")});
    QTRY_COMPARE(window.trace(), QStringLiteral("Read: 1    End state: seen a 1"));
    window.copyImage();
    QVERIFY(!QGuiApplication::clipboard()->image().isNull());
}

void TestDiagramWindow::exportsWhatIsDrawn_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("PNG") << "diagram.png";
    QTest::newRow("SVG") << "diagram.svg";
}

// Hostile names read as typed in the SVG; the PNG has the drawing's size and
// the verdict's green.
void TestDiagramWindow::exportsWhatIsDrawn()
{
    QFETCH(QString, file);
    const bool svg = file.endsWith(QLatin1String(".svg"));
    Fixture f;
    modAll hostile = containsAOne();
    hostile.states[0].name = QStringLiteral("<b>&amp; \"q\"");
    hostile.states[1].name = QString::fromUtf8("\xc3\xa9t\xc3\xa2t ]]> \xf0\x9f\x98\x80");
    f.draw(hostile, QStringLiteral("contains-a-one"));
    f.play(QStringLiteral("end accepted 1 immediate 1"));

    QTemporaryDir dir;
    f.chooser.answers.append(ImageFileChooser::Choice{dir.filePath(file), svg ? ImageExport::Format::Svg : ImageExport::Format::Png});
    f.window.findChild<QAction *>(QStringLiteral("cmd_export"))->trigger();
    QCOMPARE(f.window.exportMessage(), QString());
    QFile written(dir.filePath(file));
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    const QSizeF points = f.window.scene().sceneRect().size();
    if (svg) {
        QStringList texts;
        QXmlStreamReader reader(bytes);
        while (!reader.atEnd())
            if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("text"))
                texts.append(reader.readElementText());
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        for (const QString &label : {hostile.states[0].name, hostile.states[1].name, QStringLiteral("0, 1")})
            QVERIFY2(texts.contains(label), qPrintable(texts.join(u'|')));
    } else {
        const QImage image = QImage::fromData(bytes, "PNG");
        QCOMPARE(image.size(), (points * ImageExport::pixelsPerPoint).toSize());
        const QPointF centre = f.window.scene().stateItem(1)->scenePos() - f.window.scene().sceneRect().topLeft();
        const QColor verdict = image.pixelColor((centre * ImageExport::pixelsPerPoint + QPointF(0, 30)).toPoint());
        QVERIFY2(verdict.green() > verdict.red() && verdict.green() > verdict.blue(), qPrintable(verdict.name()));
    }
    f.window.findChild<QAction *>(QStringLiteral("cmd_copy"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().size(), ImageExport::bitmap(f.window.scene()).size());
}

void TestDiagramWindow::failedExportSaysWhyAndChangesNothing()
{
    Fixture f;
    f.draw(containsAOne(), QStringLiteral("contains-a-one"));
    f.play(QStringLiteral("start 0 1; step 0 1 1 -"));
    QTemporaryDir dir;
    f.chooser.answers.append(std::nullopt);   // cancelled: nothing said
    f.window.exportImage();
    QCOMPARE(f.window.exportMessage(), QString());

    const QString nowhere = dir.filePath(QStringLiteral("missing/diagram.svg"));
    f.chooser.answers.append(ImageFileChooser::Choice{nowhere, ImageExport::Format::Svg});
    f.window.exportImage();
    const QString said = f.window.exportMessage();
    const QString start = QStringLiteral("The image could not be saved as ") + QDir::toNativeSeparators(nowhere) + ": ";
    QVERIFY2(said.startsWith(start) && said.size() > start.size(), qPrintable(said));   // a reason follows
    QVERIFY(f.window.findChild<QLabel *>(QStringLiteral("lbl_export"))->isVisible());
    QCOMPARE(f.highlight(containsAOne()), QStringLiteral("seen a 1=Current, no 1 yet>seen a 1"));

    // The next export that works clears the message.
    f.chooser.answers.append(ImageFileChooser::Choice{dir.filePath("d.png"), ImageExport::Format::Png});
    f.window.exportImage();
    QVERIFY(!f.window.findChild<QLabel *>(QStringLiteral("lbl_export"))->isVisible());
}

void TestDiagramWindow::exportMeetsAFullDiskOrTheSizeLimit_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<FailingWrites::Cause>("cause");
    QTest::newRow("PNG, a full disk") << "diagram.png" << FailingWrites::Cause::FullDisk;
    QTest::newRow("SVG, a full disk") << "diagram.svg" << FailingWrites::Cause::FullDisk;
    QTest::newRow("PNG, a file size limit of 2 kB") << "diagram.png" << FailingWrites::Cause::SizeLimit;
    QTest::newRow("SVG, a file size limit of 2 kB") << "diagram.svg" << FailingWrites::Cause::SizeLimit;
}

// The reason is the system's, and the old image is still there, whole.
void TestDiagramWindow::exportMeetsAFullDiskOrTheSizeLimit()
{
    QFETCH(QString, file);
    QFETCH(FailingWrites::Cause, cause);
    TwFile::ignoreFileSizeLimitSignal();
    SmallDisk disk;
    if (!disk.isReady())
        QSKIP(qPrintable(disk.why()));
    const QString path = disk.filePath(file);
    QVERIFY(TestFiles::write(path, "the old image"));
    Fixture f;
    f.draw(containsAOne(), QStringLiteral("contains-a-one"));
    f.chooser.answers.append(ImageFileChooser::Choice{path, file.endsWith(".svg") ? ImageExport::Format::Svg
                                                                                  : ImageExport::Format::Png});
    int error = 0;
    {
        const FailingWrites failing(disk, cause);
        QVERIFY(failing.isReady());
        error = failing.error();
        f.window.exportImage();
    }
    QCOMPARE(f.window.exportMessage(),
             "The image could not be saved as " + QDir::toNativeSeparators(path) + ": " + qt_error_string(error));
    QCOMPARE(TestFiles::contents(path), QByteArray("the old image"));
    QCOMPARE(disk.entries(), QStringList{file});
}

// A drawing of any size gives an image of whole units a side that an int holds.
void TestDiagramWindow::exportedSizeStaysWhole_data()
{
    QTest::addColumn<QRectF>("drawing");
    QTest::addColumn<QSizeF>("svgPoints");
    QTest::addColumn<QSize>("pixels");
    const qreal huge = 1e308, nan = std::numeric_limits<qreal>::quiet_NaN();
    QTest::newRow("an ordinary drawing") << QRectF(0, 0, 300, 150) << QSizeF(300, 150) << QSize(800, 400);
    QTest::newRow("larger than an int holds") << QRectF(0, 0, huge, huge) << QSizeF(1 << 24, 1 << 24) << QSize();
    QTest::newRow("not a number") << QRectF(0, 0, nan, nan) << QSizeF(1, 1) << QSize(1, 1);
}

void TestDiagramWindow::exportedSizeStaysWhole()
{
    QFETCH(QRectF, drawing);
    QFETCH(QSizeF, svgPoints);
    QFETCH(QSize, pixels);
    QGraphicsScene scene;
    scene.setItemIndexMethod(QGraphicsScene::NoIndex);
    scene.setSceneRect(drawing);
    QXmlStreamReader reader(ImageExport::svg(scene));
    while (!reader.atEnd() && !(reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("svg"))) {
    }
    // The SVG gives its size in millimetres at 72 points an inch, to six digits.
    for (const auto &[name, expected] : {std::pair{"width", svgPoints.width()}, std::pair{"height", svgPoints.height()}}) {
        const qreal points = reader.attributes().value(QLatin1String(name)).chopped(2).toDouble() * 72 / 25.4;
        QVERIFY2(qAbs(points / expected - 1) < 1e-5, qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(points)));
    }
    if (pixels.isValid())
        QCOMPARE(ImageExport::bitmap(scene).size(), pixels);
}

void TestDiagramWindow::zoomAndFit()
{
    Fixture f;
    QApplication::setActiveWindow(&f.window);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.draw(example(QStringLiteral("divisible-by-3")), QStringLiteral("divisible-by-3"));
    DiagramView &view = f.window.view();
    const qreal fitted = view.zoom();
    QVERIFY(view.mapToScene(view.viewport()->rect()).boundingRect().adjusted(-1, -1, 1, 1).contains(
        f.window.scene().sceneRect()));

    QTest::keyClick(&f.window, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(view.zoom(), fitted * 1.25);
    QTest::keyClick(&f.window, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(&f.window, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(view.zoom(), fitted / 1.25);
    QTest::keyClick(&f.window, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(view.zoom(), fitted);
    QTest::keyClick(&f.window, Qt::Key_Plus, Qt::ControlModifier);
    // A redraw fits again; so does a resize of a fitted view.
    f.layout.answer(QStringLiteral("divisible-by-3"));
    QCOMPARE(view.zoom(), fitted);
    f.window.resize(f.window.width() / 2, f.window.height());
    QTRY_VERIFY(view.zoom() < fitted);
}

QTEST_MAIN(TestDiagramWindow)
#include "test_diagram_window.moc"
