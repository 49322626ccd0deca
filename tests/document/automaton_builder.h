#pragma once

#include "model/mod_all.h"

#include <QStringList>

// An automaton sized the way the reader sizes one: every sequence with its
// spare, every row complete.
inline modAll makeAutomaton(const QList<StateEntry> &states, qint16 start, const QStringList &symbols,
                            const QList<QList<qint16>> &rows, const QString &comment = {})
{
    modAll m;
    m.state_count = qint16(states.size());
    m.states = states + QList<StateEntry>{StateEntry()};
    m.start_state = start;
    m.symbol_count = qint16(symbols.size());
    m.symbols = symbols + QStringList{QString()};
    for (const QList<qint16> &row : rows)
        m.transitions.append(row + QList<qint16>{0});
    m.transitions.append(QList<qint16>());
    m.comment = comment;
    return m;
}

// The worked example: words over {a, b} that end in a.
inline modAll endsInA()
{
    return makeAutomaton({{"q0", false}, {"q1", true}}, 0, {"a", "b"}, {{2, 1}, {2, 1}},
                         "Accepts words ending in a\r\nExample");
}

// Everything the reader sets, spares included, as one text, so that a
// comparison shows what differs.
inline QString describe(const modAll &m)
{
    QStringList states, rows;
    for (const StateEntry &s : m.states)
        states << s.name + (s.is_final ? "*" : "");
    for (const QList<qint16> &row : m.transitions) {
        QStringList entries;
        for (qint16 t : row)
            entries << QString::number(t);
        rows << entries.join(' ');
    }
    return QString("%1 states [%2]; start %3; %4 symbols [%5]; table [%6]; comment [%7]")
        .arg(QString::number(m.state_count), states.join("] ["), QString::number(m.start_state),
             QString::number(m.symbol_count), m.symbols.join("] ["), rows.join(" / "),
             QString(m.comment).replace("\r", "\\r").replace("\n", "\\n"));
}
