#include "analysis/regex_terms.h"

#include "analysis/regex_syntax.h"
#include "model/characters.h"

#include <algorithm>

namespace Analysis {

namespace {

qint64 capped(qint64 length)
{
    return std::min(length, RegexTerms::lengthCap);
}

void appendCharacter(QString &out, char32_t c, bool inClass)
{
    if (inClass ? RegexSyntax::isSpecialInClass(c) : RegexSyntax::isSpecial(c))
        out += u'\\';
    out += Characters::text(c);
}

// `[...]` (after `[` or `[^`) listing `characters`, sorted, with runs of three
// or more neighbouring code points written as ranges.
void appendClassBody(QString &out, const std::vector<char32_t> &characters)
{
    for (size_t i = 0; i < characters.size();) {
        size_t end = i + 1;
        while (end < characters.size() && characters[end] == characters[end - 1] + 1)
            ++end;
        if (end - i >= 3) {
            appendCharacter(out, characters[i], true);
            out += u'-';
            appendCharacter(out, characters[end - 1], true);
        } else {
            for (size_t k = i; k < end; ++k)
                appendCharacter(out, characters[k], true);
        }
        i = end;
    }
    out += u']';
}

} // namespace

size_t RegexTerms::KeyHash::operator()(const std::pair<Kind, std::vector<int>> &key) const
{
    size_t hash = size_t(key.first) * 0x9e3779b97f4a7c15ull;
    for (const int item : key.second)
        hash = (hash ^ size_t(item)) * 0x100000001b3ull + (hash >> 31);
    return hash;
}

RegexTerms::RegexTerms(QList<char32_t> alphabet)
    : m_alphabet(std::move(alphabet))
{
    make(Kind::Nothing, {});
    make(Kind::Empty, {});
}

bool RegexTerms::isPostfix(Term term) const
{
    const Kind kind = node(term).kind;
    return kind == Kind::Star || kind == Kind::Plus || kind == Kind::Optional;
}

qint64 RegexTerms::lengthInConcat(Term term) const
{
    return capped(length(term) + (node(term).kind == Kind::Union ? 2 : 0));
}

qint64 RegexTerms::lengthUnderPostfix(Term term) const
{
    const Kind kind = node(term).kind;
    const bool grouped = kind == Kind::Concat || kind == Kind::Union || isPostfix(term);
    return capped(length(term) + (grouped ? 2 : 0));
}

RegexTerms::Term RegexTerms::make(Kind kind, std::vector<int> items)
{
    m_work += items.size() + 1;
    auto key = std::make_pair(kind, std::move(items));
    if (const auto found = m_index.find(key); found != m_index.end())
        return found->second;

    Node made{kind, key.second, 0, false};
    switch (kind) {
    case Kind::Nothing:
    case Kind::Empty:
        made.length = 1;
        made.nullable = kind == Kind::Empty;
        break;
    case Kind::Characters:
        made.length = classText(made.items).size();
        break;
    case Kind::Concat:
        made.nullable = true;
        for (const Term item : made.items) {
            made.length = capped(made.length + lengthInConcat(item));
            made.nullable = made.nullable && node(item).nullable;
        }
        break;
    case Kind::Union:
        made.length = qint64(made.items.size()) - 1;
        for (const Term item : made.items) {
            made.length = capped(made.length + length(item));
            made.nullable = made.nullable || node(item).nullable;
        }
        break;
    case Kind::Star:
    case Kind::Plus:
    case Kind::Optional:
        made.length = capped(lengthUnderPostfix(made.items.front()) + 1);
        made.nullable = kind != Kind::Plus || node(made.items.front()).nullable;
        break;
    }
    const Term term = Term(m_nodes.size());
    m_nodes.push_back(std::move(made));
    m_index.emplace(std::move(key), term);
    return term;
}

RegexTerms::Term RegexTerms::characters(std::vector<int> symbols)
{
    std::sort(symbols.begin(), symbols.end());
    symbols.erase(std::unique(symbols.begin(), symbols.end()), symbols.end());
    if (symbols.empty())
        return nothing();
    return make(Kind::Characters, std::move(symbols));
}

RegexTerms::Term RegexTerms::alternative(Term first, Term second)
{
    if (first == second || second == nothing())
        return first;
    if (first == nothing())
        return second;

    // The alternatives, with the empty string and the single symbols set apart.
    bool withEmpty = false;
    std::vector<int> symbols;
    std::vector<Term> items;
    const auto take = [&](Term term, const auto &self) -> void {
        const Node &n = node(term);
        switch (n.kind) {
        case Kind::Empty:
            withEmpty = true;
            break;
        case Kind::Optional:
            withEmpty = true;
            self(n.items.front(), self);
            break;
        case Kind::Union:
            for (const Term item : n.items)
                self(item, self);
            break;
        case Kind::Characters:
            symbols.insert(symbols.end(), n.items.begin(), n.items.end());
            break;
        default:
            items.push_back(term);
            break;
        }
    };
    take(first, take);
    take(second, take);
    m_work += items.size() + symbols.size();
    if (!symbols.empty())
        items.push_back(characters(std::move(symbols)));
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());

