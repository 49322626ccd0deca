// The byte engine against the floor of its work: a flat table walked over the
// same bytes in memory, `state = table[state + symbolOf[byte]]` with the states
// premultiplied by the row width as the engine keeps them, and no test of
// anything. The engine adds the stop test, the pieces and the verdict; on
// automata of at most 16 states it runs data-parallel, and then the floor is
// the one to beat.
//
// Shapes: one long line; many lines of 10 characters (found with memchr, as
// the batch runner finds them, in both loops); the same counted as
// tarnwell-run --count counts them, against the counting floor; an automaton of 1,000 states
// over 64 symbols, whose table no longer fits the first-level cache, run over
// bytes and over the window's UTF-16 text, and the cost of compiling it. The
// column "rate" is input bytes (characters, for the text) per second, M being
// 10^6. For ratios that do not flatter, run with --benchmark_repetitions=5 (or
// more) and --benchmark_enable_random_interleaving=true: each ratio printed at
// the end is then the median of the paired repetitions.

#include "ratio_reporter.h"
#include "run/byte_engine.h"
#include "run/byte_engine_lines.h"
#include "run/byte_engine_run.h"

#include <benchmark/benchmark.h>

#include <QRandomGenerator>

#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int lineLength = 10;

// Binary numbers divisible by 3 (three states), or a random automaton of
// 1,000 states over 64 symbols with every cell set.
struct Automaton
{
    modAll model;
    std::string alphabet;

    static const Automaton &divisibleBy3()
    {
        static const Automaton automaton = [] {
            Automaton a{{}, "01"};
            modAll &m = a.model;
            m.state_count = 3;
            for (int r = 0; r < 3; ++r)
                m.states.append({QStringLiteral("r%1").arg(r), r == 0});
            m.symbol_count = 2;
            m.symbols = {QStringLiteral("0"), QStringLiteral("1")};
            for (int r = 0; r < 3; ++r)
                m.transitions.append({qint16((2 * r) % 3 + 1), qint16((2 * r + 1) % 3 + 1)});
            return a;
        }();
        return automaton;
    }

    static const Automaton &manyStates()
    {
        static const Automaton automaton = [] {
            Automaton a{{}, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz+/"};
            modAll &m = a.model;
            QRandomGenerator random(1);
            m.state_count = 1000;
            m.symbol_count = qint16(a.alphabet.size());
            for (int s = 0; s < m.state_count; ++s) {
                m.states.append({QStringLiteral("q%1").arg(s), random.bounded(3) == 0});
                QList<qint16> row;
                for (size_t k = 0; k < a.alphabet.size(); ++k)
                    row.append(qint16(random.bounded(1, m.state_count + 1)));
                m.transitions.append(row);
            }
            for (const char c : a.alphabet)
                m.symbols.append(QString(QLatin1Char(c)));
            return a;
        }();
        return automaton;
    }
};

// The floor's table: rows of the model's width, states premultiplied.
struct FlatTable
{
    explicit FlatTable(const Automaton &a)
        : width(a.alphabet.size())
    {
        const modAll &m = a.model;
        for (size_t k = 0; k < width; ++k)
            symbolOf[uchar(a.alphabet[k])] = uint32_t(k);
        for (int s = 0; s < m.state_count; ++s) {
            accepting.push_back(m.states[s].is_final);
            for (size_t k = 0; k < width; ++k)
                next.push_back(uint32_t(m.transitions[s][qsizetype(k)] - 1) * uint32_t(width));
        }
    }

