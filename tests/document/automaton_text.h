#pragma once

#include "test_automata.h"

#include <QStringList>

inline modAll withComment(modAll m, const QString &comment)
{
    m.comment = comment;
    return m;
}

// The worked example, with its two-line comment.
inline modAll workedExample()
{
    return withComment(endsInA(), "Accepts words ending in a\r\nExample");
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
