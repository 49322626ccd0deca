#include "windows/diagram/run_trace.h"

#include "analysis/dot_text.h"

namespace {

// How much of a long run the line shows.
constexpr qsizetype shownCharacters = 40;

const QString ellipsis = QStringLiteral("...");

QString visible(const QString &text)
{
    return DotText::visibleText(text, DotText::LineBreaks::Show);
}

// The last `count` characters of `text` (a surrogate pair is one).
QString lastCharacters(const QString &text, qsizetype count)
{
    if (text.size() <= count)
        return visible(text);
    qsizetype from = text.size() - count;
    if (text[from].isLowSurrogate())
        ++from;
    return ellipsis + visible(text.sliced(from));
}

QString firstCharacters(const QString &text, qsizetype count)
{
    if (text.size() <= count)
        return visible(text);
    qsizetype to = count;
    if (text[to - 1].isHighSurrogate())
        --to;
    return visible(text.first(to)) + ellipsis;
}

QString nameOf(const QStringList &names, qint16 state)
{
    return state >= 0 && state < names.size() ? visible(names[state]) : QString();
}

} // namespace

void RunTrace::runStarted(qint16 start, const QString &input)
{
    m_kind = Kind::Timed;
    m_paused = false;
    m_verdict.clear();
    m_read.clear();
    m_remaining = input;
    m_states = {start};
}

void RunTrace::stepTaken(const RunStep &step)
{
    // A timed run going on when the trace was cleared (New or Open during the
    // run) is traced again from where it stands.
    if (m_kind != Kind::Timed) {
        m_kind = Kind::Timed;
        m_verdict.clear();
        m_read.clear();
        m_states = {step.from};
    }
    m_read += step.character;
    m_remaining = step.remaining;
    m_states.append(step.to);
}

void RunTrace::stepUndone(const RunStep &step)
{
    m_verdict.clear();
    if (step.character.isEmpty())
        return;   // an end taken back: what was read and visited stands
    if (m_read.endsWith(step.character))
        m_read.chop(step.character.size());
    m_remaining = step.character + step.remaining;
    if (m_states.size() > 1)
        m_states.removeLast();
}

void RunTrace::runEnded(const RunEnd &end)
{
    m_paused = false;
    // The steps of a timed run told everything: the box and the states stand.
    if (!end.immediate) {
        m_verdict = verdictText(end.verdict);
        return;
    }
    m_kind = Kind::Immediate;
    m_read = end.consumed;
    m_remaining.clear();
    m_states.clear();
    m_end = end.state;
}

void RunTrace::runPaused(bool paused)
{
    m_paused = paused;
}

void RunTrace::clear()
{
    m_kind = Kind::None;
    m_paused = false;
    m_verdict.clear();
    m_read.clear();
    m_remaining.clear();
    m_states.clear();
    m_end = -1;
}

QString RunTrace::text(const QStringList &names, qsizetype mostStates, bool withTape) const
{
    if (m_kind == Kind::None)
        return QString();
    QString line = QStringLiteral("Read: ") + lastCharacters(m_read, shownCharacters);
    if (m_kind == Kind::Immediate) {
        if (m_end >= 0)
            line += QStringLiteral("    End state: ") + nameOf(names, m_end);
        return line;
    }
    if (withTape)
        line += QStringLiteral("    Input box: ") + firstCharacters(m_remaining, shownCharacters) + QStringLiteral("    ");
    else
        line.clear();
    line += QStringLiteral("States: ");
    const qsizetype first = qMax<qsizetype>(0, m_states.size() - qMax<qsizetype>(1, mostStates));
    QStringList shown;
    if (first > 0)
        shown.append(ellipsis);
    for (qsizetype i = first; i < m_states.size(); ++i)
        shown.append(nameOf(names, m_states[i]));
    line += shown.join(QStringLiteral(" \u2192 "));
    // First, where a narrow window still shows it: Step waits after an end.
    if (!m_verdict.isEmpty())
        return QStringLiteral("Run ended: ") + m_verdict + QStringLiteral("    ") + line;
    if (m_paused)
        return QStringLiteral("Paused    ") + line;
    return line;
}