    // x|x* is x*, x|x+ is x+, x+|x* is x*.
    std::vector<Term> absorbed;
    for (const Term item : items)
        if (node(item).kind == Kind::Star || node(item).kind == Kind::Plus) {
            absorbed.push_back(node(item).items.front());
            if (node(item).kind == Kind::Star)
                absorbed.push_back(plus(node(item).items.front()));
        }
    std::erase_if(items, [&](Term item) { return std::ranges::find(absorbed, item) != absorbed.end(); });

    if (items.empty())
        return withEmpty ? empty() : nothing();
    const Term core = items.size() == 1 ? items.front() : make(Kind::Union, std::move(items));
    return withEmpty ? optional(core) : core;
}

RegexTerms::Term RegexTerms::concat(Term first, Term second)
{
    if (first == nothing() || second == nothing())
        return nothing();
    if (first == empty())
        return second;
    if (second == empty())
        return first;

    const auto sequence = [&](Term term) {
        return node(term).kind == Kind::Concat ? node(term).items : std::vector<int>{term};
    };
    std::vector<Term> left = sequence(first);
    std::vector<Term> right = sequence(second);
    m_work += left.size() + right.size();

    // Where the two meet: x x* and x* x are x+, x* x* is x*, x+ x* and x* x+ are x+.
    const Term last = left.back(), next = right.front();
    const auto repeated = [&](Term term, Kind kind) { return node(term).kind == kind ? node(term).items.front() : -1; };
    const auto endsWith = [&](const std::vector<Term> &items, const std::vector<Term> &tail) {
        return items.size() >= tail.size() && std::equal(tail.begin(), tail.end(), items.end() - qsizetype(tail.size()));
    };
    const auto startsWith = [&](const std::vector<Term> &items, const std::vector<Term> &head) {
        return items.size() >= head.size() && std::equal(head.begin(), head.end(), items.begin());
    };
    if (const Term x = repeated(next, Kind::Star); x >= 0 && endsWith(left, sequence(x))) {
        left.resize(left.size() - sequence(x).size());
        right.front() = plus(x);
    } else if (const Term y = repeated(last, Kind::Star); y >= 0 && startsWith(right, sequence(y))) {
        right.erase(right.begin(), right.begin() + qsizetype(sequence(y).size()));
        left.back() = plus(y);
    } else if (y >= 0 && (repeated(next, Kind::Star) == y || repeated(next, Kind::Plus) == y)) {
        right.erase(right.begin());
        left.back() = next;
    } else if (const Term z = repeated(last, Kind::Plus); z >= 0 && repeated(next, Kind::Star) == z) {
        right.erase(right.begin());
    }
    left.insert(left.end(), right.begin(), right.end());
    if (left.empty())
        return empty();
    if (left.size() == 1)
        return left.front();
    return make(Kind::Concat, std::move(left));
}

