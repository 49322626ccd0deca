#include "model/transition_cells.h"

#include "model/lookup.h"
#include "model/mod_all.h"

#include <optional>
#include <utility>

TransitionCells::TransitionCells(const modAll &model)
    : m_states(qMax<int>(0, model.state_count))
    , m_symbols(qMax<int>(0, model.symbol_count))
{
    const qsizetype cells = qsizetype(m_states) * m_symbols;
    m_texts.reserve(cells);
    m_targets.reserve(cells);
    for (int state = 0; state < m_states; ++state)
        for (int symbol = 0; symbol < m_symbols; ++symbol) {
            const qint16 target = model.entry(state, symbol);
            const bool named = model.isTarget(target);
            m_targets.append(named ? target : qint16(0));
            m_texts.append(named ? model.states[target - 1].name : QString());
        }
    m_typed.resize(cells);
}

void TransitionCells::setText(int state, int symbol, const QString &text)
{
    m_texts[cell(state, symbol)] = text;
    m_typed.setBit(cell(state, symbol));
}

TransitionCells::Stored TransitionCells::store(const modAll &model) const
{
    Stored stored{fittedRows(model)};
    // Built at the first typed name only: a table nobody typed into needs none.
    std::optional<StateIndex> names;
    for (int state = 0; state < m_states; ++state) {
        QList<qint16> &row = stored.transitions[state];
        for (int symbol = 0; symbol < m_symbols; ++symbol) {
            const qsizetype at = cell(state, symbol);
            qint16 target = m_targets[at];
            if (m_typed.testBit(at) && !m_texts[at].isEmpty()) {
                if (!names)
                    names.emplace(model);
                target = names->find(m_texts[at]);
                if (target == 0) {
                    stored.refusedState = state;
                    stored.refusedSymbol = symbol;
                    return stored;
                }
            } else if (m_typed.testBit(at)) {
                target = 0;   // an empty cell is no transition, whatever the states are called
            }
            if (std::as_const(row)[symbol] != target)   // rows that do not change stay shared
                row[symbol] = target;
        }
    }
    return stored;
}

QList<QList<qint16>> TransitionCells::fittedRows(const modAll &model)
{
    QList<QList<qint16>> rows = model.transitions;
    const qint16 states = qMax<qint16>(0, model.state_count);
    if (rows.size() < states)
        sizeWithSpare(rows, states);
    for (qint16 state = 0; state < states; ++state)
        sizeWithSpare<qint16>(rows[state], qMax<qint16>(0, model.symbol_count), 0);
    return rows;
}
