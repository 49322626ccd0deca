#pragma once

// Brute force for the analyses' tests: every string up to a length run one by
// one through the model with findSymbol and the table, written apart from the
// library, and the random automata they are run on.

#include "model/mod_all.h"

#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <vector>

// Every random automaton draws its symbols from this pool, and strings are made of it.
inline const QString pool = QStringLiteral("abc");
constexpr int bruteLength = 8;

inline bool bruteHasState(const modAll &m, int state) { return state >= 0 && state < m.state_count && state < m.states.size(); }

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

// The distinct one-character symbols in the order of their first position.
inline QString bruteAlphabet(const modAll &m)
{
    QString order;
    for (int j = 0; j < m.symbol_count; ++j)
        if (m.symbols[j].size() == 1 && !order.contains(m.symbols[j]))
            order += m.symbols[j];
    return order;
}

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
