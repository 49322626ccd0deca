#include "run/run_path.h"

#include "model/characters.h"
#include "model/lookup.h"
#include "model/mod_all.h"
#include "run/run_steps.h"

#include <QSet>

#include <array>

namespace {

// A step of the walk as it is noted while the string goes on: no text of its
// own, so a long string allocates nothing per step.
struct Noted
{
    qsizetype at = 0;     // where its character begins in the string
    qsizetype length = 0;
    qint16 from = 0;
    qint16 to = 0;
    qint16 symbol = 0;
    bool followed = false;
};

RunStep stepOf(const Noted &noted, QStringView text)
{
    RunStep step;
    step.character = text.sliced(noted.at, noted.length).toString();
    step.from = noted.from;
    step.to = noted.to;
    step.symbol = noted.symbol;
    step.followed = noted.followed;
    return step;
}

// The cells (state, symbol) a run went through, each once. Most runs go
// through few cells again and again: a small table in front of the set
// answers those without hashing into it.
class CellsSeen
{
public:
    void note(qint16 state, qint16 symbol)
    {
        const quint32 cell = quint32(quint16(state)) << 16 | quint16(symbol);
        quint32 &recent = m_recent[(cell * 2654435761u) >> 24];
        if (recent == cell)
            return;
        recent = cell;
        m_cells.insert(cell);
    }

    QList<RunMove> moves(const modAll &model) const
    {
        QList<RunMove> moves;
        moves.reserve(m_cells.size());
        for (const quint32 cell : m_cells) {
            RunMove move;
            move.from = qint16(cell >> 16);
            move.to = move.from;
            move.followed = RunSteps::follow(model, move.to, qint16(cell & 0xFFFF));
            moves.append(move);
        }
        return moves;
    }

private:
    std::array<quint32, 256> m_recent = [] {
        std::array<quint32, 256> none;
        none.fill(0xFFFFFFFFu);   // no cell: symbols are below 32768
        return none;
    }();
    QSet<quint32> m_cells;
};

} // namespace

RunPath runPath(const modAll &model, QStringView text)
{
    RunPath path;
    if (!RunSteps::startIsValid(model)) {
        path.invalidStart = true;
        return path;
    }
    const SymbolIndex symbols(model);
    path.start = model.start_state;
    qint16 state = path.start;
    std::array<Noted, RunPath::keptSteps> last;   // the latest steps past the first ones, round and round
    CellsSeen cells;
    qsizetype at = 0;
    while (at < text.size()) {
        const QStringView rest = text.sliced(at);
        const qsizetype length = Characters::firstLength(rest);
        const qint16 symbol = symbols.find(rest, length);
        if (symbol == 0) {
            path.stopped = true;
            break;
        }
        Noted noted{at, length, state, state, qint16(symbol - 1), false};
        noted.followed = RunSteps::follow(model, state, noted.symbol);
        noted.to = state;
        if (model.isState(noted.from))
            cells.note(noted.from, noted.symbol);
        if (path.stepCount < RunPath::keptSteps)
            path.firstSteps.append(stepOf(noted, text));
        else
            last[(path.stepCount - RunPath::keptSteps) % RunPath::keptSteps] = noted;
        ++path.stepCount;
        at += length;
    }
    const qsizetype pastFirst = path.stepCount - path.firstSteps.size();
    for (qsizetype i = qMax<qsizetype>(0, pastFirst - RunPath::keptSteps); i < pastFirst; ++i)
        path.lastSteps.append(stepOf(last[i % RunPath::keptSteps], text));
    path.consumed = at;
    path.end = state;
    path.moves = cells.moves(model);
    path.verdict = path.stopped ? RunVerdict::Error
        : RunSteps::isAccepting(model, state) ? RunVerdict::Accepted
                                              : RunVerdict::Rejected;
    return path;
}
