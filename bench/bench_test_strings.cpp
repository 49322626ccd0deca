// The Test Strings window and stepping, each against the bare loop that does
// the same work without the window:
// - Run All over 100,000 strings of 20 characters, to every result drawn;
//   reference: the same strings through the byte engine alone.
// - Pasting 100,000 lines, to the rows drawn; reference: reading the lines
//   (StringList::parse) alone.
// - Opening the largest list Open List reads (16 MiB: some 800,000 strings of
//   20 characters), from the file dialog's answer to the rows drawn: the time
//   the window is held; reference: reading the file's bytes and its lines
//   alone.
// - A run of 10,000 characters stepped to its end with Step and back to its
//   start with Step Back through the main window (F8 and Shift+F8), the input
//   box rewritten each time; reference: the same through a plain panel, which
//   is the step logic alone. Both report the time per step or back.
// - The memory a history of 100,000 steps takes (counter "history_bytes").

#include "cli/string_list.h"
#include "plain_run_panel.h"
#include "ratio_reporter.h"
#include "run/byte_engine.h"
#include "run/simulation_run.h"
#include "test_automata.h"
#include "toolkit/dialogs.h"
#include "windows/main/frm_main.h"
#include "windows/tools/string_table.h"
#include "windows/tools/test_strings_window.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>

namespace {

constexpr int listSize = 100000;
constexpr int stringLength = 20;

QStringList strings()
{
    QRandomGenerator random(5);
    QStringList list;
    list.reserve(listSize);
    for (int i = 0; i < listSize; ++i) {
        QString s(stringLength, u'0');
        for (QChar &c : s)
            c = QChar(u'0' + random.bounded(3));
        list.append(s);
    }
    return list;
}

QString listText()
{
    return strings().join(u'\n') + u'\n';
}

void BM_RunAllInWindow(benchmark::State &state)
{
    const modAll model = randomAutomaton(50, 3);
    TestStringsWindow window(model, nullptr, nullptr);
    window.show();
    window.paste(listText());
    QApplication::processEvents();
    for (auto _ : state) {
        window.runAll();
        window.view().viewport()->repaint();
        QApplication::processEvents();
    }
    if (!window.summaryText().endsWith(QStringLiteral("strings run")))
        state.SkipWithError("not run");
}

void BM_RunAllReference(benchmark::State &state)
{
    const modAll model = randomAutomaton(50, 3);
    const QStringList list = strings();
    for (auto _ : state) {
        const ByteEngine engine(model);
        int accepted = 0;
        for (const QString &s : list)
            accepted += engine.runText(s).verdict == ByteEngine::Verdict::Accepted;
        benchmark::DoNotOptimize(accepted);
    }
}

void BM_PasteInWindow(benchmark::State &state)
{
    const modAll model = endsInA();
    const QString text = listText();
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<TestStringsWindow>(model, nullptr, nullptr);
        window->show();
        QApplication::processEvents();
        state.ResumeTiming();
        window->paste(text);
        window->view().viewport()->repaint();
        QApplication::processEvents();
        state.PauseTiming();
        if (window->table().rowCount() != listSize)
            state.SkipWithError("not pasted");
        window.reset();
        state.ResumeTiming();
    }
}

void BM_PasteReference(benchmark::State &state)
{
    const QString text = listText();
    for (auto _ : state)
        benchmark::DoNotOptimize(StringList::parse(text.toUtf8()).strings.size());
}

// The file dialog answers with the list file; nothing else is asked.
class ListDialogs final : public Dialogs
{
public:
    explicit ListDialogs(QString path) : m_path(std::move(path)) {}
    Answer message(const QString &, const QString &, Icon, Buttons) override { return Answer::Ok; }
    QString input(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QString> openFile(const FileSettings &) override { return m_path; }
    std::optional<QString> saveFile(const FileSettings &) override { return std::nullopt; }

private:
    QString m_path;
};

constexpr qint64 largestListBytes = qint64(16) << 20;

// A list file just under the size Open List takes, in a folder of its own.
struct LargestList
{
    LargestList()
    {
        const QByteArray line = QByteArray(stringLength, '0') + '\n';
        QFile file(dir.filePath(QStringLiteral("largest.txt")));
        if (file.open(QIODevice::WriteOnly))
            file.write(line.repeated(int(largestListBytes / line.size())));
        lines = int(largestListBytes / line.size());
    }
    QString path() const { return dir.filePath(QStringLiteral("largest.txt")); }

