// Play at "RealTime (0 ms)" through the main window (offscreen) on a
// 1,000,000-character input already in the input box: click to verdict shown.
// The reference is the same run through a plain panel, without widgets.
//
// BM_PlayWithDiagramOpen: the same click with View > Diagram open on ends-in-a
// (laid out by Graphviz), which then shows the end of the run; its reference is
// BM_PlayThroughWindow, the window closed.

#include "ratio_reporter.h"
#include "plain_run_panel.h"
#include "run/simulation_run.h"
#include "test_automata.h"
#include "document/file_commands.h"
#include "windows/diagram/diagram_scene.h"
#include "windows/diagram/diagram_window.h"
#include "windows/main/frm_main.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QTimer>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString input(qsizetype length)
{
    QString text(length, QLatin1Char('b'));
    text[length - 1] = QLatin1Char('a');
    return text;
}

void playThroughWindow(benchmark::State &state, bool diagramOpen)
{
    modAll model;
    frm_main window(model);
    window.show();
    model = endsInA();
    if (diagramOpen) {
        auto *diagram = window.findChild<DiagramWindow *>(QStringLiteral("frm_diagram"));
        QEventLoop drawn;
        QObject::connect(diagram, &DiagramWindow::drawn, &drawn, &QEventLoop::quit);
        window.findChild<QAction *>(QStringLiteral("cmd_diagram"))->trigger();
        window.fileCommands().openPath(QStringLiteral(TARNWELL_EXAMPLES_DIR "/ends-in-a.tw"));
        QTimer::singleShot(30000, &drawn, &QEventLoop::quit);
        drawn.exec();
        if (diagram->scene().items().isEmpty()) {
            state.SkipWithError("the diagram was not drawn");
            return;
        }
    }
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

void BM_PlayThroughWindow(benchmark::State &state)
{
    playThroughWindow(state, false);
}

void BM_PlayWithDiagramOpen(benchmark::State &state)
{
    playThroughWindow(state, true);
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
BENCHMARK(BM_PlayWithDiagramOpen)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlayWithoutWidgets)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return bench::runWithRatios(argc, argv, {{"BM_PlayThroughWindow", "BM_PlayWithoutWidgets"},
                                 {"BM_PlayWithDiagramOpen", "BM_PlayThroughWindow"}});
}
