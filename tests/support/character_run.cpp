#include "character_run.h"

#include "model/characters.h"
#include "run/run_steps.h"

QString RunOutcome::statusText(const QString &shownCharacter) const
{
    if (verdict != RunVerdict::Error)
        return RunTexts::completed();
    return invalidStart ? RunTexts::invalidStartState() : RunTexts::invalidAlphabet(shownCharacter);
}

CharacterRun::CharacterRun(const RunAutomaton &automaton, bool trace)
    : m_automaton(automaton)
    , m_trace(trace)
{
    const modAll &model = automaton.model();
    if (!RunSteps::startIsValid(model)) {
        m_outcome.verdict = RunVerdict::Error;
        m_outcome.invalidStart = true;
        return;
    }
    m_outcome.state = model.start_state;
    if (m_trace && model.state_count > 0)
        m_outcome.visited.append(m_outcome.state);
}

namespace {

// Runs the characters of `text` from `state` up to the first that is not a
// symbol; `moved(state)` follows each transition. Gives the UTF-16 units run.
// A template, so that without tracing the loop calls nothing and what it reads
// of the automaton stays in registers.
template <typename Moved>
qsizetype runCharacters(const RunAutomaton &automaton, QStringView text, qint16 &state, QString &invalid,
                        Moved &&moved)
{
    const modAll &model = automaton.model();
    const SymbolIndex &symbols = automaton.symbols();
    qsizetype pos = 0;
    while (pos < text.size()) {
        const QStringView rest = text.sliced(pos);
        const qsizetype length = Characters::firstLength(rest);
        const qint16 symbol = symbols.find(rest, length);
        if (symbol == 0) {
            invalid = rest.first(length).toString();
            break;
        }
        if (RunSteps::follow(model, state, qint16(symbol - 1)))
            moved(state);
        pos += length;
    }
    return pos;
}

} // namespace

void CharacterRun::feed(QStringView piece)
{
    if (stopped())
        return;
    QString invalid;
    m_outcome.consumed += m_trace ? runCharacters(m_automaton, piece, m_outcome.state, invalid,
                                                  [this](qint16 reached) { m_outcome.visited.append(reached); })
                                  : runCharacters(m_automaton, piece, m_outcome.state, invalid, [](qint16) {});
    if (!invalid.isEmpty()) {
        m_outcome.verdict = RunVerdict::Error;
        m_outcome.invalidCharacter = invalid;
    }
}

void CharacterRun::stopAtNonCharacter()
{
    if (!stopped())
        m_outcome.verdict = RunVerdict::Error;
}

RunOutcome CharacterRun::finish()
{
    if (!stopped())
        m_outcome.verdict =
            RunSteps::isAccepting(m_automaton.model(), m_outcome.state) ? RunVerdict::Accepted : RunVerdict::Rejected;
    return std::move(m_outcome);
}
