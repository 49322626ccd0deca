// Grading a class: 300 students' files of up to 20 states over three symbols
// against one solution, each read from disk and graded into its line as
// tarnwell-run --grade does, against the least any grade must do: reading the
// same files and comparing each with the solution. The slowest file is a
// counter. The same 300 files through the tarnwell-run process, as a teacher
// runs it. And the agreement of two automata of 32,767 states over 100
// symbols (one the other with its states reordered and a tenth of its final
// marks changed, so that the pairs of states stay as many as the states),
// against counting the strings along one automaton alone with the same counts,
// which is all the pairs amount to here; and how soon it gives up on two that
// part at once, one cell apart.

#include "analysis/agreement.h"
#include "analysis/compare_automata.h"
#include "analysis/grade_automaton.h"
#include "analysis/joint_graph.h"
#include "analysis/wide_count.h"
#include "cli/grade_lines.h"
#include "document/tw_file.h"
#include "large_automata.h"
#include "ratio_reporter.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

constexpr int students = 300;
constexpr int solutionStates = 18;

// States q0 ..., symbols 0, 1, 2, a tenth of the cells empty, a third of the states final.
modAll randomAutomaton(int states, QRandomGenerator &random)
{
    modAll m;
    m.state_count = qint16(states);
    m.symbol_count = 3;
    m.symbols = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QString()};
    for (int s = 0; s <= states; ++s) {
        m.states.append({QStringLiteral("q%1").arg(s), s < states && random.bounded(3) == 0});
        QList<qint16> row;
        for (int j = 0; j < 3; ++j)
            row.append(s == states || random.bounded(10) == 0 ? qint16(0) : qint16(random.bounded(1, states + 1)));
        row.append(0);
        m.transitions.append(row);
    }
    return m;
}

// A student's answer: the solution with a few mistakes (a final mark, a cell,
// the start, a state too many or too few), or an unrelated automaton; about a
// third need more than two edits, which the search must rule out in full.
modAll studentFile(const modAll &solution, int student, QRandomGenerator &random)
{
    if (student % 6 == 5)
        return randomAutomaton(random.bounded(2, 21), random);
    modAll m = solution;
    for (int mistakes = student % 6 == 4 ? 3 : student % 3 + 1; mistakes > 0; --mistakes) {
        const int s = random.bounded(int(m.state_count));
        switch (random.bounded(5)) {
        case 0:
            m.states[s].is_final = !m.states[s].is_final;
            break;
        case 1:
            m.start_state = qint16(s);
            break;
        case 2:
            if (m.state_count < 20) {
                m.states.insert(m.state_count, {QStringLiteral("extra%1").arg(m.state_count), false});
                m.transitions.insert(m.state_count, QList<qint16>{qint16(m.state_count + 1), 0, 0, 0});
                m.transitions[s][random.bounded(3)] = qint16(++m.state_count);
                break;
            }
            [[fallthrough]];
        default:
            m.transitions[s][random.bounded(3)] = qint16(random.bounded(int(m.state_count) + 1));
            break;
        }
    }
    return m;
}

struct Class
{
    QTemporaryDir dir;
    QByteArray solution = QFile::encodeName(dir.filePath(QStringLiteral("solution.tw")));
    QByteArrayList files;

    Class()
    {
        QRandomGenerator random(24);
        const modAll solutionAutomaton = randomAutomaton(solutionStates, random);
        bool written = TwFile::save(solutionAutomaton, QFile::decodeName(solution)).ok();
        for (int student = 0; student < students; ++student) {
            files.append(QFile::encodeName(dir.filePath(QStringLiteral("student%1.tw").arg(student, 3, 10, QChar(u'0')))));
            written = written && TwFile::save(studentFile(solutionAutomaton, student, random), QFile::decodeName(files.last())).ok();
        }
        if (!written)
            qFatal("cannot write the benchmark's files");
    }
};

Class &theClass()
{
    static Class c;
    return c;
}

void BM_GradeClass(benchmark::State &state)
{
    const Class &c = theClass();
    double slowest = 0;
    QByteArray edits;
    for (auto _ : state) {
        const GradeLines lines(TwFile::loadNative(c.solution).value(), false);
        QByteArray text;
        for (const QByteArray &path : c.files) {
            const auto started = std::chrono::steady_clock::now();
            text += lines.graded(path, TwFile::loadNative(path).value());
            slowest = std::max(slowest, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count());
        }
        benchmark::DoNotOptimize(text.data());
        edits = text;
    }
    state.counters["slowest_file_ms"] = slowest;
    // How many files needed each number of edits, to show the class is mixed.
    for (const QByteArray &line : edits.split('\n'))
        if (!line.isEmpty())
            state.counters["edits_" + line.split('\t')[2].toStdString()] += 1;
}

void BM_CompareClass(benchmark::State &state)
{
    const Class &c = theClass();
    for (auto _ : state) {
        const modAll solution = TwFile::loadNative(c.solution).value();
        int equivalent = 0;
        for (const QByteArray &path : c.files)
            equivalent += Analysis::compareAutomata(TwFile::loadNative(path).value(), solution).equivalent ? 1 : 0;
        benchmark::DoNotOptimize(equivalent);
    }
}

