#pragma once

#include "model/mod_all.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// The run of every string, written apart from the program's run: each string
// up to a length over some characters, one character at a time through the
// model with findSymbol and the table.

// Strings up to this length, unless told otherwise.
inline constexpr int bruteLength = 8;

inline bool bruteHasState(const modAll &m, int state)
{
    return state >= 0 && state < m.state_count && state < m.states.size();
}

// The state after the symbol at 1-based `symbol`: a cell naming no state keeps it.
inline int bruteStep(const modAll &m, int state, int symbol)
{
    if (state >= m.transitions.size() || symbol - 1 >= m.transitions[state].size())
        return state;
    const qint16 target = m.transitions[state][symbol - 1];
    return bruteHasState(m, target - 1) ? target - 1 : state;
}

// The verdict of every string over `characters` up to a length, shortest first,
// then in the order of `characters`: one letter each, A, R or E.
struct BruteRuns
{
    QString characters;
    QByteArray verdicts;

    QString text(qsizetype index) const   // the string at `index` in that order
    {
        qsizetype length = 0, count = 1;
        for (; index >= count; count *= characters.size())
            index -= count, ++length;
        QString text(length, u' ');
        for (qsizetype i = length - 1; i >= 0; --i, index /= characters.size())
            text[i] = characters[index % characters.size()];
        return text;
    }
    QStringList with(char verdict, qsizetype limit = 1 << 30) const
    {
        QStringList texts;
        for (qsizetype i = verdicts.indexOf(verdict); i >= 0 && texts.size() < limit; i = verdicts.indexOf(verdict, i + 1))
            texts.append(text(i));
        return texts;
    }
};

inline BruteRuns bruteForce(const modAll &m, const QString &characters, int maxLength = bruteLength)
{
    const bool hasStates = m.state_count != 0;
    std::vector<int> symbols;
    for (const QChar c : characters)
        symbols.push_back(m.findSymbol(QString(c)));
    // The state after each string of the current length; -1 once it gave ERROR.
    // Without states the start is not looked at: symbols are consumed and rejected.
    std::vector<int> level{!hasStates ? 0 : bruteHasState(m, m.start_state) ? m.start_state : -1}, longer;
    BruteRuns runs{characters, {}};
    for (int length = 0; length <= maxLength; ++length) {
        longer.resize(level.size() * symbols.size());
        int *next = longer.data();
        for (const int state : level) {
            runs.verdicts += state < 0 ? 'E' : hasStates && m.states[state].is_final ? 'A' : 'R';
            for (const int symbol : symbols)
                *next++ = state < 0 || symbol == 0 ? -1 : hasStates ? bruteStep(m, state, symbol) : state;
        }
        level.swap(longer);
    }
    return runs;
}

// The distinct one-character symbols in the order of their first position:
// the alphabet the run reads.
inline QString bruteAlphabet(const modAll &m)
{
    QString order;
    for (int j = 0; j < m.symbol_count; ++j)
        if (m.symbols[j].size() == 1 && !order.contains(m.symbols[j]))
            order += m.symbols[j];
    return order;
}
