#pragma once

#include <QList>
#include <QString>

#include <unordered_map>
#include <vector>

namespace Analysis {

// Expressions built up while states are eliminated, each made once and named
// by a number, so that equal expressions are one number, comparing them costs
// nothing, and a part shared by many others is held once. Every constructor
// simplifies as it builds (∅ and ε drop out, `x x*` becomes `x+`, a union of
// single symbols becomes one class, `ε|x` becomes `x?` ...), so the expression
// stays short, and each term knows the length of its text without writing it.
class RegexTerms
{
public:
    using Term = int;

    // `alphabet`: the characters the symbol positions of characters() name.
    explicit RegexTerms(QList<char32_t> alphabet);

    Term nothing() const { return 0; }   // ∅
    Term empty() const { return 1; }     // ε
    // The class of the symbols at these positions of the alphabet.
    Term characters(std::vector<int> symbols);
    Term concat(Term first, Term second);
    Term alternative(Term first, Term second);
    Term star(Term term);

    // The length of the term's text, at most `lengthCap` (longer texts count as
    // that), so the sums never overflow.
    qint64 length(Term term) const { return m_nodes[size_t(term)].length; }
    static constexpr qint64 lengthCap = qint64(1) << 40;
    // How many terms exist: the memory they take.
    size_t count() const { return m_nodes.size(); }
    // How many parts the constructors have gone through so far: their time.
    quint64 work() const { return m_work; }

    // The text in the syntax parseRegex reads: characters that are operators
    // escaped with `\`, a class as `[a-c]`, `[^ab]` or `.` when shorter, the
    // fewest brackets the precedence needs.
    QString text(Term term) const;

private:
    enum class Kind : unsigned char { Nothing, Empty, Characters, Concat, Union, Star, Plus, Optional };

    struct Node
    {
        Kind kind;
        std::vector<int> items;  // children, or for Characters the sorted symbol positions
        qint64 length = 0;       // of the text written alone
        bool nullable = false;   // matches the empty string
    };

    struct KeyHash
    {
        size_t operator()(const std::pair<Kind, std::vector<int>> &key) const;
    };

    Term make(Kind kind, std::vector<int> items);
    Term plus(Term term);
    Term optional(Term term);
    const Node &node(Term term) const { return m_nodes[size_t(term)]; }
    bool isPostfix(Term term) const;
    // The length written as a part of a concatenation, or under a postfix operator.
    qint64 lengthInConcat(Term term) const;
    qint64 lengthUnderPostfix(Term term) const;
    QString classText(const std::vector<int> &symbols) const;
    void appendText(QString &out, Term term) const;

    QList<char32_t> m_alphabet;
    std::vector<Node> m_nodes;
    std::unordered_map<std::pair<Kind, std::vector<int>>, Term, KeyHash> m_index;
    quint64 m_work = 0;
};

} // namespace Analysis
