#pragma once

// The analyses' tests' own cases, run through brute force (brute_runs.h): the
// random automata they are run on and the order of the strings tried.

#include "brute_runs.h"

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

// Every random automaton draws its symbols from this pool, and strings are made of it.
inline const QString pool = QStringLiteral("abc");

// `characters` without repeats, then the rest of the pool.
inline QString bruteOrder(const QString &characters)
{
    QString order;
    for (const QChar c : characters + pool)
        if (!order.contains(c))
            order += c;
    return order;
}

// Up to four states and four symbols from the pool, with what a crafted or
// half-edited file may hold: repeated symbols and names, a symbol longer than
// one character, short and missing rows, targets naming no state, no states,
// a start state that is none of them.
inline modAll randomAutomaton(QRandomGenerator &random)
{
    modAll m;
    m.state_count = qint16(random.bounded(5));
    m.symbol_count = qint16(random.bounded(5));
    for (int s = 0; s < m.state_count; ++s)
        m.states.append({random.bounded(8) == 0 && s > 0 ? m.states[s - 1].name : QStringLiteral("q%1").arg(s),
                         random.bounded(2) == 0});
    m.states.append(StateEntry{});
    for (int j = 0; j < m.symbol_count; ++j)
        m.symbols.append(random.bounded(10) == 0 ? QStringLiteral("ab") : QString(pool[random.bounded(3)]));
    m.symbols.append(QString());
    const int rows = random.bounded(10) == 0 ? random.bounded(m.state_count + 1) : m.state_count + 1;
    for (int s = 0; s < rows; ++s) {
        QList<qint16> row;
        const int cells = random.bounded(10) == 0 ? random.bounded(m.symbol_count + 1) : m.symbol_count + 1;
        for (int j = 0; j < cells; ++j) {
            const int kind = m.state_count == 0 ? 0 : random.bounded(8);
            row.append(qint16(kind < 2 ? 0 : kind == 2 ? m.state_count + 1 : random.bounded(1, m.state_count + 1)));
        }
        m.transitions.append(row);
    }
    const bool invalidStart = random.bounded(10) == 0;
    m.start_state = qint16(invalidStart ? (random.bounded(2) == 0 ? -1 : m.state_count)
                                        : random.bounded(qMax(1, int(m.state_count))));
    m.comment = QStringLiteral("line one\r\nline two");
    return m;
}

// Everything a run reads: "q0 q1* | start 0 | a b | 2 1 0/1 1 0/ | sizes 3 3 3".
inline QString dump(const modAll &m)
{
    QStringList names, rows;
    for (int s = 0; s < m.state_count && s < m.states.size(); ++s)
        names.append(m.states[s].name + (m.states[s].is_final ? QStringLiteral("*") : QString()));
    for (const QList<qint16> &row : m.transitions) {
        QStringList cells;
        for (const qint16 cell : row)
            cells.append(QString::number(cell));
        rows.append(cells.join(u' '));
    }
    return QStringLiteral("%1 | start %2 | %3 | %4 | sizes %5 %6 %7")
        .arg(names.join(u' '))
        .arg(m.start_state)
        .arg(m.symbols.first(qBound(0, int(m.symbol_count), int(m.symbols.size()))).join(u' '), rows.join(u'/'))
        .arg(m.states.size())
        .arg(m.symbols.size())
        .arg(m.transitions.size());
}

// A test's stand-in for the result-line escape, enough to see that reports use it.
inline QString testEscape(const QString &text)
{
    QString escaped = text;
    return escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'\t', QStringLiteral("\\t"));
}

// The same automaton with one cell of its table (or, without one, a final flag) changed.
inline modAll withOneChange(modAll m, QRandomGenerator &random)
{
    const int state = random.bounded(qMax(1, int(m.state_count)));
    if (state < m.transitions.size() && !m.transitions[state].isEmpty())
        m.transitions[state][random.bounded(int(m.transitions[state].size()))] = qint16(random.bounded(m.state_count + 2));
    else if (m.state_count > 0)
        m.states[state].is_final = !m.states[state].is_final;
    return m;
}

inline modAll withStart(modAll m, qint16 start)
{
    m.start_state = start;
    return m;
}
