#pragma once

#include "test_automata.h"

#include <QDebug>

inline modAll withComment(modAll m, const QString &comment)
{
    m.comment = comment;
    return m;
}

// The worked example, with its two-line comment.
inline modAll workedExample() { return withComment(endsInA(), "Accepts words ending in a\r\nExample"); }

// Every field the reader sets, spares included, as one text that shows what differs.
inline QString describe(const modAll &m)
{
    QString text;
    QDebug(&text) << m.state_count << m.start_state << m.symbol_count << m.symbols << m.transitions << m.comment;
    for (const StateEntry &s : m.states)
        QDebug(&text) << s.name << s.is_final;
    return text;
}
