// Play at "RealTime (0 ms)" through the main window (offscreen) on a
// 1,000,000-character input already in the input box: click to verdict shown.
// The reference is the same run through a plain panel, without widgets.

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

namespace {

QString input(qsizetype length)
{
    QString text(length, QLatin1Char('b'));
    text[length - 1] = QLatin1Char('a');
    return text;
}

void BM_PlayThroughWindow(benchmark::State &state)
{
    modAll model;
    frm_main window(model);
    window.show();
    model = endsInA();
    window.findChild<QComboBox *>(QStringLiteral("com_speed"))->setCurrentIndex(2);
    auto *box = window.findChild<QLineEdit *>(QStringLiteral("txt_input"));
    auto *play = window.findChild<QPushButton *>(QStringLiteral("cmd_play"));
    auto *output = window.findChild<QLineEdit *>(QStringLiteral("txt_output"));
    const QString text = input(state.range(0));

    for (auto _ : state) {
        state.PauseTiming();
        box->setText(text);
        output->clear();
        QApplication::processEvents();
        state.ResumeTiming();

        play->click();
        QApplication::processEvents(); // the verdict is drawn
    }
    if (output->text() != QStringLiteral("ACCEPTED"))
        state.SkipWithError("no verdict");
}

void BM_PlayWithoutWidgets(benchmark::State &state)
{
    const modAll model = endsInA();
    PlainRunPanel panel;
    panel.preset(2);
    SimulationRun run(model, panel);
    const QString text = input(state.range(0));
    for (auto _ : state) {
        panel.input = text;
        run.play();
    }
    if (panel.output != QStringLiteral("ACCEPTED"))
        state.SkipWithError("no verdict");
}

} // namespace

BENCHMARK(BM_PlayThroughWindow)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlayWithoutWidgets)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return bench::runWithRatios(argc, argv, {{"BM_PlayThroughWindow", "BM_PlayWithoutWidgets"}});
}
