#include "analysis/dense_automaton.h"

#include "model/characters.h"
#include "model/lookup.h"
#include "run/run_steps.h"

namespace Analysis {

DenseAutomaton::DenseAutomaton(const modAll &model)
{
    // A column per distinct character, at its first appearance; it reads the
    // table where findSymbol finds the character.
    const SymbolIndex index(model);
    const qsizetype symbolCount = qMin<qsizetype>(model.symbol_count, model.symbols.size());
    for (qsizetype j = 0; j < symbolCount; ++j) {
        const QString &symbol = model.symbols[j];
        if (!Characters::isOne(symbol))
            continue;
        const char32_t character = Characters::codePoint(symbol);
        if (m_columns.contains(character))
            continue;
        m_columns.insert(character, m_width++);
        m_characters.append(symbol);
        m_symbolPositions.push_back(index.find(symbol) - 1);
    }

    if (model.state_count == 0) {
        m_standIn = true;
        m_stateCount = 1;
        m_start = 0;
        m_final.assign(1, 0);
        m_next.assign(size_t(m_width), 0);
        return;
    }

    // A state the count claims but `states` does not hold is no state to the run.
    m_stateCount = int(qBound(qsizetype(0), qsizetype(model.state_count), model.states.size()));
    m_start = RunSteps::startIsValid(model) ? model.start_state : noStart;
    m_final.resize(size_t(m_stateCount));
    m_next.resize(size_t(m_stateCount) * size_t(m_width));
    for (int state = 0; state < m_stateCount; ++state) {
        m_final[size_t(state)] = model.states[state].is_final ? 1 : 0;
        for (int column = 0; column < m_width; ++column) {
            qint16 reached = qint16(state);
            RunSteps::follow(model, reached, qint16(m_symbolPositions[size_t(column)]));
            m_next[size_t(state) * size_t(m_width) + size_t(column)] = reached;
        }
    }
}

DenseAutomaton::DenseAutomaton(QList<QString> characters, std::vector<int> next, std::vector<char> final, int start)
    : m_stateCount(int(final.size()))
    , m_width(int(characters.size()))
    , m_start(start)
    , m_next(std::move(next))
    , m_final(std::move(final))
    , m_characters(std::move(characters))
{
    for (int column = 0; column < m_width; ++column) {
        m_columns.insert(Characters::codePoint(m_characters[column]), column);
        m_symbolPositions.push_back(column);
    }
}

} // namespace Analysis
