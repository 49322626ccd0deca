#pragma once

#include <QList>
#include <QStringView>
#include <QtGlobal>

// What one tick of a timed run changed, kept so that Step Back can take it back
// exactly. A tick either takes the first character of the input box, or stops
// at it because it is no symbol, or finds the box empty and gives the verdict;
// everything else it changes (the output, the status, the state shown, the
// buttons) follows from that and from the state the run was in before.
//
// An entry is 16 bytes and holds no pointer, so a run stepped through n
// characters keeps n + 1 entries in one block of memory.
struct StepRecord
{
    enum class Kind : quint8 {
        Step,     // the character was taken from the input box
        Failure,  // the character is no symbol: the run ended with ERROR
        Verdict,  // the box was empty: the run ended with its verdict
    };

    char16_t character[2] = {};   // the character taken or stopped at (one code point)
    quint8 length = 0;            // its UTF-16 units; 0 for a verdict
    Kind kind = Kind::Verdict;
    qint16 from = 0;              // the state the run was in before the tick
    double progress = 0;          // the progress bar's value before the tick

    QStringView characterView() const { return QStringView(character, length); }
};

// The ticks of the current timed run, oldest first, back to its start.
class StepHistory
{
public:
    void push(const StepRecord &record) { m_records.append(record); }
    bool isEmpty() const { return m_records.isEmpty(); }
    qsizetype size() const { return m_records.size(); }
    const StepRecord &last() const { return m_records.last(); }
    void dropLast() { m_records.removeLast(); }
    // Forgets every step and gives its memory back.
    void clear() { m_records = {}; }

private:
    QList<StepRecord> m_records;
};

static_assert(sizeof(StepRecord) == 16, "a step's record stays small: a long stepped run keeps one per character");
