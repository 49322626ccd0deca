// The Diagram window, with real Graphviz, on the offscreen platform.
//
// BM_ModelToDrawing/N: showModel() until the new drawing is on screen, for the
// four examples (N = 0..3), a random 100-state, 3-symbol automaton (N = 4), and
// the largest one drawn whole, 500 states (N = 5).
// Its floor, BM_GraphvizAlone/N, is the same Graphviz program run on the same
// DOT text, waited for, its output unread. The counters stall_*_ms give the
// longest time the event loop went without turning meanwhile (the largest over
// the iterations, and their median).
//
// BM_TimedRunWithDiagram: a timed run at 1 ms a tick over 1,000 characters,
// the run reporting each step to an open Diagram window; BM_TimedRunBare: the
// same run with the window closed (no observer). Their difference in processor
// time per tick is what the diagram adds to a tick.
//
// BM_ImmediateWithDiagram: Play at 0 ms on 1,000,000 characters with the end
// reported to an open window, against BM_ImmediateBare without it.

#include "analysis/dot_text.h"
#include "analysis/state_graph.h"
#include "document/tw_file.h"
#include "plain_run_panel.h"
#include "ratio_reporter.h"
#include "run/simulation_run.h"
#include "test_automata.h"
#include "windows/diagram/diagram_window.h"
#include "windows/diagram/graphviz_layout.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

const char *const examples[] = {"contains-a-one", "divisible-by-3", "ends-in-a", "even-number-of-a"};

modAll automaton(int which)
{
    if (which >= int(std::size(examples)))
        return randomAutomaton(which == 4 ? 100 : DiagramWindow::mostDrawnStates, 1);
    const TwResult<modAll> loaded
        = TwFile::load(QStringLiteral(TARNWELL_EXAMPLES_DIR "/") + QLatin1String(examples[which]) + QStringLiteral(".tw"));
    if (!loaded.ok())
        qFatal("example unreadable");
    return loaded.value();
}

// Measures the longest gap between two turns of the event loop, with a timer
// that asks to run every millisecond.
class StallMeter
{
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { turn(); });
    }

    void start()
    {
        m_clock.start();
        m_last = 0;
        m_worst = 0;
        m_timer.start();
    }

    void stop()
    {
        turn();
        m_timer.stop();
    }

    // The longest gap since start().
    double worstMilliseconds() const { return double(m_worst) / 1e6; }

private:
    void turn()
    {
        const qint64 now = m_clock.nsecsElapsed();
        m_worst = qMax(m_worst, now - m_last);
        m_last = now;
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_worst = 0;
};

void BM_ModelToDrawing(benchmark::State &state)
{
    const modAll model = automaton(int(state.range(0)));
    DiagramWindow window(nullptr);
    window.show();
    QApplication::processEvents();
    StallMeter stalls;
    bool drawn = false;
    QEventLoop loop;
    QObject::connect(&window, &DiagramWindow::drawn, [&] {
        drawn = true;
        loop.quit();
    });

    std::vector<double> worst;
    for (auto _ : state) {
        drawn = false;
        stalls.start();
        window.showModel(model);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        if (!drawn)
            loop.exec();
        // The drawing's first paint.
        QApplication::processEvents();
        stalls.stop();
        worst.push_back(stalls.worstMilliseconds());
        if (!drawn) {
            state.SkipWithError(qPrintable(window.notice()));
            break;
        }
    }
    // The first drawing also pays for what any first paint of the program pays
    // (fonts, glyph caches): the largest stall, and the median one.
    std::sort(worst.begin(), worst.end());
    state.counters["stall_max_ms"] = worst.empty() ? 0 : worst.back();
    state.counters["stall_median_ms"] = worst.empty() ? 0 : worst[worst.size() / 2];
}

