#include "analysis/regex_syntax.h"

#include "model/characters.h"
#include "model/limits.h"

#include <QHash>

#include <algorithm>
#include <map>

namespace Analysis {

namespace RegexSyntax {

bool isSpecial(char32_t c)
{
    return c == U'\\' || c == U'|' || c == U'*' || c == U'+' || c == U'?' || c == U'(' || c == U')' || c == U'['
        || c == U']' || c == U'.' || c == emptyString || c == emptyLanguage;
}

bool isSpecialInClass(char32_t c)
{
    return c == U'\\' || c == U']' || c == U'-' || c == U'^';
}

} // namespace RegexSyntax

QString RegexError::message() const
{
    return position > 0 ? QStringLiteral("Position %1: %2").arg(position).arg(what) : what;
}

namespace {

QString quoted(char32_t c)
{
    return u'\'' + Characters::text(c) + u'\'';
}

// The characters of a class (a literal is a class of one), as written.
struct CharacterSet
{
    struct Range
    {
        char32_t first, last;
        int position;
    };
    std::vector<Range> ranges;
    bool any = false;      // `.`
    bool negated = false;  // `[^...]`
    int position = 0;      // of the `.`, the `[` or the literal
};

class Parser
{
public:
    explicit Parser(QStringView text)
    {
        for (qsizetype i = 0; i < text.size();) {
            const QStringView character = Characters::first(text.sliced(i));
            m_text.push_back(Characters::codePoint(character));
            i += character.size();
        }
    }

    int length() const { return int(m_text.size()); }
    const std::optional<RegexError> &error() const { return m_error; }

    // The tree, with each Characters node's label an index into sets().
    // False, with error() set, at the first mistake.
    bool parse(std::vector<RegexNode> &nodes, int &root)
    {
        m_nodes = &nodes;
        m_frames.push_back({});
        for (m_at = 0; m_at < length(); ++m_at)
            if (!step())
                return false;
        if (m_frames.size() > 1)
            return fail(m_frames.back().openPosition, QStringLiteral("'(' without ')'"));
        root = close(m_frames.back());
        return true;
    }

    std::vector<CharacterSet> &sets() { return m_sets; }

private:
    struct Frame
    {
        int openPosition = 0;
        std::vector<int> alternatives;
        std::vector<int> items;   // the concatenation being read
    };

    bool fail(int position, const QString &what)
    {
        m_error = RegexError{position, what};
        return false;
    }

    // Reads the character at m_at (and what belongs to it).
    bool step()
    {
        const char32_t c = m_text[size_t(m_at)];
        const int position = m_at + 1;
        switch (c) {
        case U'(':
            m_frames.push_back({position, {}, {}});
            return true;
        case U')': {
            if (m_frames.size() == 1)
                return fail(position, QStringLiteral("')' without '('"));
            const int group = close(m_frames.back());
            m_frames.pop_back();
            item(group);
            return true;
        }
        case U'|':
            m_frames.back().alternatives.push_back(sequence(m_frames.back().items));
            m_frames.back().items.clear();
            return true;
        case U'*':
            return repeat(RegexNode::Kind::Star, c, position);
        case U'+':
            return repeat(RegexNode::Kind::Plus, c, position);
        case U'?':
            return repeat(RegexNode::Kind::Optional, c, position);
        case U'[': {
            CharacterSet set;
            if (!readClass(set))
                return false;
            item(characters(std::move(set)));
            return true;
        }
        case U'.':
            item(characters({{}, true, false, position}));
            return true;
        case RegexSyntax::emptyString:
            item(add({RegexNode::Kind::Empty, {}, -1}));
            return true;
        case RegexSyntax::emptyLanguage:
            item(add({RegexNode::Kind::Nothing, {}, -1}));
            return true;
        default: {
            char32_t literal = c;
            if (c == U'\\' && !escaped(literal))
                return false;
            item(characters({{{literal, literal, m_at + 1}}, false, false, m_at + 1}));
            return true;
        }
        }
    }

    int add(RegexNode node)
    {
        m_nodes->push_back(std::move(node));
        return int(m_nodes->size()) - 1;
    }

    void item(int node) { m_frames.back().items.push_back(node); }

    int characters(CharacterSet set)
    {
        m_sets.push_back(std::move(set));
        return add({RegexNode::Kind::Characters, {}, int(m_sets.size()) - 1});
    }