    size_t width;
    uint32_t symbolOf[256] = {};
    std::vector<uint32_t> next;
    std::vector<char> accepting;
};

// `lines` lines of `length` random symbols, each ended by LF; one line has no
// LF (the whole input is one long line). Made once for all repetitions.
const std::string &input(const Automaton &a, int64_t lines, int64_t length)
{
    static std::map<std::tuple<const Automaton *, int64_t, int64_t>, std::string> made;
    std::string &text = made[{&a, lines, length}];
    if (text.empty()) {
        QRandomGenerator random(7);
        text.reserve(size_t(lines * (length + 1)));
        for (int64_t l = 0; l < lines; ++l) {
            for (int64_t i = 0; i < length; ++i)
                text += a.alphabet[random.bounded(uint(a.alphabet.size()))];
            if (lines > 1)
                text += '\n';
        }
    }
    return text;
}

void reportRate(benchmark::State &state, size_t bytes, int64_t accepted)
{
    state.counters["rate"] = benchmark::Counter(double(bytes), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["accepted"] = double(accepted);
}

// Every line of `text` through the engine, counting the accepted ones.
int64_t engineCount(const ByteEngine &engine, const std::string &text)
{
    ByteRun run(engine, false);
    int64_t accepted = 0;
    const char *p = text.data();
    const char *const end = p + text.size();
    while (p < end) {
        const auto *newline = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        const char *const lineEnd = newline ? newline : end;
        accepted += run.run(QByteArrayView(p, lineEnd)) == ByteEngine::Verdict::Accepted;
        p = lineEnd + 1;
    }
    return accepted;
}

// The same with the floor's loop.
int64_t floorCount(const FlatTable &table, const std::string &text)
{
    int64_t accepted = 0;
    const auto *p = reinterpret_cast<const uchar *>(text.data());
    const uchar *const end = p + text.size();
    while (p < end) {
        const auto *newline = static_cast<const uchar *>(std::memchr(p, '\n', size_t(end - p)));
        const uchar *const lineEnd = newline ? newline : end;
        uint32_t s = 0;
        for (; p != lineEnd; ++p)
            s = table.next[s + table.symbolOf[*p]];
        accepted += table.accepting[s / table.width];
        p = lineEnd + 1;
    }
    return accepted;
}

void engineBench(benchmark::State &state, const Automaton &a, ByteEngine::Method method, int64_t lines,
                 int64_t length)
{
    const std::string &text = input(a, lines, length);
    const ByteEngine engine(a.model, method);
    int64_t accepted = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(accepted = engineCount(engine, text));
    reportRate(state, text.size(), accepted);
}

void floorBench(benchmark::State &state, const Automaton &a, int64_t lines, int64_t length)
{
    const std::string &text = input(a, lines, length);
    const FlatTable table(a);
    int64_t accepted = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(accepted = floorCount(table, text));
    reportRate(state, text.size(), accepted);
}

void BM_EngineLongLine(benchmark::State &state)
{
    engineBench(state, Automaton::divisibleBy3(), ByteEngine::Method::Automatic, 1, state.range(0));
}
void BM_EnginePlainLongLine(benchmark::State &state)
{
    engineBench(state, Automaton::divisibleBy3(), ByteEngine::Method::PlainLoop, 1, state.range(0));
}
void BM_FloorLongLine(benchmark::State &state)
{
    floorBench(state, Automaton::divisibleBy3(), 1, state.range(0));
}

void BM_EngineShortLines(benchmark::State &state)
{
    engineBench(state, Automaton::divisibleBy3(), ByteEngine::Method::Automatic, state.range(0), lineLength);
}
void BM_FloorShortLines(benchmark::State &state)
{
    floorBench(state, Automaton::divisibleBy3(), state.range(0), lineLength);
}

void BM_EngineManyStates(benchmark::State &state)
{
    engineBench(state, Automaton::manyStates(), ByteEngine::Method::Automatic, 1, state.range(0));
}
void BM_FloorManyStates(benchmark::State &state)
{
    floorBench(state, Automaton::manyStates(), 1, state.range(0));
}

// tarnwell-run --count's loop: every line of the buffer run, its verdict
// counted; against the counting floor, which walks the table over every byte
// and at each LF counts the state reached. The one long line ends with LF
// here, so that both count it.
const std::string &countedInput(const Automaton &a, int64_t lines, int64_t length)
{
    static std::map<std::pair<int64_t, int64_t>, std::string> made;
    std::string &text = made[{lines, length}];
    if (text.empty())
        text = input(a, lines, length) + (lines == 1 ? "\n" : "");
    return text;
}

void linesCountBench(benchmark::State &state, int64_t lines, int64_t length)
{
    const std::string &text = countedInput(Automaton::divisibleBy3(), lines, length);
    const ByteEngine engine(Automaton::divisibleBy3().model);
    ByteLines byteLines(engine);
    int64_t counts[4] = {};
    for (auto _ : state) {
        byteLines.run(text.data(), text.data() + text.size(), [&counts](ByteEngine::Verdict verdict, auto, auto) {
            ++counts[int(verdict)];
            return true;
        });
        benchmark::DoNotOptimize(counts);
    }
    reportRate(state, text.size(), counts[0] / int64_t(state.iterations()));
}

void floorCountBench(benchmark::State &state, int64_t lines, int64_t length)
{
    const std::string &text = countedInput(Automaton::divisibleBy3(), lines, length);
    const FlatTable table(Automaton::divisibleBy3());
    std::vector<int64_t> reached(table.next.size() + 1);
    for (auto _ : state) {
        uint32_t s = 0;
        for (const char c : text) {
            if (c == '\n') {
                ++reached[s];
                s = 0;
            } else {
                s = table.next[s + table.symbolOf[uchar(c)]];
            }
        }
        benchmark::DoNotOptimize(reached.data());
    }
    int64_t accepted = 0;
    for (size_t s = 0; s < table.accepting.size(); ++s)
        accepted += table.accepting[s] ? reached[s * table.width] : 0;
    reportRate(state, text.size(), accepted / int64_t(state.iterations()));
}

void BM_CountShortLines(benchmark::State &state) { linesCountBench(state, state.range(0), lineLength); }
void BM_FloorCountShortLines(benchmark::State &state) { floorCountBench(state, state.range(0), lineLength); }
void BM_CountLongLine(benchmark::State &state) { linesCountBench(state, 1, state.range(0)); }
void BM_FloorCountLongLine(benchmark::State &state) { floorCountBench(state, 1, state.range(0)); }

// The window's run (Play at 0 ms) over the input box's UTF-16 text, many states.
QString inputText(int64_t length)
{
    const std::string &bytes = input(Automaton::manyStates(), 1, length);
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

void BM_EngineText(benchmark::State &state)
{
    const QString text = inputText(state.range(0));
    const ByteEngine engine(Automaton::manyStates().model);
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.runText(text));
    reportRate(state, size_t(text.size()), engine.runText(text).verdict == ByteEngine::Verdict::Accepted);
}
void BM_FloorText(benchmark::State &state)
{
    const QString text = inputText(state.range(0));
    const FlatTable table(Automaton::manyStates());
    uint32_t s = 0;
    for (auto _ : state) {
        s = 0;
        for (const QChar c : text)
            s = table.next[s + table.symbolOf[c.unicode()]];
        benchmark::DoNotOptimize(s);
    }
    reportRate(state, size_t(text.size()), table.accepting[s / table.width]);
}

// Compiling the automaton of many states, which the window does at each Play.
void BM_CompileManyStates(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ByteEngine(Automaton::manyStates().model));
}

} // namespace

