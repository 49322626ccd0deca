// Feeds arbitrary bytes to the one loader of automaton files, JFLAP's XML or
// .tw. A refusal must give a reason. An automaton it accepts must be written
// as a JFLAP file (or refused for a character XML cannot hold), and that file
// must read back as an automaton equivalent to it, with as many states.

#include "analysis/compare_automata.h"
#include "document/automaton_file.h"
#include "document/jff_writer.h"

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool holds)
{
    if (!holds)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const TwResult<LoadedAutomaton> first = readAutomatonFile(QByteArrayView(data, qsizetype(size)));
    if (!first.ok()) {
        require(!first.failure().what.isEmpty());
        return 0;
    }
    const LoadedAutomaton &loaded = first.value();
    require(loaded.format == LoadedAutomaton::Format::Tarnwell
            || loaded.places.size() == qsizetype(loaded.automaton.state_count));
    const TwResult<QByteArray> written = jffBytes(loaded.automaton, loaded.places);
    if (!written.ok())
        return 0;
    const TwResult<LoadedAutomaton> second = readAutomatonFile(written.value());
    require(second.ok() && second.value().format == LoadedAutomaton::Format::Jflap);
    const modAll &again = second.value().automaton;
    // A start state that names no state reads back as none, and an automaton
    // without states as one without states; nothing else changes.
    require(again.state_count == loaded.automaton.state_count);
    if (loaded.automaton.state_count > 0 && loaded.automaton.isState(loaded.automaton.start_state))
        require(Analysis::compareAutomata(loaded.automaton, again).equivalent);
    return 0;
}
