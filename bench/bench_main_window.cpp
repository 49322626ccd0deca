// The main window (offscreen) at "RealTime (0 ms)" on a 1,000,000-character
// input, as two figures:
//   BM_FillInputBox       putting the text into the input box and painting it
//   BM_PlayThroughWindow  the text already in the box: click Play to verdict
//                         drawn
// The automaton has 1,000 states over {0, 1, 2} with random targets, so the
// run visits many states and its table does not sit in a few cache lines.
// The reference for Play is the same run through a plain panel, without
// widgets. Run with --benchmark_repetitions=5 or more: the ratio is the median
// of paired runs.

#include "ratio_reporter.h"
#include "plain_run_panel.h"
#include "run/simulation_run.h"
#include "test_automata.h"
#include "windows/main/frm_main.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>

namespace {

constexpr int stateCount = 1000;

QString input(qsizetype length)
{
    QRandomGenerator random(3);
    QString text(length, Qt::Uninitialized);
    for (QChar &c : text)
        c = QChar(u'0' + random.bounded(3));
    return text;
}

// The window with the automaton loaded, at 0 ms.
struct Window
{
    Window()
        : window(model)
    {
        window.show();
        model = randomAutomaton(stateCount, 7);
        window.findChild<QComboBox *>(QStringLiteral("com_speed"))->setCurrentIndex(2);
        box = window.findChild<QLineEdit *>(QStringLiteral("txt_input"));
        play = window.findChild<QPushButton *>(QStringLiteral("cmd_play"));
        output = window.findChild<QLineEdit *>(QStringLiteral("txt_output"));
        QApplication::processEvents();
    }

    modAll model;
    frm_main window;
    QLineEdit *box = nullptr;
    QPushButton *play = nullptr;
    QLineEdit *output = nullptr;
};

void BM_FillInputBox(benchmark::State &state)
{
    Window w;
    const QString text = input(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        w.box->clear();
        w.box->repaint();
        state.ResumeTiming();

        w.box->setText(text);
        w.box->repaint();   // painted now, not at the next event
    }
    if (w.box->text().size() != state.range(0))
        state.SkipWithError("the box does not hold the text");
}

void BM_PlayThroughWindow(benchmark::State &state)
{
    Window w;
    const QString text = input(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        w.box->setText(text);
        w.output->clear();
        QApplication::processEvents();
        state.ResumeTiming();

        w.play->click();
        w.output->repaint();   // the verdict is drawn
    }
    if (w.output->text() != QStringLiteral("ACCEPTED") && w.output->text() != QStringLiteral("REJECTED"))
        state.SkipWithError("no verdict");
}

void BM_PlayWithoutWidgets(benchmark::State &state)
{
    const modAll model = randomAutomaton(stateCount, 7);
    PlainRunPanel panel;
    panel.preset(2);
    SimulationRun run(model, panel);
    const QString text = input(state.range(0));
    for (auto _ : state) {
        panel.input = text;
        run.play();
    }
    if (panel.output != QStringLiteral("ACCEPTED") && panel.output != QStringLiteral("REJECTED"))
        state.SkipWithError("no verdict");
}

} // namespace

BENCHMARK(BM_FillInputBox)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlayThroughWindow)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlayWithoutWidgets)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return bench::runWithRatios(argc, argv, {{"BM_PlayThroughWindow", "BM_PlayWithoutWidgets"}});
}
