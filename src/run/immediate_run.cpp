#include "run/immediate_run.h"

#include "model/characters.h"
#include "run/run_steps.h"

QString RunOutcome::statusText(const QString &shownCharacter) const
{
    if (verdict != RunVerdict::Error)
        return RunTexts::completed();
    return invalidStart ? RunTexts::invalidStartState() : RunTexts::invalidAlphabet(shownCharacter);
}

ImmediateRun::ImmediateRun(const RunAutomaton &automaton, bool trace)
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

void ImmediateRun::feed(QStringView piece)
{
    if (stopped())
        return;
    const modAll &model = m_automaton.model();
    const SymbolIndex &symbols = m_automaton.symbols();
    qint16 state = m_outcome.state;
    qsizetype pos = 0;
    while (pos < piece.size()) {
        const QStringView rest = piece.sliced(pos);
        const qsizetype length = Characters::firstLength(rest);
        const qint16 symbol = symbols.find(rest, length);
        if (symbol == 0) {
            m_outcome.verdict = RunVerdict::Error;
            m_outcome.invalidCharacter = rest.first(length).toString();
            break;
        }
        if (RunSteps::follow(model, state, qint16(symbol - 1)) && m_trace)
            m_outcome.visited.append(state);
        pos += length;
    }
    m_outcome.state = state;
    m_outcome.consumed += pos;
}

void ImmediateRun::stopAtNonCharacter()
{
    if (!stopped())
        m_outcome.verdict = RunVerdict::Error;
}

RunOutcome ImmediateRun::finish()
{
    if (!stopped())
        m_outcome.verdict =
            RunSteps::isAccepting(m_automaton.model(), m_outcome.state) ? RunVerdict::Accepted : RunVerdict::Rejected;
    return std::move(m_outcome);
}
