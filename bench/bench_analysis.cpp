// The analyses at the largest size an automaton can have in states, 32,767
// states by 100 symbols with random targets (a tenth of the cells empty), each
// against the least any answer must do: reading every cell of the table once
// (of both tables, for compare). The first 1,000 accepted strings of a 1,000-state
// chain whose shortest accepted string has 999 characters, against writing
// those same strings out. And the first 1,000 accepted and rejected strings of
// the large automaton.

#include "analysis/check_automaton.h"
#include "analysis/compare_automata.h"
#include "analysis/minimize_automaton.h"
#include "analysis/string_lists.h"
#include "large_automata.h"
#include "ratio_reporter.h"

#include <algorithm>
#include <vector>

namespace {

using bench::largeStates;

const modAll &large(int which)
{
    static const modAll first = bench::randomLargeAutomaton(1), second = bench::randomLargeAutomaton(2);
    return which == 0 ? first : second;
}

// The first large automaton with its states in another order: the same language,
// so compare has to visit every pair before it can say so.
const modAll &shuffledCopy()
{
    static const modAll copy = bench::reorderedCopy(large(0), 3, false);
    return copy;
}

// States c0 .. c999: "0" moves on, "1" keeps the state; the last one is final.
const modAll &chain()
{
    static const modAll m = [] {
        modAll c;
        c.state_count = 1000;
        c.symbol_count = 2;
        c.symbols = {QStringLiteral("0"), QStringLiteral("1"), QString()};
        for (int s = 0; s < 1000; ++s) {
            c.states.append({QStringLiteral("c%1").arg(s), s == 999});
            c.transitions.append({qint16(s < 999 ? s + 2 : 0), 0, 0});
        }
        c.states.append(StateEntry{});
        c.transitions.append(QList<qint16>());
        return c;
    }();
    return m;
}

qint64 readTable(const modAll &m)
{
    qint64 sum = 0;
    for (int s = 0; s < m.state_count; ++s)
        for (int j = 0; j < m.symbol_count; ++j)
            sum += m.transitions[s][j];
    return sum;
}

void BM_Minimize(benchmark::State &state)
{
    for (auto _ : state) {
        const Analysis::MinimizeResult result = Analysis::minimizeAutomaton(large(0));
        benchmark::DoNotOptimize(result.statesAfter);
        state.counters["states_after"] = result.statesAfter;
    }
}

void BM_Check(benchmark::State &state)
{
    for (auto _ : state) {
        const Analysis::CheckReport report = Analysis::checkAutomaton(large(0));
        benchmark::DoNotOptimize(report.shortestAccepted);
    }
}

void BM_ReadTable(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(readTable(large(0)));
}

void BM_CompareDifferent(benchmark::State &state)
{
    for (auto _ : state) {
        const Analysis::CompareResult result = Analysis::compareAutomata(large(0), large(1));
        if (result.equivalent)
            state.SkipWithError("two random automata compared equivalent");
        benchmark::DoNotOptimize(result.counterexample);
    }
}

void BM_CompareEquivalent(benchmark::State &state)
{
    for (auto _ : state) {
        const Analysis::CompareResult result = Analysis::compareAutomata(large(0), shuffledCopy());
        if (!result.equivalent)
            state.SkipWithError("a reordered copy compared different");
    }
}

void BM_ReadTwoTables(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(readTable(large(0)) + readTable(large(1)));
}

void BM_AcceptedStrings(benchmark::State &state)
{
    QStringList strings;
    for (auto _ : state) {
        strings = Analysis::acceptedStrings(chain(), int(state.range(0)));
        benchmark::DoNotOptimize(strings.data());
    }
    if (strings.size() != state.range(0) || strings.front() != QString(999, u'0'))
        state.SkipWithError("not the expected strings");
}

// The first strings of each verdict of the large random automaton: an answer
// at the largest size, with no reference of its own.
void BM_StringListsLarge(benchmark::State &state)
{
    for (auto _ : state) {
        const QStringList accepted = Analysis::acceptedStrings(large(0), int(state.range(0)));
        const QStringList rejected = Analysis::rejectedStrings(large(0), int(state.range(0)));
        if (accepted.size() != state.range(0) || rejected.size() != state.range(0))
            state.SkipWithError("fewer strings than asked");
    }
}

// The same strings built straight from what they are known to be.
void BM_WriteStrings(benchmark::State &state)
{
    const QStringList expected = Analysis::acceptedStrings(chain(), int(state.range(0)));
    for (auto _ : state) {
        QStringList strings;
        for (const QString &s : expected) {
            QString copy(s.size(), Qt::Uninitialized);
            std::copy(s.cbegin(), s.cend(), copy.begin());
            strings.append(copy);
        }
        benchmark::DoNotOptimize(strings.data());
    }
}

} // namespace

BENCHMARK(BM_Minimize)->Unit(benchmark::kMillisecond)->Arg(largeStates);
BENCHMARK(BM_Check)->Unit(benchmark::kMillisecond)->Arg(largeStates);
BENCHMARK(BM_ReadTable)->Unit(benchmark::kMillisecond)->Arg(largeStates);
BENCHMARK(BM_CompareDifferent)->Unit(benchmark::kMillisecond)->Arg(largeStates);
BENCHMARK(BM_CompareEquivalent)->Unit(benchmark::kMillisecond)->Arg(largeStates);
BENCHMARK(BM_ReadTwoTables)->Unit(benchmark::kMillisecond)->Arg(largeStates);
BENCHMARK(BM_AcceptedStrings)->Unit(benchmark::kMillisecond)->Arg(1000);
BENCHMARK(BM_WriteStrings)->Unit(benchmark::kMillisecond)->Arg(1000);
BENCHMARK(BM_StringListsLarge)->Unit(benchmark::kMillisecond)->Arg(1000);

int main(int argc, char **argv)
{
    return bench::runWithRatios(argc, argv,
                                {{"BM_Minimize", "BM_ReadTable"},
                                 {"BM_Check", "BM_ReadTable"},
                                 {"BM_CompareDifferent", "BM_ReadTwoTables"},
                                 {"BM_CompareEquivalent", "BM_ReadTwoTables"},
                                 {"BM_AcceptedStrings", "BM_WriteStrings"}});
}
