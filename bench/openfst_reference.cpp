#include "openfst_reference.h"

#include <fst/fstlib.h>

int openFstMinimalStates(int states, int start, const std::vector<char> &final,
                         const std::vector<std::array<int, 3>> &arcs)
{
    fst::StdVectorFst input;
    input.ReserveStates(states);
    for (int s = 0; s < states; ++s)
        input.AddState();
    input.SetStart(start);
    for (int s = 0; s < states; ++s)
        if (final[size_t(s)])
            input.SetFinal(s, fst::TropicalWeight::One());
    for (const auto &[from, label, to] : arcs)
        input.AddArc(from, fst::StdArc(label, label, fst::TropicalWeight::One(), to));
    fst::RmEpsilon(&input);
    fst::StdVectorFst deterministic;
    fst::Determinize(input, &deterministic);
    fst::Minimize(&deterministic);
    return deterministic.NumStates();
}
