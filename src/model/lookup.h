#pragma once

#include "model/characters.h"

#include <QHash>
#include <QString>
#include <vector>

struct modAll;

// The rule behind findState and findSymbol, stated once: walk the first
// `count` entries in order, and let each entry's 1-based position replace what
// an earlier equal entry gave, so that where entries repeat the last one wins.
// `visit(key, position)` is called for each entry; the walks of findState and
// findSymbol compare the key there, and the indexes below record it, so an
// index built once answers exactly what the walk answers, in constant time.
template <typename Entries, typename KeyOf, typename Visit>
void visitInLookupOrder(const Entries &entries, qsizetype count, KeyOf &&keyOf, Visit &&visit)
{
    const qsizetype end = qBound(qsizetype(0), count, qsizetype(entries.size()));
    for (qsizetype i = 0; i < end; ++i)
        visit(keyOf(entries[i]), qint16(i + 1));
}

// findSymbol for one character of the input, from a table built once per run:
// a symbol that is not exactly one character never matches.
class SymbolIndex
{
public:
    explicit SymbolIndex(const modAll &model);

    // 1-based position of the symbol equal to the character at the front of
    // `text` (of `length` units, see Characters::firstLength), 0 when none.
    qint16 find(QStringView text, qsizetype length) const
    {
        if (length == 1) {
            const char16_t unit = text[0].unicode();
            return unit < m_basic.size() ? m_basic[unit] : qint16(0);
        }
        return m_supplementary.value(QChar::surrogateToUcs4(text[0], text[1]), 0);
    }
    qint16 find(QStringView character) const { return find(character, Characters::firstLength(character)); }

private:
    // By UTF-16 unit, up to the highest symbol: a few hundred bytes for the usual
    // alphabets, so building the index costs next to nothing even for short runs.
    std::vector<qint16> m_basic;
    QHash<char32_t, qint16> m_supplementary;
};

// findState for many names, from a table built once (storing a large table).
class StateIndex
{
public:
    explicit StateIndex(const modAll &model);

    qint16 find(const QString &name) const { return m_positions.value(name, 0); }

private:
    QHash<QString, qint16> m_positions;
};
