#include "run/byte_engine.h"

#include "model/characters.h"
#include "model/lookup.h"
#include "run/run_steps.h"

#include <algorithm>
#include <map>

ByteEngine::ByteEngine(const modAll &model, Method method)
{
    m_startIsValid = RunSteps::startIsValid(model);
    m_startState = model.start_state;

    // Rows: the accepting states, then the others, each in the model's order.
    // A state the count claims but `states` does not hold is no state to a run.
    const int stateCount = model.state_count > 0 ? int(qMin<qsizetype>(model.state_count, model.states.size())) : 0;
    m_hasStates = stateCount > 0;
    std::vector<uint32_t> rowOfState(size_t(stateCount), 0);
    uint32_t acceptingRows = 0;
    for (const bool accepting : {true, false}) {
        for (int s = 0; s < stateCount; ++s)
            if (model.states[s].is_final == accepting) {
                rowOfState[size_t(s)] = uint32_t(m_stateOf.size());
                m_stateOf.push_back(qint16(s));
            }
        if (accepting)
            acceptingRows = uint32_t(m_stateOf.size());
    }
    if (!m_hasStates)
        m_stateOf.push_back(model.start_state);   // Nowhere
    const auto rows = uint32_t(m_stateOf.size());

    // The symbol each character reads, as findSymbol finds it; a symbol that
    // is not one character is never found.
    std::map<char32_t, qint16> symbolOf;
    visitInLookupOrder(model.symbols, model.symbol_count, [](const QString &symbol) -> const QString & { return symbol; },
                       [&symbolOf](const QString &symbol, qint16 position) {
                           if (Characters::isOne(symbol))
                               symbolOf[Characters::codePoint(symbol)] = qint16(position - 1);
                       });

    // A column: for each row, the row it leads to (times two) plus one when
    // the step follows a transition. Characters with equal columns share a
    // class; ASCII comes first in the map, so its classes fit the byte table.
    std::map<std::vector<uint32_t>, uint32_t> classOfColumn;
    std::vector<const std::vector<uint32_t> *> columnOfClass{nullptr};   // class 0 is the stop class
    std::vector<uint32_t> column(rows);
    for (const auto &[character, symbol] : symbolOf) {
        for (uint32_t row = 0; row < rows; ++row) {
            qint16 reached = m_stateOf[row];
            const bool moved = RunSteps::follow(model, reached, symbol);
            column[row] = (moved ? rowOfState[size_t(reached)] : row) << 1 | (moved ? 1 : 0);
        }
        const auto [found, isNew] = classOfColumn.try_emplace(column, uint32_t(columnOfClass.size()));
        if (isNew)
            columnOfClass.push_back(&found->first);
        if (character < 0x80)
            m_byteClass[character] = uint8_t(found->second);
        else
            m_wideClasses.emplace_back(character, found->second);
    }

    m_width = uint32_t(columnOfClass.size());
    m_stop = rows * m_width;
    m_table.assign(size_t(rows + 1) * m_width, m_stop);   // Stop's own row leads to Stop
    m_moves.assign(m_table.size(), 0);
    for (uint32_t symbolClass = 1; symbolClass < m_width; ++symbolClass)
        for (uint32_t row = 0; row < rows; ++row) {
            const uint32_t cell = (*columnOfClass[symbolClass])[row];
            m_table[row * m_width + symbolClass] = (cell >> 1) * m_width;
            m_moves[row * m_width + symbolClass] = uint8_t(cell & 1);
        }
    m_start = m_hasStates && m_startIsValid ? rowOfState[size_t(model.start_state)] * m_width : 0;
    m_acceptLimit = acceptingRows * m_width;

    if (method == Method::Automatic && rows <= uint32_t(ByteEngineVector::laneCount) && ByteEngineVector::available()) {
        m_lanesByByte.resize(256);
        for (int byte = 0; byte < 256; ++byte)
            for (int lane = 0; lane < ByteEngineVector::laneCount; ++lane) {
                const uint32_t symbolClass = m_byteClass[size_t(byte)];
                quint8 &next = m_lanesByByte[size_t(byte)].lane[lane];
                if (symbolClass == 0)
                    next = ByteEngineVector::stopped;
                else if (uint32_t(lane) < rows)
                    next = quint8(m_table[uint32_t(lane) * m_width + symbolClass] / m_width);
                else
                    next = quint8(lane);   // no state: never reached
            }
    }
}

uint32_t ByteEngine::wideClassOf(char32_t character) const
{
    const auto found = std::lower_bound(m_wideClasses.cbegin(), m_wideClasses.cend(), character,
                                        [](const auto &entry, char32_t key) { return entry.first < key; });
    return found != m_wideClasses.cend() && found->first == character ? found->second : 0;
}

const uchar *ByteEngine::runBytes(const uchar *p, const uchar *end, Row &state) const
{
    const auto unwatched = [](uint32_t, Row) {};
    if (!vectorized())
        return walk(p, end, state, unwatched);
    // A block's length in the plain loop first: where the stop class comes
    // often (a text full of multi-byte symbols) a block run in vain is tried
    // at most once per block run plainly.
    const uchar *plainEnd = end - p > ByteEngineVector::blockSize ? p + ByteEngineVector::blockSize : end;
    p = walk(p, plainEnd, state, unwatched);
    if (p != end && p == plainEnd) {
        quint8 lane = quint8(state / m_width);
        p = ByteEngineVector::runBlocks(m_lanesByByte.data(), p, end, lane);
        state = lane * m_width;
        p = walk(p, end, state, unwatched);
    }
    return p;
}

ByteEngine::TextRun ByteEngine::runText(QStringView text) const
{
    TextRun run;
    run.state = m_startState;
    if (!m_startIsValid) {
        run.verdict = Verdict::InvalidStart;
        return run;
    }
    const char16_t *const begin = text.utf16();
    const char16_t *const end = begin + text.size();
    const char16_t *p = begin;
    Row state = m_start;
    const auto unwatched = [](uint32_t, Row) {};
    for (;;) {
        p = walk(p, end, state, unwatched);
        if (p == end)
            break;
        const QStringView rest(p, end);
        const char32_t character = Characters::codePoint(rest);
        if (character < 0x80 || !stepWide(character, state, unwatched)) {
            run.verdict = Verdict::InvalidCharacter;
            break;
        }
        p += Characters::firstLength(rest);
    }
    run.consumed = p - begin;
    run.state = stateOf(state);
    if (run.verdict != Verdict::InvalidCharacter)
        run.verdict = verdictAt(state);
    return run;
}
