// tarnwell-run as a whole process on one input line of 10,000,000 characters
// through an automaton of 1,000 states, against a bare reference in this
// binary: the same line through the same table with a plain array lookup.

#include "document/tw_file.h"
#include "ratio_reporter.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <array>
#include <string>
#include <vector>

namespace {

constexpr int stateCount = 1000;
constexpr qsizetype lineLength = 10'000'000;

// Binary numbers modulo 1000, most significant bit first: state r on bit b
// goes to (2r + b) mod 1000; accepts the multiples of 1000.
modAll moduloAutomaton()
{
    modAll m;
    m.state_count = stateCount;
    for (int r = 0; r <= stateCount; ++r)
        m.states.append({QStringLiteral("r%1").arg(r), r == 0});
    m.symbol_count = 2;
    m.symbols = {QStringLiteral("0"), QStringLiteral("1"), QString()};
    for (int r = 0; r <= stateCount; ++r)
        m.transitions.append({qint16((2 * r) % stateCount + 1), qint16((2 * r + 1) % stateCount + 1), 0});
    return m;
}

struct Files
{
    QTemporaryDir dir;
    QString automaton = dir.filePath(QStringLiteral("modulo.tw"));
    QString input = dir.filePath(QStringLiteral("line.txt"));
    std::string line;

    Files()
    {
        QRandomGenerator random(1000);
        line.resize(std::size_t(lineLength));
        for (char &c : line)
            c = char('0' + random.bounded(2));
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly) || file.write(line.data(), qint64(line.size())) != qint64(line.size())
            || !file.write("\n") || !TwFile::save(moduloAutomaton(), automaton).ok())
            qFatal("cannot write the benchmark's files");
    }
};

Files &files()
{
    static Files f;
    return f;
}

void process(benchmark::State &state)
{
    Files &f = files();
    for (auto _ : state) {
        QProcess run;
        run.setStandardInputFile(f.input);
        run.setStandardOutputFile(QProcess::nullDevice());
        run.start(QStringLiteral(TARNWELL_RUN_PATH), {f.automaton});
        if (!run.waitForFinished(60000) || run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0)
            state.SkipWithError("tarnwell-run failed");
    }
}

void processReference(benchmark::State &state)
{
    const std::string &line = files().line;
    std::vector<std::array<int, 2>> next(stateCount);
    for (int r = 0; r < stateCount; ++r)
        next[std::size_t(r)] = {(2 * r) % stateCount, (2 * r + 1) % stateCount};
    for (auto _ : state) {
        int current = 0;
        for (const char c : line)
            current = next[std::size_t(current)][std::size_t(c - '0')];
        benchmark::DoNotOptimize(current);
    }
}

} // namespace

int main(int argc, char **argv)
{
    files();
    benchmark::RegisterBenchmark("tarnwell-run/10M characters", process)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("bare table loop/10M characters", processReference)->Unit(benchmark::kMillisecond);
    return bench::runWithRatios(argc, argv, {{"tarnwell-run", "bare table loop"}});
}
