#include "analysis/predecessors.h"

namespace Analysis {

Predecessors::Predecessors(const DenseAutomaton &automaton)
    : m_width(size_t(automaton.width()))
{
    const int states = automaton.stateCount();
    const int width = automaton.width();
    const size_t cells = size_t(states) * m_width;
    const auto cellOf = [&](int state, int column) {
        return size_t(automaton.next(state, column)) * m_width + size_t(column);
    };

    // Counts, summed so that each cell's offset is the end of its sources; filling
    // each cell from its end then leaves the offset at its start.
    m_offsets.assign(cells + 1, 0);
    for (int state = 0; state < states; ++state)
        for (int column = 0; column < width; ++column)
            ++m_offsets[cellOf(state, column)];
    for (size_t cell = 1; cell < cells; ++cell)
        m_offsets[cell] += m_offsets[cell - 1];
    m_offsets[cells] = int(cells);

    m_sources.resize(cells);
    for (int state = states - 1; state >= 0; --state)
        for (int column = 0; column < width; ++column)
            m_sources[size_t(--m_offsets[cellOf(state, column)])] = state;
}

} // namespace Analysis
