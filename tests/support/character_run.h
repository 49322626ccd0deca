#pragma once

#include "model/lookup.h"
#include "run/run_verdict.h"

#include <QList>
#include <QString>

struct modAll;

// What the run of a whole string needs of one automaton, prepared once, so
// that many strings share it.
class RunAutomaton
{
public:
    explicit RunAutomaton(const modAll &model) : m_model(model), m_symbols(model) {}

    const modAll &model() const { return m_model; }
    const SymbolIndex &symbols() const { return m_symbols; }

private:
    const modAll &m_model;
    SymbolIndex m_symbols;
};

// How the run of a whole string ended.
struct RunOutcome
{
    RunVerdict verdict = RunVerdict::Rejected;
    // The state it ended in; for ERROR at a character, the state it stopped in.
    // -1 for an invalid start state. With no states at all, the start state as
    // the model holds it, which names none.
    qint16 state = -1;
    bool invalidStart = false;     // ERROR before the first character
    // ERROR at a character that is not a symbol: that character, whole. Empty
    // when what stopped the run was no character at all (stopAtNonCharacter).
    QString invalidCharacter;
    qsizetype consumed = 0;        // UTF-16 units of the string run, the stopping character not included
    QList<qint16> visited;         // with tracing: the start state, then each state a transition led to

    // "Successfully completed", "Invalid start state", or "Invalid alphabet '"
    // and `shownCharacter` (the invalid character as the caller shows it) "'".
    QString statusText(const QString &shownCharacter) const;
};

// One string run from the start state to its verdict, as Play runs it at 0 ms,
// one character at a time over QString, each looked up in the alphabet as its
// step comes: the plainest form of the run, which the byte engine is checked
// against.
//
// States exist but the start state is none of them: ERROR before anything is
// run. Otherwise each character is looked up when its step comes (see
// RunSteps), the first that is not a symbol ending the run with ERROR; at the
// end of the string the verdict is ACCEPTED when the state reached is final,
// else REJECTED (always REJECTED without states).
//
// The string may arrive in pieces, each holding whole characters, so a line far
// larger than memory runs as it is read: feed() every piece, then finish().
class CharacterRun
{
public:
    explicit CharacterRun(const RunAutomaton &automaton, bool trace = false);

    // The next characters of the string; ignored once the run has stopped.
    void feed(QStringView piece);
    // The string goes on with something that is no character (a byte that is
    // not UTF-8): the run stops there with ERROR, unless it has stopped already.
    void stopAtNonCharacter();
    // Ended with ERROR already: nothing more is run.
    bool stopped() const { return m_outcome.verdict == RunVerdict::Error; }
    // The outcome once the whole string has been fed.
    RunOutcome finish();

private:
    const RunAutomaton &m_automaton;
    bool m_trace;
    RunOutcome m_outcome;
};
