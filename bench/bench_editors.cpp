// The definition editors on large automata: the transition table's Fill and
// Store (TransitionCells, which the table editor and the alphabet editor's OK
// use) at 2,000 and 10,000 states by 100 symbols (200,000 and 1,000,000
// cells), the table editor opened on them (shown, until its first paint), and
// the states editor opened on 32,767 states (shown, until its first paint).
// Each is paired with a bare loop doing the same work on plain lists; run with
// --benchmark_repetitions=5 or more: each ratio is the median of the paired
// runs. The target is well under half a second per operation.

#include "model/mod_all.h"
#include "model/model_edits.h"
#include "model/transition_cells.h"
#include "toolkit/dialogs.h"
#include "windows/editors/frm_states.h"
#include "windows/editors/frm_ttable.h"
#include "ratio_reporter.h"

#include <QApplication>
#include <QHash>
#include <benchmark/benchmark.h>

namespace {

class NoDialogs final : public Dialogs
{
public:
    Answer message(const QString &, const QString &, Icon, Buttons) override { return Answer::Ok; }
    QString input(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QString> openFile(const FileSettings &) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileSettings &) override { return std::nullopt; }
};

modAll automaton(int states, int symbols)
{
    modAll model;
    model.state_count = qint16(states);
    for (int i = 0; i <= states; ++i)
        model.states.append({QStringLiteral("q") + QString::number(i), i % 3 == 0});
    model.symbol_count = qint16(symbols);
    for (int j = 0; j <= symbols; ++j)
        model.symbols.append(QString(QChar(u'!' + j)));
    for (int i = 0; i <= states; ++i) {
        QList<qint16> row;
        for (int j = 0; j <= symbols; ++j)
            row.append(qint16((i * 7 + j * 13) % (states + 1))); // some 0: no transition
        model.transitions.append(row);
    }
    return model;
}

// Shows `window` and returns once it has been painted whole.
void showPainted(QWidget &window)
{
    window.show();
    QApplication::processEvents();
    window.repaint();
}

constexpr int tableSymbols = 100;
constexpr int mostStates = 32767;

void referenceFill(benchmark::State &state)
{
    const int tableStates = int(state.range(0));
    const modAll model = automaton(tableStates, tableSymbols);
    for (auto _ : state) {
        QList<QString> cells;
        cells.reserve(tableStates * tableSymbols);
        for (int r = 0; r < tableStates; ++r)
            for (int c = 0; c < tableSymbols; ++c) {
                const qint16 t = model.transitions[r][c];
                cells.append(model.isTarget(t) ? model.states[t - 1].name : QString());
            }
        benchmark::DoNotOptimize(cells.data());
    }
}

void tableFill(benchmark::State &state)
{
    const int tableStates = int(state.range(0));
    const modAll model = automaton(tableStates, tableSymbols);
    for (auto _ : state) {
        const TransitionCells cells(model);
        benchmark::DoNotOptimize(&cells);
    }
}

void referenceStore(benchmark::State &state)
{
    const int tableStates = int(state.range(0));
    modAll model = automaton(tableStates, tableSymbols);
    QList<QString> cells;
    for (int r = 0; r < tableStates; ++r)
        for (int c = 0; c < tableSymbols; ++c)
            cells.append(model.isTarget(model.transitions[r][c]) ? model.states[model.transitions[r][c] - 1].name
                                                                 : QString());
    for (auto _ : state) {
        QHash<QString, qint16> index;
        for (int i = 0; i < tableStates; ++i)
            index.insert(model.states[i].name, qint16(i + 1));
        for (int r = 0; r < tableStates; ++r)
            for (int c = 0; c < tableSymbols; ++c)
                model.transitions[r][c] = index.value(cells[r * tableSymbols + c], 0);
        benchmark::DoNotOptimize(model.transitions.data());
    }
}

// Every cell typed into, so that each is looked up by name as the reference does.
void tableStore(benchmark::State &state)
{
    const int tableStates = int(state.range(0));
    const modAll model = automaton(tableStates, tableSymbols);
    TransitionCells cells(model);
    for (int r = 0; r < tableStates; ++r)
        for (int c = 0; c < tableSymbols; ++c)
            cells.setText(r, c, cells.text(r, c));
    for (auto _ : state) {
        const TransitionCells::Stored stored = cells.store(model);
        if (stored.refused())
            state.SkipWithError("a cell was refused");
        benchmark::DoNotOptimize(stored.transitions.data());
    }
}

// No cell typed into, as when the alphabet editor's OK fits the table: each
// keeps its target, and no name is looked up.
void tableStoreUntouched(benchmark::State &state)
{
    const int tableStates = int(state.range(0));
    const modAll model = automaton(tableStates, tableSymbols);
    const TransitionCells cells(model);
    for (auto _ : state) {
        const TransitionCells::Stored stored = cells.store(model);
        benchmark::DoNotOptimize(stored.transitions.data());
    }
}

void referenceStatesLoad(benchmark::State &state)
{
    const modAll model = automaton(mostStates, 1);
    for (auto _ : state) {
        QStringList names;
        QList<bool> finals;
        for (int i = 0; i < model.state_count; ++i) {
            names.append(model.states[i].name);
            finals.append(model.states[i].is_final);
        }
        benchmark::DoNotOptimize(names.data());
        benchmark::DoNotOptimize(finals.data());
    }
}

void statesLoad(benchmark::State &state)
{
    modAll model = automaton(mostStates, 1);
    ModelEdits edits(model);
    NoDialogs dialogs;
    for (auto _ : state) {
        frm_states dlg(edits, dialogs, nullptr);
        showPainted(dlg);
    }
}

// The table editor opened on the automaton: its cells filled, the window
// shown and painted. Its reference is the bare fill.
void tableWindow(benchmark::State &state)
{
    modAll model = automaton(int(state.range(0)), tableSymbols);
    ModelEdits edits(model);
    NoDialogs dialogs;
    for (auto _ : state) {
        frm_ttable dlg(edits, dialogs, nullptr);
        showPainted(dlg);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const int states : {2000, 10000}) {
        const auto cells = [states](benchmark::internal::Benchmark *b) { b->Arg(states)->Unit(benchmark::kMillisecond); };
        cells(benchmark::RegisterBenchmark("fill", tableFill));
        cells(benchmark::RegisterBenchmark("fill reference", referenceFill));
        cells(benchmark::RegisterBenchmark("table window", tableWindow));
        cells(benchmark::RegisterBenchmark("table window reference", referenceFill));
        cells(benchmark::RegisterBenchmark("store", tableStore));
        cells(benchmark::RegisterBenchmark("store untouched", tableStoreUntouched));
        cells(benchmark::RegisterBenchmark("store reference", referenceStore));
        cells(benchmark::RegisterBenchmark("store untouched reference", referenceStore));
    }
    benchmark::RegisterBenchmark("states window", statesLoad)->Arg(mostStates)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("states window reference", referenceStatesLoad)->Arg(mostStates)->Unit(benchmark::kMillisecond);
    return bench::runWithRatios(argc, argv,
                                {{"fill", "fill reference"},
                                 {"table window", "table window reference"},
                                 {"store", "store reference"},
                                 {"store untouched", "store untouched reference"},
                                 {"states window", "states window reference"}});
}
