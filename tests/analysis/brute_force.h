#pragma once

// What the analyses are checked against: strings run one by one through the
// model with findSymbol and the table, written apart from the library, and the
// small random automata they are run on.

#include "model/mod_all.h"

#include <QList>
#include <QRandomGenerator>
#include <QSet>
#include <QStringList>
#include <QTest>
#include <vector>

// Every random automaton draws its symbols from this pool, and strings are made of it.
inline const QString pool = QStringLiteral("abc");
constexpr int bruteLength = 8;

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

// The verdict of every string over `characters` up to `maxLength`, shortest
// first, then in the order of `characters`: one letter each, A, R or E.
struct BruteRuns
{
    QString characters;
    QByteArray verdicts;

    // The string at `index` in that order.
    QString text(qsizetype index) const
    {
        qsizetype length = 0, count = 1;
        for (; index >= count; count *= characters.size())
            index -= count, ++length;
        QString text(length, u' ');
        for (qsizetype i = length - 1; i >= 0; --i, index /= characters.size())
            text[i] = characters[index % characters.size()];
        return text;
    }
};

inline BruteRuns bruteForce(const modAll &m, const QString &characters, int maxLength = bruteLength)
{
    const bool hasStates = m.state_count != 0;
    std::vector<int> symbols;
    for (const QChar c : characters)
        symbols.push_back(m.findSymbol(QString(c)));
    const size_t width = symbols.size();
    // The state after each string of the current length; -1 once it gave ERROR.
    // Without states the start is not looked at: symbols are consumed and rejected.
    const int start = !hasStates ? 0 : bruteHasState(m, m.start_state) ? m.start_state : -1;
    std::vector<int> level{start}, longer;
    BruteRuns runs{characters, {}};
    for (int length = 0; length <= maxLength; ++length) {
        longer.resize(level.size() * width);
        int *next = longer.data();
        for (const int state : level) {
            const bool final = hasStates && state >= 0 && m.states[state].is_final;
            runs.verdicts += state < 0 ? 'E' : final ? 'A' : 'R';
            for (size_t k = 0; k < width; ++k)
                *next++ = state < 0 || symbols[k] == 0 ? -1 : hasStates ? bruteStep(m, state, symbols[k]) : state;
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

// `characters` without repeats, then the rest of the pool: every string a
// random automaton can tell apart, in its order.
inline QString bruteOrder(const QString &characters)
{
    QString order;
    for (const QChar c : characters + pool)
        if (!order.contains(c))
            order += c;
    return order;
}

// The strings with `verdict` (A, R or E), at most `limit`.
inline QStringList bruteWith(const BruteRuns &runs, char verdict, qsizetype limit = 1 << 30)
{
    QStringList texts;
    for (qsizetype i = runs.verdicts.indexOf(verdict); i >= 0 && texts.size() < limit;
         i = runs.verdicts.indexOf(verdict, i + 1))
        texts.append(runs.text(i));
    return texts;
}

// Moore's refinement of the given states by their final flag and their steps on
// the symbols: the group of each state, in a map from the state.
inline QList<int> mooreGroups(const modAll &m, const QList<int> &states)
{
    const QString alphabet = bruteAlphabet(m);
    QList<int> group(m.state_count, -1);
    for (const int s : states)
        group[s] = m.states[s].is_final ? 1 : 0;
    for (qsizetype groups = 0;;) {
        QList<QList<int>> signatures;
        QList<int> refined = group;
        for (const int s : states) {
            QList<int> signature{group[s]};
            for (const QChar c : alphabet)
                signature.append(group[bruteStep(m, s, m.findSymbol(QString(c)))]);
            if (!signatures.contains(signature))
                signatures.append(signature);
            refined[s] = int(signatures.indexOf(signature));
        }
        group = refined;
        if (signatures.size() == groups)
            return group;
        groups = signatures.size();
    }
}

// The states some string of symbols reaches from the start.
inline QList<int> bruteReachable(const modAll &m)
{
    QList<int> reached;
    if (m.state_count > 0 && bruteHasState(m, m.start_state))
        reached.append(m.start_state);
    for (qsizetype i = 0; i < reached.size(); ++i)
        for (const QChar c : bruteAlphabet(m)) {
            const int next = bruteStep(m, reached[i], m.findSymbol(QString(c)));
            if (!reached.contains(next))
                reached.append(next);
        }
    return reached;
}

inline qsizetype groupCount(const QList<int> &groups, const QList<int> &states)
{
    QSet<int> seen;
    for (const int s : states)
        seen.insert(groups[s]);
    return seen.size();
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

// One row per seed, each for `perSeed` random automata.
inline void addSeedRows(int seeds, int perSeed)
{
    QTest::addColumn<int>("seed");
    for (int seed = 1; seed <= seeds; ++seed)
        QTest::addRow("%d random automata, seed %d", perSeed, seed) << seed;
}

// Calls `check(model, random)` on `count` random automata drawn from the row's
// seed, stopping at the first that fails.
template <typename Check>
void forRandomAutomata(int count, Check &&check)
{
    QFETCH(int, seed);
    QRandomGenerator random{quint32(seed)};
    for (int i = 0; i < count && !QTest::currentTestFailed(); ++i) {
        const modAll model = randomAutomaton(random);
        check(model, random);
    }
}

// A test's stand-in for the result-line escape, enough to see that reports use it.
inline QString testEscape(const QString &text)
{
    QString escaped = text;
    return escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'\t', QStringLiteral("\\t"));
}

// Everything a run reads, spare entries included: "q0 q1* | start 0 | a b | 2 1 0/1 1 0/ | sizes 3 3 3".
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
