// Feeds arbitrary text to the expression parser, optionally after an alphabet
// (the text before a first byte 01). An expression it refuses must be refused
// with a reason; one it accepts must give an automaton over its alphabet whose
// own expression, read back, describes the same language.

#include "analysis/automaton_regex.h"
#include "analysis/compare_automata.h"
#include "analysis/regex_automaton.h"

#include <cstdint>
#include <cstdlib>

namespace {

// Small enough that every input runs fast; the limit itself is tested apart.
constexpr int stateLimit = 2000;

void require(bool holds)
{
    if (!holds)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const qsizetype split = bytes.indexOf('\x01');
    const QString text = QString::fromUtf8(split < 0 ? bytes : bytes.sliced(split + 1));
    const QString alphabet = split < 0 ? QString() : QString::fromUtf8(bytes.first(split));
    const std::optional<QStringView> given = split < 0 ? std::nullopt : std::optional<QStringView>(alphabet);

    const Analysis::RegexAutomaton made = Analysis::automatonFromRegex(text, given, stateLimit);
    if (made.error) {
        require(!made.error->what.isEmpty() && made.error->position >= 0);
        return 0;
    }
    const modAll &automaton = made.automaton;
    require(automaton.state_count >= 1 && automaton.start_state == 0);

    const Analysis::AutomatonRegex described = Analysis::automatonRegex(automaton);
    if (described.refused())
        return 0;
    QString symbols;
    for (int j = 0; j < automaton.symbol_count; ++j)
        symbols += automaton.symbols[j];
    const Analysis::RegexAutomaton back = Analysis::automatonFromRegex(described.expression, QStringView(symbols), stateLimit);
    if (back.error) {
        // Only for its size (longer than the parser reads, more states on the
        // way than the limit): never for a mistake at a position.
        require(back.error->position == 0);
        return 0;
    }
    require(Analysis::compareAutomata(automaton, back.automaton).equivalent);
    return 0;
}
