#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace Analysis {

// Regular expressions as Tarnwell reads and writes them. A character stands
// for itself; `|` is union, `*` zero or more, `+` one or more, `?` optional,
// `(...)` groups, `()` or `ε` the empty string, `∅` the empty language, `[abc]`
// and `[a-c]` a class (`[^abc]`: the other symbols of the alphabet), `.` any
// symbol of the alphabet, and `\` makes the next character literal. Postfix
// operators bind tightest, then concatenation, then `|`; an empty alternative
// (`a|`) is the empty string. A character is one code point.
namespace RegexSyntax {

inline constexpr int mostCharacters = 10000;   // the longest expression read
inline constexpr char32_t emptyString = U'ε';
inline constexpr char32_t emptyLanguage = U'∅';

// Whether a character outside a class needs `\` to stand for itself.
bool isSpecial(char32_t character);
// Whether a character inside a class needs `\` to stand for itself.
bool isSpecialInClass(char32_t character);

} // namespace RegexSyntax

// One node of a parsed expression.
struct RegexNode
{
    enum class Kind { Nothing, Empty, Characters, Concat, Union, Star, Plus, Optional };

    Kind kind = Kind::Empty;
    std::vector<int> children;  // Concat, Union: two or more; Star, Plus, Optional: one
    int label = -1;             // Characters: index into Regex::labels
};

// An expression with its alphabet resolved: every class is the set of
// alphabet positions it matches.
struct Regex
{
    QList<char32_t> alphabet;              // the symbols, in their order
    std::vector<std::vector<int>> labels;  // distinct sets of alphabet positions, each sorted
    std::vector<RegexNode> nodes;          // each after the nodes it is made of
    int root = -1;
};

// Why an expression was not read; `position` is the 1-based character it is
// about, 0 when it is about the whole.
struct RegexError
{
    int position = 0;
    QString what;

    // "Position 7: ')' without '('", or `what` alone.
    QString message() const;
};

struct RegexParse
{
    std::optional<RegexError> error;
    Regex regex;
};

// Reads `text`. The alphabet is `alphabet` when given (its characters in their
// order, repeats dropped), else the distinct characters the expression names,
// classes included, in code point order; then `.` and `[^...]` are refused, as
// is any character outside a given alphabet (a range takes the alphabet's
// characters within it).
RegexParse parseRegex(QStringView text, std::optional<QStringView> alphabet = std::nullopt);

} // namespace Analysis
