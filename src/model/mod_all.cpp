#include "model/mod_all.h"

#include "model/lookup.h"

namespace {

// Walks every entry (see visitInLookupOrder), so that with repeated keys the last match wins.
template <typename Sequence, typename KeyOf>
qint16 findLast(const Sequence &entries, qint16 count, KeyOf &&keyOf, const QString &key)
{
    qint16 found = 0;
    visitInLookupOrder(entries, count, keyOf, [&](const QString &entryKey, qint16 position) {
        if (entryKey == key)
            found = position;
    });
    return found;
}

} // namespace

void modAll::newFile()
{
    is_untitled = true;
    file_name = QStringLiteral("NoName");
    is_saved = true;
    symbol_count = 0;
    state_count = 0;
    start_state = 0;
    comment.clear();
    states.clear();
    symbols.clear();
    transitions.clear();
}

bool modAll::sameAutomaton(const modAll &other) const
{
    return state_count == other.state_count && start_state == other.start_state
        && symbol_count == other.symbol_count && states == other.states && symbols == other.symbols
        && transitions == other.transitions && comment == other.comment;
}

void modAll::takeAutomaton(const modAll &other)
{
    state_count = other.state_count;
    states = other.states;
    start_state = other.start_state;
    symbol_count = other.symbol_count;
    symbols = other.symbols;
    transitions = other.transitions;
    comment = other.comment;
}

qint16 modAll::findState(const QString &key) const
{
    return findLast(states, state_count, [](const StateEntry &s) -> const QString & { return s.name; }, key);
}

qint16 modAll::findSymbol(const QString &key) const
{
    return findLast(symbols, symbol_count, [](const QString &s) -> const QString & { return s; }, key);
}
