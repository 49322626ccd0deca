#pragma once

#include "run/run_observer.h"

#include <QList>
#include <QStringList>

// The one-line trace under the diagram: what the run has read, what the input
// box holds now, and the states it went through. The input box is the run's
// tape and empties as the run goes, so this is where the tested string stays
// visible. A long run shows the last characters read, the first ones still in
// the box and the last states, with "..." where some are left out. A timed run
// that stands still begins with "Paused"; one that has ended says so and how,
// since Step then waits for a new input.
class RunTrace final : public RunObserver
{
public:
    void runStarted(qint16 start, const QString &input) override;
    void stepTaken(const RunStep &step) override;
    void stepUndone(const RunStep &step) override;
    void runEnded(const RunEnd &end) override;
    void runPaused(bool paused) override;

    void clear();
    // The trace, in plain text; `names` are the state names by position. A
    // timed run shows at most `mostStates` of its states, the last ones, and
    // without `withTape` not what was read nor the input box.
    QString text(const QStringList &names, qsizetype mostStates = shownStates, bool withTape = true) const;
    // A timed run shows no more of its states than this, however wide the line.
    static constexpr qsizetype shownStates = 8;

private:
    enum class Kind { None, Timed, Immediate };

    Kind m_kind = Kind::None;
    QString m_read;
    QString m_remaining;
    QList<qint16> m_states;  // timed run: every state, from the start
    qint16 m_end = -1;       // immediate run: where it ended
    bool m_paused = false;   // timed run: standing still
    QString m_verdict;       // timed run: how it ended; empty while it goes on
};
