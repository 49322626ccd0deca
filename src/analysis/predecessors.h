#pragma once

#include "analysis/dense_automaton.h"

#include <span>
#include <vector>

namespace Analysis {

// The table read backwards: for each state and column, the states that step
// into it on that column. Searches towards the final states and the partition
// refinement walk it; it takes two ints per cell of the table.
class Predecessors
{
public:
    explicit Predecessors(const DenseAutomaton &automaton);

    // The states that step into `state` on `column`.
    std::span<const int> of(int state, int column) const
    {
        const size_t cell = size_t(state) * m_width + size_t(column);
        return {m_sources.data() + m_offsets[cell], m_sources.data() + m_offsets[cell + 1]};
    }
    // The states that step into `state` on any column, once per column.
    std::span<const int> of(int state) const
    {
        const size_t first = size_t(state) * m_width;
        return {m_sources.data() + m_offsets[first], m_sources.data() + m_offsets[first + m_width]};
    }

private:
    size_t m_width;
    std::vector<int> m_offsets; // by target cell (state * width + column), one past the last
    std::vector<int> m_sources;
};

} // namespace Analysis
