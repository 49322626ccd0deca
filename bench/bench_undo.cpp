// Undo and Redo of a change to one cell of a 2,000 by 500 transition table, in
// the model (no window is open while Undo runs, so nothing redraws), against
// the floor of the same work: putting the two automaton values back by
// assignment alone. And the memory 100 such steps keep, measured on the heap.
//
//     bench_undo --benchmark_repetitions=5
//
// Targets: under 1 ms for an Undo or a Redo, under 50 MB for 100 steps.

#include "model/model_edits.h"
#include "ratio_reporter.h"
#include "undo/undo_history.h"

#include <QGuiApplication>
#include <QUndoStack>
#include <benchmark/benchmark.h>
#include <malloc.h>

namespace {

constexpr int tableStates = 2000;

modAll largeAutomaton(int tableSymbols)
{
    modAll model;
    model.state_count = tableStates;
    for (int i = 0; i <= tableStates; ++i)
        model.states.append({QStringLiteral("q") + QString::number(i), i % 3 == 0});
    model.symbol_count = tableSymbols;
    for (int j = 0; j <= tableSymbols; ++j)
        model.symbols.append(QString(QChar(u'!' + j)));
    for (int i = 0; i <= tableStates; ++i) {
        QList<qint16> row;
        row.reserve(tableSymbols + 1);
        for (int j = 0; j <= tableSymbols; ++j)
            row.append(qint16((i * 7 + j * 13) % (tableStates + 1)));
        model.transitions.append(row);
    }
    return model;
}

// The table as the table editor stores it after one typed cell: every other
// row still shared with the model's.
QList<QList<qint16>> withOneCellChanged(const modAll &model, int step)
{
    QList<QList<qint16>> table = model.transitions;
    const int state = (step * 37) % tableStates, symbol = (step * 11) % model.symbol_count;
    table[state][symbol] = qint16(table[state][symbol] % tableStates + 1);
    return table;
}

void BM_UndoRedoOneCell(benchmark::State &state)
{
    modAll model = largeAutomaton(int(state.range(0)));
    ModelEdits edits(model);
    UndoHistory history(edits);
    edits.commitTable(withOneCellChanged(model, 1));
    for (auto _ : state) {
        history.undo();
        history.redo();
    }
    if (history.stack().index() != 1 || model.is_saved)
        state.SkipWithError("the step was not undone and redone");
}

// The floor: the automaton before and after the change put back by assignment.
void BM_ReferenceAssign(benchmark::State &state)
{
    modAll model = largeAutomaton(int(state.range(0)));
    const modAll before = model;
    model.transitions = withOneCellChanged(model, 1);
    const modAll after = model;
    for (auto _ : state) {
        model.takeAutomaton(before);
        benchmark::DoNotOptimize(model.transitions.constData());
        model.takeAutomaton(after);
        benchmark::DoNotOptimize(model.transitions.constData());
    }
}

// Heap bytes 100 one-cell steps keep, beyond the automaton itself.
void BM_MemoryOfHundredSteps(benchmark::State &state)
{
    for (auto _ : state) {
        const int tableSymbols = int(state.range(0));
        modAll model = largeAutomaton(tableSymbols);
        ModelEdits edits(model);
        UndoHistory history(edits);
        const size_t before = mallinfo2().uordblks;
        for (int step = 1; step <= 100; ++step)
            edits.commitTable(withOneCellChanged(model, step));
        const size_t after = mallinfo2().uordblks;
        if (history.stack().count() != 100)
            state.SkipWithError("not 100 steps");
        state.counters["MB"] = double(after - before) / (1024.0 * 1024.0);
        state.counters["table_MB"] = double(tableStates + 1) * (tableSymbols + 1) * sizeof(qint16) / (1024.0 * 1024.0);
    }
}

} // namespace

// The argument is the number of symbols.
BENCHMARK(BM_UndoRedoOneCell)->Arg(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReferenceAssign)->Arg(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemoryOfHundredSteps)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return bench::runWithRatios(argc, argv, {{"BM_UndoRedoOneCell", "BM_ReferenceAssign"}});
}