    int sequence(const std::vector<int> &items)
    {
        if (items.empty())
            return add({RegexNode::Kind::Empty, {}, -1});
        if (items.size() == 1)
            return items.front();
        return add({RegexNode::Kind::Concat, items, -1});
    }

    int close(Frame &frame)
    {
        frame.alternatives.push_back(sequence(frame.items));
        if (frame.alternatives.size() == 1)
            return frame.alternatives.front();
        return add({RegexNode::Kind::Union, frame.alternatives, -1});
    }

    // A postfix operator on the last item. Operators in a row mean what the
    // loosest of them means: `a**` is `a*`, `a+?` and `a?+` are `a*`.
    bool repeat(RegexNode::Kind kind, char32_t op, int position)
    {
        std::vector<int> &items = m_frames.back().items;
        if (items.empty())
            return fail(position, quoted(op) + QStringLiteral(" has nothing before it to repeat"));
        int operand = items.back();
        const RegexNode &last = (*m_nodes)[size_t(operand)];
        const bool postfix = last.kind == RegexNode::Kind::Star || last.kind == RegexNode::Kind::Plus
                          || last.kind == RegexNode::Kind::Optional;
        if (postfix) {
            if (last.kind != kind)
                kind = RegexNode::Kind::Star;
            operand = last.children.front();
        }
        items.back() = add({kind, {operand}, -1});
        return true;
    }

    // The character after the `\` at m_at, which it moves to.
    bool escaped(char32_t &literal)
    {
        if (m_at + 1 >= length())
            return fail(m_at + 1, QStringLiteral("'\\' at the end has no character to make literal"));
        literal = m_text[size_t(++m_at)];
        return true;
    }

    // One character of a class at m_at, which it moves past, and its position.
    bool classCharacter(char32_t &c, int &position)
    {
        c = m_text[size_t(m_at)];
        if (c == U'\\' && !escaped(c))
            return false;
        position = m_at + 1;
        ++m_at;
        return true;
    }

    // A class from the `[` at m_at to its `]`, where m_at ends.
    bool readClass(CharacterSet &set)
    {
        const int open = m_at + 1;
        set.position = open;
        ++m_at;
        if (m_at < length() && m_text[size_t(m_at)] == U'^') {
            set.negated = true;
            ++m_at;
        }
        while (m_at < length() && m_text[size_t(m_at)] != U']') {
            char32_t first = 0, last = 0;
            int firstPosition = 0, lastPosition = 0;
            if (!classCharacter(first, firstPosition))
                return false;
            const bool isRange = m_at + 1 < length() && m_text[size_t(m_at)] == U'-' && m_text[size_t(m_at) + 1] != U']';
            if (!isRange) {
                set.ranges.push_back({first, first, firstPosition});
                continue;
            }
            ++m_at;
            if (!classCharacter(last, lastPosition))
                return false;
            if (last < first)
                return fail(firstPosition, QStringLiteral("the range ") + Characters::text(first) + u'-'
                                               + Characters::text(last) + QStringLiteral(" runs backwards"));
            set.ranges.push_back({first, last, firstPosition});
        }
        if (m_at >= length())
            return fail(open, QStringLiteral("'[' without ']'"));
        if (set.ranges.empty())
            return fail(open, QStringLiteral("the class names no character"));
        return true;
    }

