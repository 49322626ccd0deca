// Feeds arbitrary bytes to the .tw reader. Whatever it accepts must survive a
// write and a second read unchanged, and the second write must give the same
// bytes as the first.

#include "document/tw_reader.h"
#include "document/tw_writer.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool sameAutomaton(const modAll &a, const modAll &b)
{
    if (a.state_count != b.state_count || a.start_state != b.start_state || a.symbol_count != b.symbol_count
        || a.symbols != b.symbols || a.transitions != b.transitions || a.comment != b.comment
        || a.states.size() != b.states.size())
        return false;
    for (qsizetype i = 0; i < a.states.size(); ++i)
        if (a.states[i].name != b.states[i].name || a.states[i].is_final != b.states[i].is_final)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const TwResult<modAll> first = readAutomaton(QByteArrayView(data, qsizetype(size)));
    if (!first.ok()) {
        if (first.failure().line < 1 || first.failure().what.isEmpty())
            std::abort();
        return 0;
    }
    const QByteArray written = automatonBytes(first.value());
    const TwResult<modAll> second = readAutomaton(written);
    if (!second.ok() || !sameAutomaton(first.value(), second.value()))
        std::abort();
    if (automatonBytes(second.value()) != written)
        std::abort();
    return 0;
}
