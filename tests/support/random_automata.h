#pragma once

#include "test_automata.h"

#include <QByteArray>
#include <QRandomGenerator>

// Random automata and inputs for the tests that check one way of running
// strings against another.

// Symbols random automata draw from: ASCII, control characters, a backslash,
// two- three- and four-byte characters, a lone surrogate, and two that can
// never match (empty, two characters).
inline const QStringList symbolPool = {"a", "b", "0", "\t", "\\", QString(QChar(0)), "\x7F", "é", "€", "😀",
                                       QString(QChar(0xD800)), "", "ab"};

// Characters and bytes random inputs draw from besides the symbols: ASCII that
// is no symbol, a carriage return, a multi-byte character that is none, and
// bytes that are not UTF-8 (a stray continuation, a lone lead, an overlong
// form, an encoded surrogate, a code point past U+10FFFF, a four-byte
// character cut short).
inline const QList<QByteArray> strangerPool = {"c", "\r", "\x01", "ß", "\xF0\x9D\x84\x9E", "\x80", "\xC3",
                                               "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF0\x9F\x98", "\xFF"};

// An automaton as a damaged or half-edited model can be: rows missing or
// short, targets naming no state, repeated symbols, counts that claim more
// than is held, sometimes no states, no symbols or no valid start state.
inline modAll randomModel(QRandomGenerator &random, int maxStates)
{
    const int states = random.bounded(8) == 0 ? 0 : random.bounded(1, maxStates + 1);
    QStringList names, finals, symbols;
    for (int s = 0; s < states; ++s) {
        names << (random.bounded(5) == 0 ? QStringLiteral("q\t%1\\").arg(s) : QStringLiteral("q%1").arg(s));
        if (random.bounded(3) == 0)
            finals << names.last();
    }
    for (int k = random.bounded(7); k > 0; --k)
        symbols << symbolPool[random.bounded(int(symbolPool.size()))];
    QList<QList<qint16>> table;
    for (int s = 0; s < states; ++s) {
        QList<qint16> row;
        for (qsizetype k = random.bounded(6) == 0 ? random.bounded(symbols.size() + 1) : symbols.size(); k > 0; --k)
            row << qint16(random.bounded(3) == 0 ? 0 : random.bounded(-1, states + 3));
        table << row;
    }
    const qint16 start = qint16(random.bounded(10) == 0 ? random.bounded(-1, states + 2) : random.bounded(qMax(states, 1)));
    modAll m = makeAutomaton(names, finals, symbols, table, start);
    m.state_count = qint16(names.size());
    if (random.bounded(8) == 0)
        m.transitions.resize(random.bounded(m.transitions.size() + 1));
    if (random.bounded(8) == 0)
        m.symbol_count = qint16(m.symbol_count + random.bounded(-1, 2));
    if (states > 1 && random.bounded(10) == 0)
        m.states.resize(states - 1);
    return m;
}

// Symbols of the alphabet, and now and then (never, rarely or often, as the
// string decides) something else.
inline QByteArray randomInput(QRandomGenerator &random, const modAll &m, int length)
{
    const int strangerEvery = QList<int>{0, 300, 10}[random.bounded(3)];
    const int symbols = int(qBound(qsizetype(0), qsizetype(m.symbol_count), m.symbols.size()));
    QByteArray input;
    for (int i = 0; i < length; ++i)
        if (symbols == 0 || (strangerEvery > 0 && random.bounded(strangerEvery) == 0))
            input += strangerPool[random.bounded(int(strangerPool.size()))];
        else
            input += m.symbols[random.bounded(symbols)].toUtf8();
    return input;
}
