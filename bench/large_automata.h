#pragma once

// The largest automata a file can hold, for the analyses' benchmarks: 32,767
// states by 100 symbols with random targets (a tenth of the cells empty, half
// the states final), and such an automaton with its states in another order.

#include "model/mod_all.h"

#include <QRandomGenerator>

#include <algorithm>
#include <numeric>
#include <vector>

namespace bench {

constexpr int largeStates = 32767;
constexpr int largeSymbols = 100;

inline modAll randomLargeAutomaton(quint32 seed)
{
    QRandomGenerator random(seed);
    modAll m;
    m.state_count = qint16(largeStates);
    m.symbol_count = largeSymbols;
    for (int s = 0; s < largeStates; ++s)
        m.states.append({QStringLiteral("q%1").arg(s), random.bounded(2) == 0});
    m.states.append(StateEntry{});
    for (int j = 0; j < largeSymbols; ++j)
        m.symbols.append(QString(QChar(0x100 + j)));
    m.symbols.append(QString());
    for (int s = 0; s < largeStates; ++s) {
        QList<qint16> row;
        for (int j = 0; j < largeSymbols; ++j)
            row.append(random.bounded(10) == 0 ? qint16(0) : qint16(random.bounded(1, largeStates + 1)));
        row.append(0);
        m.transitions.append(row);
    }
    m.transitions.append(QList<qint16>());
    return m;
}

// `m` with its states in another order, the same language; with
// `changeFinals`, a tenth of its final marks changed as well.
inline modAll reorderedCopy(const modAll &m, quint32 seed, bool changeFinals)
{
    std::vector<int> order(largeStates);
    std::iota(order.begin(), order.end(), 0);
    QRandomGenerator random(seed);
    std::shuffle(order.begin(), order.end(), random);
    std::vector<int> placeOf(largeStates);
    for (int i = 0; i < largeStates; ++i)
        placeOf[size_t(order[size_t(i)])] = i;
    modAll c = m;
    for (int i = 0; i < largeStates; ++i) {
        const int s = order[size_t(i)];
        c.states[i] = m.states[s];
        if (changeFinals && random.bounded(10) == 0)
            c.states[i].is_final = !c.states[i].is_final;
        c.transitions[i] = m.transitions[s];
        for (int j = 0; j < largeSymbols; ++j)
            if (c.transitions[i][j] != 0)
                c.transitions[i][j] = qint16(placeOf[size_t(m.transitions[s][j] - 1)] + 1);
    }
    c.start_state = qint16(placeOf[0]);
    return c;
}

} // namespace bench