void BM_GraphvizAlone(benchmark::State &state)
{
    const StateGraph graph = stateGraph(automaton(int(state.range(0))));
    const QByteArray dot = DotText::dotText(graph).toUtf8();
    const GraphvizLayout::Engine engine
        = GraphvizLayout::firstEngine({int(graph.nodes.size()), int(graph.edges.size())});
    const QStringList arguments = engine == GraphvizLayout::Engine::Dot
        ? QStringList{QStringLiteral("-Tjson0")}
        : QStringList{QStringLiteral("-Tjson0"), QStringLiteral("-Goverlap=prism"), QStringLiteral("-Gsep=+6")};
    for (auto _ : state) {
        QProcess graphviz;
        graphviz.start(GraphvizLayout::engineName(engine), arguments);
        graphviz.write(dot);
        graphviz.closeWriteChannel();
        if (!graphviz.waitForFinished(30000) || graphviz.exitCode() != 0) {
            state.SkipWithError("Graphviz failed");
            break;
        }
    }
}

// 0s and 1s.
QString binaryInput(qsizetype length)
{
    QString text;
    for (qsizetype i = 0; i < length; ++i)
        text += QLatin1Char(i % 3 ? '0' : '1');
    return text;
}

double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

DiagramWindow &openWindow()
{
    static DiagramWindow *window = [] {
        auto *opened = new DiagramWindow(nullptr);
        opened->show();
        QEventLoop loop;
        QObject::connect(opened, &DiagramWindow::drawn, &loop, &QEventLoop::quit);
        opened->showModel(automaton(1));
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
        return opened;
    }();
    return *window;
}

// A timed run of divisible-by-3 over range(0) characters at 1 ms a tick, as the
// main window's timer drives it, followed by `follow` (the diagram) or by no
// one. The time is the GUI thread's processor time for the whole run, repaints
// included: the wall time is the ticks' own 1 ms each either way.
void timedRun(benchmark::State &state, DiagramWindow *follow)
{
    const modAll model = automaton(1);
    PlainRunPanel panel;
    panel.speed = {true, -1, QStringLiteral("1")};
    SimulationRun run(model, panel);
    const QString input = binaryInput(state.range(0));
    run.setObserver(follow ? &follow->runObserver() : nullptr);
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QEventLoop loop;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        run.tick();
        if (!panel.timerOn) {
            timer.stop();
            loop.quit();
        }
    });

    double ticks = 0;
    for (auto _ : state) {
        panel.input = input;
        run.play();
        const double begin = threadSeconds();
        timer.start(panel.interval);
        loop.exec();
        state.SetIterationTime(threadSeconds() - begin);
        ticks += double(state.range(0)) + 1;
    }
    state.counters["us_per_tick"] = benchmark::Counter(ticks, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_TimedRunWithDiagram(benchmark::State &state)
{
    timedRun(state, &openWindow());
}

void BM_TimedRunBare(benchmark::State &state)
{
    openWindow().hide(); // a closed window: nothing follows the run
    timedRun(state, nullptr);
    openWindow().show();
}

void immediateLoop(benchmark::State &state, DiagramWindow *follow)
{
    const modAll model = automaton(1);
    PlainRunPanel panel;
    panel.preset(2);
    SimulationRun run(model, panel);
    run.setObserver(follow ? &follow->runObserver() : nullptr);
    const QString input = binaryInput(state.range(0));
    for (auto _ : state) {
        panel.input = input;
        run.play();
        QApplication::processEvents();
    }
}

void BM_ImmediateWithDiagram(benchmark::State &state)
{
    immediateLoop(state, &openWindow());
}

void BM_ImmediateBare(benchmark::State &state)
{
    openWindow().hide();
    immediateLoop(state, nullptr);
    openWindow().show();
}

} // namespace

BENCHMARK(BM_ModelToDrawing)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_GraphvizAlone)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_TimedRunWithDiagram)->Arg(1000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_TimedRunBare)->Arg(1000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_ImmediateWithDiagram)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImmediateBare)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return bench::runWithRatios(argc, argv,
                                {{"BM_ModelToDrawing", "BM_GraphvizAlone"},
                                 {"BM_TimedRunWithDiagram", "BM_TimedRunBare"},
                                 {"BM_ImmediateWithDiagram", "BM_ImmediateBare"}});
}
