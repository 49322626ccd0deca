#pragma once

#include "model/mod_all.h"

#include <QDebug>
#include <QList>
#include <QRandomGenerator>
#include <QStringList>

// Builds an automaton in code, sized the way the editors leave it.
// `finals` lists the names of the final states; `table` holds one row per state,
// each row the 1-based targets by symbol (0 for no transition).
inline modAll makeAutomaton(const QStringList &names, const QStringList &finals, const QStringList &symbols,
                            const QList<QList<qint16>> &table, qint16 start = 0)
{
    modAll m;
    m.state_count = qint16(names.size());
    for (const QString &name : names)
        m.states.append({name, finals.contains(name)});
    m.states.append(StateEntry{});
    m.start_state = start;
    m.symbol_count = qint16(symbols.size());
    m.symbols = symbols;
    m.symbols.append(QString());
    m.transitions = table;
    for (QList<qint16> &row : m.transitions)
        row.append(0);
    m.transitions.append(QList<qint16>{});
    return m;
}

// States q0 (start) and q1 (final), symbols a and b: accepts the words ending in a.
inline modAll endsInA()
{
    return makeAutomaton({"q0", "q1"}, {"q1"}, {"a", "b"}, {{2, 1}, {2, 1}});
}

// Symbols a, b and c: q0 goes to q1 on a and to <b>q2</b> on b; q1 and
// <b>q2</b> are final and equivalent, so minimizing merges them; dead is reached
// by nothing; c keeps every state where it is.
inline modAll mergeable()
{
    return makeAutomaton({"q0", "q1", "<b>q2</b>", "dead"}, {"q1", "<b>q2</b>"}, {"a", "b", "c"},
                         {{2, 3, 0}, {2, 3, 0}, {2, 3, 0}, {4, 4, 0}});
}

// `states` states q0, q1, ... over the symbols 0, 1, 2, each cell a random
// state, about a third of the states final: a graph as tangled as automata get.
inline modAll randomAutomaton(int states, quint32 seed)
{
    QRandomGenerator random(seed);
    QStringList names, finals;
    QList<QList<qint16>> table;
    for (int i = 0; i < states; ++i) {
        names.append(QStringLiteral("q%1").arg(i));
        if (random.bounded(3) == 0)
            finals.append(names.last());
        table.append({qint16(random.bounded(states) + 1), qint16(random.bounded(states) + 1),
                      qint16(random.bounded(states) + 1)});
    }
    return makeAutomaton(names, finals, {"0", "1", "2"}, table);
}

// Every field of an automaton and its document, spares included, as one text
// that shows what differs.
inline QString describe(const modAll &m)
{
    QString text;
    QDebug(&text) << m.file_name << m.is_untitled << m.is_saved << m.state_count << m.start_state << m.symbol_count
                  << m.symbols << m.transitions << m.comment;
    for (const StateEntry &s : m.states)
        QDebug(&text) << s.name << s.is_final;
    return text;
}

// The table in one line, as a reader checks it: the symbols, the start state,
// then each state (* when final) with the names of its targets by symbol, "-"
// where a cell names no state: "ab | start 0 | q0*: q0 q1 | q1: q1 q1".
inline QString tableLine(const modAll &m)
{
    QString text = m.symbols.mid(0, m.symbol_count).join(QString()) + QStringLiteral(" | start %1").arg(m.start_state);
    for (int s = 0; s < m.state_count; ++s) {
        text += QStringLiteral(" | ") + m.states[s].name + (m.states[s].is_final ? QStringLiteral("*:") : QStringLiteral(":"));
        for (int j = 0; j < m.symbol_count; ++j)
            text += u' ' + (m.isTarget(m.entry(s, j)) ? m.states[m.entry(s, j) - 1].name : QStringLiteral("-"));
    }
    return text;
}
