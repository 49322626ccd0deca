// Immediate run throughput: the engine behind Play at 0 ms against the floor
// of the same work, a flat-table loop `state = table[state + symbolIndex[c]]`
// (states stored as row offsets) over the same UTF-16 text. Run with
// --benchmark_repetitions=5 or more: the ratio is the median of paired runs.

#include "ratio_reporter.h"
#include "plain_run_panel.h"
#include "run/simulation_run.h"
#include "test_automata.h"

#include <benchmark/benchmark.h>

#include <QRandomGenerator>
#include <vector>

namespace {

constexpr int stateCount = 1000;
const QString alphabet = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz+/");

// Every entry set, targets spread over all states.
const modAll &automaton()
{
    static const modAll model = [] {
        QRandomGenerator random(1);
        QStringList names, symbols;
        QList<QList<qint16>> table;
        for (int s = 0; s < stateCount; ++s) {
            names << QStringLiteral("q%1").arg(s);
            QList<qint16> row;
            for (int k = 0; k < alphabet.size(); ++k)
                row << qint16(random.bounded(1, stateCount + 1));
            table << row;
        }
        for (QChar c : alphabet)
            symbols << QString(c);
        return makeAutomaton(names, {QStringLiteral("q0")}, symbols, table);
    }();
    return model;
}

QString randomInput(qsizetype length)
{
    QRandomGenerator random(2);
    QString text(length, Qt::Uninitialized);
    for (QChar &c : text)
        c = alphabet[random.bounded(int(alphabet.size()))];
    return text;
}

void BM_ImmediateRun(benchmark::State &state)
{
    const modAll &model = automaton();
    const QString input = randomInput(state.range(0));
    PlainRunPanel panel;
    panel.preset(2);
    SimulationRun run(model, panel);
    for (auto _ : state) {
        panel.input = input;
        run.play();
        benchmark::DoNotOptimize(run.current_state);
    }
    if (panel.status != QStringLiteral("Successfully completed"))
        state.SkipWithError("the run did not complete");
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["ns_per_symbol"] = benchmark::Counter(
        double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ReferenceLoop(benchmark::State &state)
{
    const modAll &model = automaton();
    const QString input = randomInput(state.range(0));
    const auto width = uint32_t(alphabet.size());
    std::vector<uint32_t> table(size_t(stateCount) * width);
    for (int s = 0; s < stateCount; ++s)
        for (uint32_t k = 0; k < width; ++k)
            table[s * width + k] = uint32_t(model.transitions[s][k] - 1) * width;
    std::vector<uint32_t> symbolIndex(0x10000, 0);
    for (uint32_t k = 0; k < width; ++k)
        symbolIndex[alphabet[k].unicode()] = k;

    for (auto _ : state) {
        uint32_t s = 0;
        for (const ushort *p = input.utf16(), *end = p + input.size(); p != end; ++p)
            s = table[s + symbolIndex[*p]];
        benchmark::DoNotOptimize(s);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["ns_per_symbol"] = benchmark::Counter(
        double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_ImmediateRun)->Arg(1000)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReferenceLoop)->Arg(1000)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return bench::runWithRatios(argc, argv, {{"BM_ImmediateRun", "BM_ReferenceLoop"}});
}
