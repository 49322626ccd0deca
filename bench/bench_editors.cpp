// The definition editors on large automata: the transition table's Fill and
// Store (TransitionCells, which the table editor and the alphabet editor's OK
// use) at 2,000 states by 100 symbols, and the states editor's load of 32,767
// states. Each is compared with a bare loop doing the same work on plain lists
// (the "ratio" counter); the target is well under half a second per operation.

#include "model/mod_all.h"
#include "model/model_edits.h"
#include "model/transition_cells.h"
#include "toolkit/dialogs.h"
#include "windows/editors/frm_states.h"

#include <QApplication>
#include <QHash>
#include <benchmark/benchmark.h>
#include <chrono>

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

// Seconds per iteration of each reference loop, by name, for the ratios.
QHash<QString, double> &referenceSeconds()
{
    static QHash<QString, double> seconds;
    return seconds;
}

// Runs `work` once per iteration and reports seconds per iteration; a reference
// remembers its figure, the measured path reports its ratio against it.
template <typename Work>
void measure(benchmark::State &state, const QString &reference, bool isReference, Work &&work)
{
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        work();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const double perIteration = total / double(state.iterations());
    state.counters["ms"] = perIteration * 1000;
    if (isReference)
        referenceSeconds()[reference] = perIteration;
    else if (referenceSeconds().value(reference) > 0)
        state.counters["ratio"] = perIteration / referenceSeconds()[reference];
}

constexpr int tableStates = 2000;
constexpr int tableSymbols = 100;
constexpr int mostStates = 32767;

void referenceFill(benchmark::State &state)
{
    const modAll model = automaton(tableStates, tableSymbols);
    measure(state, "fill", true, [&] {
        QList<QString> cells;
        cells.reserve(tableStates * tableSymbols);
        for (int r = 0; r < tableStates; ++r)
            for (int c = 0; c < tableSymbols; ++c) {
                const qint16 t = model.transitions[r][c];
                cells.append(model.isTarget(t) ? model.states[t - 1].name : QString());
            }
        benchmark::DoNotOptimize(cells.data());
    });
}

void tableFill(benchmark::State &state)
{
    const modAll model = automaton(tableStates, tableSymbols);
    measure(state, "fill", false, [&] {
        const TransitionCells cells(model);
        benchmark::DoNotOptimize(&cells);
    });
}

void referenceStore(benchmark::State &state)
{
    modAll model = automaton(tableStates, tableSymbols);
    QList<QString> cells;
    for (int r = 0; r < tableStates; ++r)
        for (int c = 0; c < tableSymbols; ++c)
            cells.append(model.isTarget(model.transitions[r][c]) ? model.states[model.transitions[r][c] - 1].name
                                                                 : QString());
    measure(state, "store", true, [&] {
        QHash<QString, qint16> index;
        for (int i = 0; i < tableStates; ++i)
            index.insert(model.states[i].name, qint16(i + 1));
        for (int r = 0; r < tableStates; ++r)
            for (int c = 0; c < tableSymbols; ++c)
                model.transitions[r][c] = index.value(cells[r * tableSymbols + c], 0);
        benchmark::DoNotOptimize(model.transitions.data());
    });
}

// Every cell typed into, so that each is looked up by name as the reference does.
void tableStore(benchmark::State &state)
{
    const modAll model = automaton(tableStates, tableSymbols);
    TransitionCells cells(model);
    for (int r = 0; r < tableStates; ++r)
        for (int c = 0; c < tableSymbols; ++c)
            cells.setText(r, c, cells.text(r, c));
    measure(state, "store", false, [&] {
        const TransitionCells::Stored stored = cells.store(model);
        if (stored.refused())
            state.SkipWithError("a cell was refused");
        benchmark::DoNotOptimize(stored.transitions.data());
    });
}

// No cell typed into, as when the alphabet editor's OK fits the table: each
// keeps its target, and no name is looked up.
void tableStoreUntouched(benchmark::State &state)
{
    const modAll model = automaton(tableStates, tableSymbols);
    const TransitionCells cells(model);
    measure(state, "store", false, [&] {
        const TransitionCells::Stored stored = cells.store(model);
        benchmark::DoNotOptimize(stored.transitions.data());
    });
}

void referenceStatesLoad(benchmark::State &state)
{
    const modAll model = automaton(mostStates, 1);
    measure(state, "states", true, [&] {
        QStringList names;
        QList<bool> finals;
        for (int i = 0; i < model.state_count; ++i) {
            names.append(model.states[i].name);
            finals.append(model.states[i].is_final);
        }
        benchmark::DoNotOptimize(names.data());
    });
}

void statesLoad(benchmark::State &state)
{
    modAll model = automaton(mostStates, 1);
    ModelEdits edits(model);
    NoDialogs dialogs;
    measure(state, "states", false, [&] {
        frm_states dlg(edits, dialogs, nullptr);
        benchmark::DoNotOptimize(&dlg);
    });
}

} // namespace

// References first: each measured path divides by the figure of its reference.
BENCHMARK(referenceFill)->Unit(benchmark::kMillisecond);
BENCHMARK(tableFill)->Unit(benchmark::kMillisecond);
BENCHMARK(referenceStore)->Unit(benchmark::kMillisecond);
BENCHMARK(tableStore)->Unit(benchmark::kMillisecond);
BENCHMARK(tableStoreUntouched)->Unit(benchmark::kMillisecond);
BENCHMARK(referenceStatesLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(statesLoad)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