    std::vector<char32_t> m_text;
    int m_at = 0;
    std::vector<RegexNode> *m_nodes = nullptr;
    std::vector<Frame> m_frames;
    std::vector<CharacterSet> m_sets;
    std::optional<RegexError> m_error;
};

QString needsAlphabet(const CharacterSet &set)
{
    return set.any ? QStringLiteral("'.' stands for any symbol of the alphabet, so it needs an alphabet to be given")
                    : QStringLiteral("'[^' stands for the symbols of the alphabet outside the class, so it needs an "
                                     "alphabet to be given");
}

// The distinct characters the expression names, in code point order.
std::optional<RegexError> namedCharacters(const std::vector<CharacterSet> &sets, QList<char32_t> &alphabet)
{
    std::vector<std::pair<char32_t, char32_t>> ranges;
    for (const CharacterSet &set : sets) {
        if (set.any || set.negated)
            return RegexError{set.position, needsAlphabet(set)};
        for (const CharacterSet::Range &range : set.ranges)
            ranges.emplace_back(range.first, range.last);
    }
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<char32_t, char32_t>> merged;
    qint64 count = 0;
    for (const auto &range : ranges) {
        if (!merged.empty() && range.first <= merged.back().second + 1) {
            if (range.second > merged.back().second) {
                count += range.second - merged.back().second;
                merged.back().second = range.second;
            }
        } else {
            merged.push_back(range);
            count += qint64(range.second) - range.first + 1;
        }
        if (count > Limits::mostEntries)
            return RegexError{0, QStringLiteral("the expression names more than %1 characters, the most an "
                                                "alphabet can have").arg(Limits::mostEntries)};
    }
    for (const auto &[first, last] : merged)
        for (char32_t c = first; c <= last; ++c)
            alphabet.append(c);
    return std::nullopt;
}

std::optional<RegexError> givenCharacters(QStringView text, QList<char32_t> &alphabet)
{
    QHash<char32_t, bool> seen;
    for (qsizetype i = 0; i < text.size();) {
        const QStringView character = Characters::first(text.sliced(i));
        i += character.size();
        const char32_t c = Characters::codePoint(character);
        if (seen.contains(c))
            continue;
        seen.insert(c, true);
        alphabet.append(c);
        if (alphabet.size() > Limits::mostEntries)
            return RegexError{0, QStringLiteral("the alphabet has more than %1 characters, the most it can have")
                                     .arg(Limits::mostEntries)};
    }
    return std::nullopt;
}

// The alphabet positions a set of characters matches, sorted.
std::optional<RegexError> positionsOf(const CharacterSet &set, const QList<char32_t> &alphabet,
                                      const QHash<char32_t, int> &positionOf, std::vector<int> &positions)
{
    std::vector<char> in(size_t(alphabet.size()), set.any ? 1 : 0);
    for (const CharacterSet::Range &range : set.ranges) {
        if (range.first == range.last) {
            const int position = positionOf.value(range.first, -1);
            if (position < 0)
                return RegexError{range.position, quoted(range.first) + QStringLiteral(" is not in the alphabet")};
            in[size_t(position)] = 1;
            continue;
        }
        for (qsizetype i = 0; i < alphabet.size(); ++i)
            if (alphabet[i] >= range.first && alphabet[i] <= range.last)
                in[size_t(i)] = 1;
    }
    for (size_t i = 0; i < in.size(); ++i)
        if ((in[i] != 0) != set.negated)
            positions.push_back(int(i));
    return std::nullopt;
}

// Every class as the distinct set of alphabet positions it matches.
std::optional<RegexError> resolveLabels(Regex &regex, const std::vector<CharacterSet> &sets)
{
    QHash<char32_t, int> positionOf;
    for (qsizetype i = 0; i < regex.alphabet.size(); ++i)
        positionOf.insert(regex.alphabet[i], int(i));
    std::map<std::vector<int>, int> labelOf;
    for (RegexNode &node : regex.nodes) {
        if (node.kind != RegexNode::Kind::Characters)
            continue;
        std::vector<int> positions;
        if (auto error = positionsOf(sets[size_t(node.label)], regex.alphabet, positionOf, positions))
            return error;
        const auto [found, added] = labelOf.try_emplace(std::move(positions), int(regex.labels.size()));
        if (added)
            regex.labels.push_back(found->first);
        node.label = found->second;
    }
    return std::nullopt;
}

} // namespace

RegexParse parseRegex(QStringView text, std::optional<QStringView> alphabet)
{
    RegexParse result;
    Parser parser(text);
    Regex &regex = result.regex;
    if (parser.length() > RegexSyntax::mostCharacters)
        result.error = RegexError{0, QStringLiteral("the expression has %1 characters, more than the %2 Tarnwell reads")
                                         .arg(parser.length())
                                         .arg(RegexSyntax::mostCharacters)};
    else if (!parser.parse(regex.nodes, regex.root))
        result.error = parser.error();
    else if (alphabet)
        result.error = givenCharacters(*alphabet, regex.alphabet);
    else
        result.error = namedCharacters(parser.sets(), regex.alphabet);
    if (!result.error)
        result.error = resolveLabels(regex, parser.sets());
    if (result.error)
        regex = {};
    return result;
}

} // namespace Analysis