void BM_GradeCommand(benchmark::State &state)
{
    const Class &c = theClass();
    QStringList arguments{QStringLiteral("--grade"), QFile::decodeName(c.solution)};
    for (const QByteArray &path : c.files)
        arguments.append(QFile::decodeName(path));
    for (auto _ : state) {
        QProcess run;
        run.setStandardOutputFile(QProcess::nullDevice());
        run.start(QStringLiteral(TARNWELL_RUN_PATH), arguments);
        if (!run.waitForFinished(120000) || run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0)
            state.SkipWithError("tarnwell-run --grade failed");
    }
}

using bench::largeStates;
using bench::largeSymbols;

struct LargePair
{
    modAll first = bench::randomLargeAutomaton(1);
    modAll second = bench::reorderedCopy(first, 3, true);
    // The first with one cell changed: past it, the two part for good and the
    // pairs within twelve characters grow towards 32,767^2.
    modAll oneCell = [this] {
        modAll m = first;
        m.transitions[0][0] = qint16(m.transitions[0][0] % largeStates + 1);
        return m;
    }();
};

const LargePair &largePair()
{
    static const LargePair pair;
    return pair;
}

// What the user waits for: both tables read and the strings counted.
void BM_AgreementLarge(benchmark::State &state)
{
    const LargePair &pair = largePair();
    for (auto _ : state) {
        const Analysis::DenseAutomaton first(pair.first), second(pair.second);
        const Analysis::Agreement agreed = Analysis::agreement(Analysis::JointGraph(first, second));
        if (!agreed.counted || agreed.tenths == 1000)
            state.SkipWithError("not counted, or counted as equal");
        state.counters["agreement_tenths"] = agreed.tenths;
    }
}

// Where counting would take too long, how soon it says so.
void BM_AgreementGivesUp(benchmark::State &state)
{
    const LargePair &pair = largePair();
    for (auto _ : state) {
        const Analysis::DenseAutomaton first(pair.first), changed(pair.oneCell);
        if (Analysis::agreement(Analysis::JointGraph(first, changed)).counted)
            state.SkipWithError("counted");
    }
}

// A whole grade at the largest size, as Compare With gives it: against the
// reordered copy with final marks changed (argument 0), against the copy with
// one cell changed (argument 1). No reference: it shows how long the window
// takes before the edit search stops at its bound.
void BM_GradeLarge(benchmark::State &state)
{
    const LargePair &pair = largePair();
    const Analysis::GradeSolution solution(pair.first);
    for (auto _ : state) {
        const Analysis::GradeResult grade = Analysis::gradeAutomaton(state.range(0) == 0 ? pair.second : pair.oneCell, solution);
        state.counters["edits_unknown"] = grade.editsFound == Analysis::GradeResult::Edits::NotSearched ? 1 : 0;
        state.counters["score"] = grade.score;
    }
}

// The strings of each length counted along the first automaton alone, with
// counts as wide as the pairs need, from its table as the file gives it.
void BM_CountAlongOne(benchmark::State &state)
{
    const modAll &m = largePair().first;
    using Count = Analysis::WideCount<2>;
    for (auto _ : state) {
        std::vector<int> next(size_t(largeStates) * largeSymbols);
        for (int s = 0; s < largeStates; ++s)
            for (int j = 0; j < largeSymbols; ++j) {
                const qint16 target = m.transitions[s][j];
                next[size_t(s) * largeSymbols + size_t(j)] = target == 0 ? s : target - 1;
            }
        std::vector<Count> counts(largeStates), longer(largeStates);
        counts[0] = Count::of(1);
        Count accepted;
        for (int length = 0; length <= Analysis::Agreement::longest; ++length) {
            std::fill(longer.begin(), longer.end(), Count());
            for (int s = 0; s < largeStates; ++s) {
                if (m.states[s].is_final)
                    accepted += counts[size_t(s)];
                if (length < Analysis::Agreement::longest && counts[size_t(s)].limb[0] | counts[size_t(s)].limb[1])
                    for (int j = 0; j < largeSymbols; ++j)
                        longer[size_t(next[size_t(s) * largeSymbols + size_t(j)])] += counts[size_t(s)];
            }
            counts.swap(longer);
        }
        benchmark::DoNotOptimize(accepted.limb.data());
    }
}

} // namespace

BENCHMARK(BM_GradeClass)->Unit(benchmark::kMillisecond)->Arg(students);
BENCHMARK(BM_CompareClass)->Unit(benchmark::kMillisecond)->Arg(students);
BENCHMARK(BM_GradeCommand)->Unit(benchmark::kMillisecond)->Arg(students);
BENCHMARK(BM_AgreementLarge)->Unit(benchmark::kMillisecond)->Arg(largeStates);
BENCHMARK(BM_CountAlongOne)->Unit(benchmark::kMillisecond)->Arg(largeStates);
BENCHMARK(BM_AgreementGivesUp)->Unit(benchmark::kMillisecond)->Arg(largeStates);
BENCHMARK(BM_GradeLarge)->Unit(benchmark::kMillisecond)->Arg(0)->Arg(1)->Iterations(1);

int main(int argc, char **argv)
{
    return bench::runWithRatios(argc, argv,
                                {{"BM_GradeClass", "BM_CompareClass"}, {"BM_AgreementLarge", "BM_CountAlongOne"}});
}