// Arguments: characters of the one line (or text), or the number of 10-character lines.
BENCHMARK(BM_EngineLongLine)->RangeMultiplier(10)->Range(1'000'000, 100'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnginePlainLongLine)->RangeMultiplier(10)->Range(1'000'000, 100'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorLongLine)->RangeMultiplier(10)->Range(1'000'000, 100'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineShortLines)->RangeMultiplier(10)->Range(10'000, 10'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorShortLines)->RangeMultiplier(10)->Range(10'000, 10'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountShortLines)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorCountShortLines)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountLongLine)->Arg(100'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorCountLongLine)->Arg(100'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineManyStates)->Arg(10'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorManyStates)->Arg(10'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineText)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorText)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompileManyStates)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::runWithRatios(argc, argv,
                                {{"BM_EngineLongLine", "BM_FloorLongLine"},
                                 {"BM_EnginePlainLongLine", "BM_FloorLongLine"},
                                 {"BM_EngineShortLines", "BM_FloorShortLines"},
                                 {"BM_CountShortLines", "BM_FloorCountShortLines"},
                                 {"BM_CountLongLine", "BM_FloorCountLongLine"},
                                 {"BM_EngineManyStates", "BM_FloorManyStates"},
                                 {"BM_EngineText", "BM_FloorText"}});
}
