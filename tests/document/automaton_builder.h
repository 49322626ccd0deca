#pragma once

#include "model/mod_all.h"

#include <QStringList>

// Automata for the tests, sized the way the reader sizes them: every sequence
// with its spare, every row complete.
inline modAll makeAutomaton(const QList<StateEntry> &states, qint16 start, const QStringList &symbols,
                            const QList<QList<qint16>> &rows, const QString &comment = {})
{
    modAll m;
    m.state_count = qint16(states.size());
    m.states = states;
    m.states.append(StateEntry());
    m.start_state = start;
    m.symbol_count = qint16(symbols.size());
    m.symbols = symbols;
    m.symbols.append(QString());
    for (QList<qint16> row : rows) {
        row.append(0);
        m.transitions.append(row);
    }
    m.transitions.append(QList<qint16>());
    m.comment = comment;
    return m;
}

// The automaton of the worked example: words over {a, b} that end in a.
inline modAll endsInA()
{
    return makeAutomaton({{"q0", false}, {"q1", true}}, 0, {"a", "b"}, {{2, 1}, {2, 1}},
                         "Accepts words ending in a\r\nExample");
}

// Everything the reader sets, spares included, in one readable text, so that a
// comparison names what differs.
inline QString describe(const modAll &m)
{
    QStringList parts;
    QStringList states;
    for (const StateEntry &s : m.states)
        states << "[" + s.name + (s.is_final ? "]*" : "]");
    parts << QString("%1 states %2").arg(m.state_count).arg(states.join(' '));
    parts << QString("start %1").arg(m.start_state);
    parts << QString("%1 symbols [%2]").arg(m.symbol_count).arg(m.symbols.join("] ["));
    QStringList rows;
    for (const QList<qint16> &row : m.transitions) {
        QStringList entries;
        for (qint16 t : row)
            entries << QString::number(t);
        rows << entries.join(' ');
    }
    parts << "table " + rows.join(" / ");
    parts << "comment [" + QString(m.comment).replace("\r", "\\r").replace("\n", "\\n") + "]";
    return parts.join("; ");
}
