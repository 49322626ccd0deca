#include "model/lookup.h"

#include "model/mod_all.h"

namespace {

const QString &symbolText(const QString &symbol) { return symbol; }
const QString &stateName(const StateEntry &state) { return state.name; }

} // namespace

SymbolIndex::SymbolIndex(const modAll &model)
{
    char16_t highest = 0;
    visitInLookupOrder(model.symbols, model.symbol_count, symbolText, [&](const QString &symbol, qint16) {
        if (symbol.size() == 1)
            highest = qMax(highest, symbol[0].unicode());
    });
    m_basic.assign(size_t(highest) + 1, 0);
    visitInLookupOrder(model.symbols, model.symbol_count, symbolText, [this](const QString &symbol, qint16 position) {
        if (!Characters::isOne(symbol))
            return;
        if (symbol.size() == 1)
            m_basic[symbol[0].unicode()] = position;
        else
            m_supplementary.insert(Characters::codePoint(symbol), position);
    });
}

StateIndex::StateIndex(const modAll &model)
{
    m_positions.reserve(qMax<qsizetype>(0, model.state_count));
    visitInLookupOrder(model.states, model.state_count, stateName,
                       [this](const QString &name, qint16 position) { m_positions.insert(name, position); });
}
