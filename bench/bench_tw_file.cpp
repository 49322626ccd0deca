// Saving and reading a .tw file of 2,000 states by 500 symbols (1,000,000
// transition entries), against the floor of the same work: the save (the real
// one, TwFile::save: its temporary file written, synced and renamed) against
// formatting the same lines with std::to_chars and writing them to a file with
// one write();
// the reader against scanning the same bytes in memory, lines found with
// memchr and each converted with std::from_chars. Also the refusal of a 60-byte
// file that claims 32767 states and 32767 symbols. Run with
// --benchmark_repetitions=5 or more: each ratio is the median of paired runs.

#include "document/tw_file.h"
#include "document/tw_reader.h"
#include "document/tw_writer.h"
#include "ratio_reporter.h"

#include <QFile>
#include <QTemporaryDir>

#include <charconv>
#include <cstring>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

const modAll &largeAutomaton()
{
    static const modAll automaton = [] {
        modAll m;
        m.state_count = 2000;
        m.symbol_count = 500;
        for (int i = 0; i <= m.state_count; ++i)
            m.states.append({QStringLiteral("state %1").arg(i), i % 3 == 0});
        for (int j = 0; j <= m.symbol_count; ++j)
            m.symbols.append(QString(QChar(0x100 + j)));
        for (int i = 0; i <= m.state_count; ++i) {
            QList<qint16> row;
            for (int j = 0; j <= m.symbol_count; ++j)
                row.append(qint16((i * 7 + j * 13) % (m.state_count + 1)));
            m.transitions.append(row);
        }
        m.comment = QStringLiteral("A large automaton\r\nfor timing");
        return m;
    }();
    return automaton;
}

const QByteArray &largeFile()
{
    static const QByteArray bytes = automatonBytes(largeAutomaton());
    return bytes;
}

QString savePath()
{
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("large.tw"));
}

void write(benchmark::State &state)
{
    const QString path = savePath();
    for (auto _ : state)
        if (!TwFile::save(largeAutomaton(), path).ok())
            state.SkipWithError("save failed");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.readAll() != largeFile())
        state.SkipWithError("saved other bytes");
}

// The same lines, numbers formatted with std::to_chars, names copied as they
// are: the least a writer can do.
void writeReference(benchmark::State &state)
{
    const modAll &m = largeAutomaton();
    std::vector<std::string> names, symbols;
    for (int i = 0; i < m.state_count; ++i)
        names.push_back(m.states[i].name.toStdString());
    for (int j = 0; j < m.symbol_count; ++j)
        symbols.push_back(m.symbols[j].toStdString());
    const QByteArray path = QFile::encodeName(savePath() + QStringLiteral(".reference"));
    std::string out;
    out.reserve(std::size_t(largeFile().size()));
    const auto number = [&out](int value) {
        char digits[8];
        out += value < 0 ? '-' : ' ';
        const auto end = std::to_chars(digits, digits + sizeof digits, value < 0 ? -value : value).ptr;
        out.append(digits, end);
        out += " \r\n";
    };
    for (auto _ : state) {
        out.clear();
        out += "Q\r\n";
        number(m.state_count);
        for (int i = 0; i < m.state_count; ++i)
            out += names[std::size_t(i)] + "\r\n" + (m.states[i].is_final ? "True\r\n" : "False\r\n");
        out += "Start\r\n";
        number(m.start_state);
        out += "E\r\n";
        number(m.symbol_count);
        for (const std::string &symbol : symbols)
            out += symbol + "\r\n";
        out += "Q/E\r\n";
        for (int i = 0; i < m.state_count; ++i)
            for (int j = 0; j < m.symbol_count; ++j)
                number(m.transitions[i][j]);
        const int descriptor = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (descriptor < 0 || ::write(descriptor, out.data(), out.size()) != ssize_t(out.size()) || ::close(descriptor) != 0)
            state.SkipWithError("write failed");
    }
}

void read(benchmark::State &state)
{
    for (auto _ : state) {
        const TwResult<modAll> result = readAutomaton(largeFile());
        if (!result.ok() || result.value().transitions[1999][499] != largeAutomaton().transitions[1999][499])
            state.SkipWithError("read failed");
    }
}

// Every line found with memchr in the bytes in memory and converted with
// std::from_chars (blanks skipped first); lines that hold no number are kept
// as text.
void readLines(benchmark::State &state, const QByteArray &bytes)
{
    for (auto _ : state) {
        std::vector<std::string_view> texts;
        std::vector<short> numbers;
        numbers.reserve(1000000);
        const char *p = bytes.constData();
        const char *const end = p + bytes.size();
        while (p < end) {
            const auto *newline = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
            const char *lineEnd = newline ? newline : end;
            const char *begin = p;
            while (begin < lineEnd && *begin == ' ')
                ++begin;
            short value = 0;
            if (std::from_chars(begin, lineEnd, value).ec == std::errc())
                numbers.push_back(value);
            else
                texts.emplace_back(p, size_t(lineEnd - p));
            p = lineEnd + 1;
        }
        benchmark::DoNotOptimize(numbers.data());
        benchmark::DoNotOptimize(texts.data());
    }
}

void readReference(benchmark::State &state) { readLines(state, largeFile()); }

// 60 bytes claiming the largest table the format allows.
const QByteArray hugeClaim = QByteArray("Q\r\n 32767 \r\nq\r\nFalse\r\nStart\r\n 0 \r\nE\r\n 32767 \r\na\r\nQ/E\r\n 1 \r\n").leftJustified(60, '\n');

void refuseHugeClaim(benchmark::State &state)
{
    for (auto _ : state)
        if (readAutomaton(hugeClaim).ok())
            state.SkipWithError("accepted");
}

void refuseHugeClaimReference(benchmark::State &state) { readLines(state, hugeClaim); }

} // namespace

int main(int argc, char **argv)
{
    benchmark::RegisterBenchmark("write/2000x500", write)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("write reference/2000x500", writeReference)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("read/2000x500", read)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("read reference/2000x500", readReference)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("refuse/60-byte huge claim", refuseHugeClaim)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("refuse reference/60-byte huge claim", refuseHugeClaimReference)
        ->Unit(benchmark::kMicrosecond);
    return bench::runWithRatios(argc, argv,
                                {{"write", "write reference"}, {"read", "read reference"}, {"refuse", "refuse reference"}});
}
