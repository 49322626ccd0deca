// Writing and reading a .tw file of 2,000 states by 500 symbols (1,000,000
// transition entries), against a bare reference: the reader against reading
// the same lines with std::getline and converting each with std::from_chars,
// the writer against formatting the same lines with std::to_chars. Also the
// refusal of a 60-byte file that claims 32767 states and 32767 symbols.

#include "document/tw_reader.h"
#include "document/tw_writer.h"
#include "ratio_reporter.h"

#include <QBuffer>

#include <charconv>
#include <sstream>
#include <vector>

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

void write(benchmark::State &state)
{
    QByteArray bytes;
    bytes.reserve(largeFile().size());
    for (auto _ : state) {
        bytes.clear();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!writeAutomaton(largeAutomaton(), buffer).ok())
            state.SkipWithError("write failed");
        benchmark::DoNotOptimize(bytes.data());
    }
    if (bytes != largeFile())
        state.SkipWithError("wrote other bytes");
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
        benchmark::DoNotOptimize(out.data());
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

// Every line taken with std::getline and converted with std::from_chars
// (blanks skipped first); lines that hold no number are kept as text.
void readLines(benchmark::State &state, const QByteArray &bytes)
{
    const std::string text = bytes.toStdString();
    for (auto _ : state) {
        std::istringstream in(text);
        std::vector<std::string> texts;
        std::vector<short> numbers;
        numbers.reserve(1000000);
        std::string line;
        while (std::getline(in, line)) {
            const char *begin = line.data();
            const char *end = begin + line.size();
            while (begin < end && *begin == ' ')
                ++begin;
            short value = 0;
            if (std::from_chars(begin, end, value).ec == std::errc())
                numbers.push_back(value);
            else
                texts.push_back(line);
        }
        benchmark::DoNotOptimize(numbers.data());
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
