#include "model/mod_all.h"

namespace {

// Walks every entry so that, with repeated keys, the last match wins.
template <typename Sequence, typename Key>
qint16 findLast(const Sequence &entries, qint16 count, Key &&keyOf, const QString &key)
{
    qint16 found = 0;
    const qsizetype end = qMin<qsizetype>(count, entries.size());
    for (qsizetype i = 0; i < end; ++i)
        if (keyOf(entries[i]) == key)
            found = qint16(i + 1);
    return found;
}

} // namespace

qint16 modAll::findState(const QString &key) const
{
    return findLast(states, state_count, [](const StateEntry &s) -> const QString & { return s.name; }, key);
}

qint16 modAll::findSymbol(const QString &key) const
{
    return findLast(symbols, symbol_count, [](const QString &s) -> const QString & { return s; }, key);
}

qint16 modAll::entry(int state, int symbol) const
{
    if (state < 0 || state >= transitions.size())
        return 0;
    const QList<qint16> &row = transitions[state];
    if (symbol < 0 || symbol >= row.size())
        return 0;
    return row[symbol];
}