    QTemporaryDir dir;
    int lines = 0;
};

void BM_OpenListInWindow(benchmark::State &state)
{
    const modAll model = endsInA();
    const LargestList list;
    ListDialogs dialogs(list.path());
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<TestStringsWindow>(model, &dialogs, nullptr);
        window->show();
        QApplication::processEvents();
        state.ResumeTiming();
        window->openList();
        window->view().viewport()->repaint();
        QApplication::processEvents();
        state.PauseTiming();
        if (window->table().rowCount() != list.lines)
            state.SkipWithError("not opened");
        window.reset();
        state.ResumeTiming();
    }
}

void BM_OpenListReference(benchmark::State &state)
{
    const LargestList list;
    for (auto _ : state) {
        QFile file(list.path());
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("no list");
        benchmark::DoNotOptimize(StringList::parse(file.readAll()).strings.size());
    }
}

QString stepInput(qsizetype length)
{
    QString text(length, u'b');
    text[length - 1] = u'a';
    return text;
}

// Steps to the verdict and back to the start: 2 (n + 1) actions.
void BM_SteppingInWindow(benchmark::State &state)
{
    modAll model;
    frm_main window(model);
    window.show();
    window.edits().open(endsInA());
    auto *box = window.findChild<QLineEdit *>(QStringLiteral("txt_input"));
    QAction *step = window.findChild<QAction *>(QStringLiteral("cmd_step"));
    QAction *back = window.findChild<QAction *>(QStringLiteral("cmd_step_back"));
    const qsizetype length = state.range(0);
    const QString text = stepInput(length);
    for (auto _ : state) {
        state.PauseTiming();
        box->setText(text);
        QApplication::processEvents();
        state.ResumeTiming();
        for (qsizetype i = 0; i <= length; ++i)
            step->trigger();
        for (qsizetype i = 0; i <= length; ++i)
            back->trigger();
        QApplication::processEvents();
    }
    if (box->text() != text)
        state.SkipWithError("not back at the start");
    state.SetItemsProcessed(state.iterations() * 2 * (length + 1));
}

void BM_SteppingReference(benchmark::State &state)
{
    const modAll model = endsInA();
    PlainRunPanel panel;
    SimulationRun run(model, panel);
    const qsizetype length = state.range(0);
    const QString text = stepInput(length);
    for (auto _ : state) {
        panel.input = text;
        for (qsizetype i = 0; i <= length; ++i)
            run.step();
        for (qsizetype i = 0; i <= length; ++i)
            run.stepBack();
    }
    if (panel.input != text)
        state.SkipWithError("not back at the start");
    state.SetItemsProcessed(state.iterations() * 2 * (length + 1));
}

// The process's resident memory, from /proc.
double residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) : 0;
}

// The memory n steps add: the resident size grown while stepping a run whose
// input is already in the box (counter "rss_growth_bytes"), and what the
// history holds ("history_bytes").
void BM_HistoryMemory(benchmark::State &state)
{
    const modAll model = endsInA();
    const qsizetype length = state.range(0);
    const QString text = stepInput(length);
    qsizetype records = 0;
    double growth = 0;
    for (auto _ : state) {
        PlainRunPanel panel;
        panel.input = text;
        SimulationRun run(model, panel);
        const double before = residentBytes();
        for (qsizetype i = 0; i <= length; ++i)
            run.step();
        growth = residentBytes() - before;
        records = run.history().size();
    }
    state.counters["history_records"] = double(records);
    state.counters["history_bytes"] = double(records * qsizetype(sizeof(StepRecord)));
    state.counters["rss_growth_bytes"] = growth;
}

} // namespace

BENCHMARK(BM_RunAllInWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RunAllReference)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PasteInWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PasteReference)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenListInWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenListReference)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SteppingInWindow)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SteppingReference)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HistoryMemory)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return bench::runWithRatios(argc, argv,
                                {{"BM_RunAllInWindow", "BM_RunAllReference"},
                                 {"BM_PasteInWindow", "BM_PasteReference"},
                                 {"BM_OpenListInWindow", "BM_OpenListReference"},
                                 {"BM_SteppingInWindow", "BM_SteppingReference"}});
}