RegexTerms::Term RegexTerms::star(Term term)
{
    const Node &n = node(term);
    switch (n.kind) {
    case Kind::Nothing:
    case Kind::Empty:
        return empty();
    case Kind::Star:
        return term;
    case Kind::Plus:
    case Kind::Optional:
        return star(n.items.front());
    case Kind::Union: {
        // (x|y*)* is (x|y)*.
        bool changed = false;
        Term inner = nothing();
        for (const Term item : std::vector<Term>(n.items)) {
            const bool repeatedItem = isPostfix(item);
            changed = changed || repeatedItem;
            inner = alternative(inner, repeatedItem ? node(item).items.front() : item);
        }
        return changed ? star(inner) : make(Kind::Star, {term});
    }
    default:
        return make(Kind::Star, {term});
    }
}

RegexTerms::Term RegexTerms::plus(Term term)
{
    const Node &n = node(term);
    if (n.kind == Kind::Star || n.kind == Kind::Plus)
        return term;
    if (n.nullable)
        return star(term);
    return make(Kind::Plus, {term});
}

RegexTerms::Term RegexTerms::optional(Term term)
{
    const Node &n = node(term);
    if (n.nullable)
        return term;
    if (n.kind == Kind::Plus)
        return star(n.items.front());
    return make(Kind::Optional, {term});
}

QString RegexTerms::classText(const std::vector<int> &symbols) const
{
    QString out;
    if (symbols.size() == 1) {
        appendCharacter(out, m_alphabet[symbols.front()], false);
        return out;
    }
    if (qsizetype(symbols.size()) == m_alphabet.size())
        return QStringLiteral(".");
    std::vector<char32_t> in, outside;
    std::vector<char> member(size_t(m_alphabet.size()), 0);
    for (const int symbol : symbols)
        member[size_t(symbol)] = 1;
    for (qsizetype i = 0; i < m_alphabet.size(); ++i)
        (member[size_t(i)] ? in : outside).push_back(m_alphabet[i]);
    std::sort(in.begin(), in.end());
    std::sort(outside.begin(), outside.end());
    QString positive = QStringLiteral("["), negative = QStringLiteral("[^");
    appendClassBody(positive, in);
    appendClassBody(negative, outside);
    return negative.size() < positive.size() ? negative : positive;
}

QString RegexTerms::text(Term term) const
{
    QString out;
    out.reserve(qsizetype(std::min<qint64>(length(term), qint64(1) << 28)));
    appendText(out, term);
    return out;
}

// Written with a stack of its own: an expression may nest as deep as the
// automaton has states.
void RegexTerms::appendText(QString &out, Term root) const
{
    struct Frame
    {
        Term term;
        size_t next;    // the next item to write
        bool grouped;   // in brackets
    };
    std::vector<Frame> stack{{root, 0, false}};
    while (!stack.empty()) {
        Frame &frame = stack.back();
        const Node &n = node(frame.term);
        if (frame.next == 0 && frame.grouped)
            out += u'(';
        bool done = true;
        switch (n.kind) {
        case Kind::Nothing:
            out += Characters::text(RegexSyntax::emptyLanguage);
            break;
        case Kind::Empty:
            out += Characters::text(RegexSyntax::emptyString);
            break;
        case Kind::Characters:
            out += classText(n.items);
            break;
        case Kind::Concat:
        case Kind::Union:
            if (frame.next < n.items.size()) {
                if (n.kind == Kind::Union && frame.next > 0)
                    out += u'|';
                const Term item = n.items[frame.next++];
                const bool grouped = n.kind == Kind::Concat && node(item).kind == Kind::Union;
                // Any later write of '(' must not repeat: `next` is past 0 now.
                stack.push_back({item, 0, grouped});
                done = false;
            }
            break;
        case Kind::Star:
        case Kind::Plus:
        case Kind::Optional:
            if (frame.next == 0) {
                frame.next = 1;
                const Term item = n.items.front();
                stack.push_back({item, 0, lengthUnderPostfix(item) != length(item)});
                done = false;
            } else {
                out += n.kind == Kind::Star ? u'*' : n.kind == Kind::Plus ? u'+' : u'?';
            }
            break;
        }
        if (done) {
            if (stack.back().grouped)
                out += u')';
            stack.pop_back();
        }
    }
}

} // namespace Analysis
