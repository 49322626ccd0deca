#include "analysis/regex_automaton.h"

#include "analysis/dense_automaton.h"
#include "analysis/predecessors.h"
#include "analysis/state_classes.h"
#include "analysis/subset_construction.h"
#include "model/characters.h"

namespace Analysis {

namespace {

// The alphabet cut into classes of symbols that every class of the expression
// either holds all of or none of, so that the construction works by class.
struct SymbolClasses
{
    std::vector<int> classOf;                   // by alphabet position
    int count = 0;
    std::vector<std::vector<int>> labelClasses; // by label of the expression: its classes, sorted

    explicit SymbolClasses(const Regex &regex)
    {
        const size_t symbols = size_t(regex.alphabet.size());
        classOf.assign(symbols, 0);
        // Each label splits every class it touches into its part inside the
        // label (a new class) and the rest (the old one, perhaps emptied).
        int made = symbols > 0 ? 1 : 0;
        std::vector<int> splitInto;
        std::vector<size_t> splitBy;
        for (size_t label = 0; label < regex.labels.size(); ++label)
            for (const int symbol : regex.labels[label]) {
                const int old = classOf[size_t(symbol)];
                if (size_t(old) >= splitBy.size()) {
                    splitBy.resize(size_t(old) + 1, size_t(-1));
                    splitInto.resize(size_t(old) + 1, -1);
                }
                if (splitBy[size_t(old)] != label) {
                    splitBy[size_t(old)] = label;
                    splitInto[size_t(old)] = made++;
                }
                classOf[size_t(symbol)] = splitInto[size_t(old)];
            }
        // Numbered again in the order of their first symbols, without the emptied ones.
        std::vector<int> renumbered(size_t(made), -1);
        for (int &c : classOf) {
            if (renumbered[size_t(c)] < 0)
                renumbered[size_t(c)] = count++;
            c = renumbered[size_t(c)];
        }
        for (const std::vector<int> &label : regex.labels) {
            std::vector<char> in(size_t(count), 0);
            for (const int symbol : label)
                in[size_t(classOf[size_t(symbol)])] = 1;
            std::vector<int> classes;
            for (int c = 0; c < count; ++c)
                if (in[size_t(c)])
                    classes.push_back(c);
            labelClasses.push_back(std::move(classes));
        }
    }
};

// Thompson's construction: each node becomes a piece with one entry and one
// exit, joined by moves on the empty string. Nodes come after their parts, so
// one pass in order builds them all.
Nfa thompson(const Regex &regex, const SymbolClasses &classes)
{
    Nfa nfa;
    nfa.width = classes.count;
    nfa.labels = classes.labelClasses;
    struct Piece
    {
        int entry, exit;
    };
    std::vector<Piece> pieces(regex.nodes.size());
    for (size_t i = 0; i < regex.nodes.size(); ++i) {
        const RegexNode &node = regex.nodes[i];
        const Piece piece{nfa.addState(), nfa.addState()};
        const auto part = [&](size_t k) { return pieces[size_t(node.children[k])]; };
        switch (node.kind) {
        case RegexNode::Kind::Nothing:
            break;
        case RegexNode::Kind::Empty:
            nfa.addEmptyMove(piece.entry, piece.exit);
            break;
        case RegexNode::Kind::Characters:
            nfa.addMove(piece.entry, node.label, piece.exit);
            break;
        case RegexNode::Kind::Concat:
            nfa.addEmptyMove(piece.entry, part(0).entry);
            for (size_t k = 1; k < node.children.size(); ++k)
                nfa.addEmptyMove(part(k - 1).exit, part(k).entry);
            nfa.addEmptyMove(part(node.children.size() - 1).exit, piece.exit);
            break;
        case RegexNode::Kind::Union:
            for (size_t k = 0; k < node.children.size(); ++k) {
                nfa.addEmptyMove(piece.entry, part(k).entry);
                nfa.addEmptyMove(part(k).exit, piece.exit);
            }
            break;
        case RegexNode::Kind::Star:
        case RegexNode::Kind::Plus:
        case RegexNode::Kind::Optional:
            nfa.addEmptyMove(piece.entry, part(0).entry);
            nfa.addEmptyMove(part(0).exit, piece.exit);
            if (node.kind != RegexNode::Kind::Plus)
                nfa.addEmptyMove(piece.entry, piece.exit);
            if (node.kind != RegexNode::Kind::Optional)
                nfa.addEmptyMove(part(0).exit, part(0).entry);
            break;
        }
        pieces[i] = piece;
    }
    const Piece whole = pieces[size_t(regex.root)];
    nfa.starts = {whole.entry};
    nfa.final[size_t(whole.exit)] = 1;
    for (size_t state = 0; state < nfa.final.size(); ++state)
        nfa.kept[state] = nfa.final[state] || !nfa.moves[state].empty();
    return nfa;
}

} // namespace

Nfa regexNfa(const Regex &regex, std::vector<int> &classOfSymbol)
{
    const SymbolClasses classes(regex);
    classOfSymbol = classes.classOf;
    return thompson(regex, classes);
}

modAll minimalAutomaton(const DenseAutomaton &table, const std::vector<int> &classOfSymbol, const QStringList &symbols)
{
    const std::vector<int> groups = equivalentStateClasses(table, Predecessors(table));
    // Breadth-first over the groups, symbols in order, from the start's group.
    std::vector<int> representative; // by new state: a member of its group
    std::vector<int> numberOf(groups.size(), -1); // by group
    const auto reach = [&](int state) {
        int &number = numberOf[size_t(groups[size_t(state)])];
        if (number < 0) {
            number = int(representative.size());
            representative.push_back(state);
        }
        return number;
    };
    reach(table.start());
    modAll out;
    const qint16 symbolCount = qint16(symbols.size());
    for (size_t done = 0; done < representative.size(); ++done) {
        QList<qint16> row;
        for (const int column : classOfSymbol)
            row.append(qint16(reach(table.next(representative[done], column)) + 1));
        sizeWithSpare<qint16>(row, symbolCount, 0);
        out.transitions.append(row);
    }
    out.state_count = qint16(representative.size());
    for (size_t state = 0; state < representative.size(); ++state)
        out.states.append({QStringLiteral("q%1").arg(state), table.isFinal(representative[state])});
    sizeWithSpare(out.states, out.state_count);
    sizeWithSpare(out.transitions, out.state_count);
    out.start_state = 0;
    out.symbol_count = symbolCount;
    out.symbols = symbols;
    sizeWithSpare(out.symbols, symbolCount);
    out.is_saved = false;
    return out;
}

RegexAutomaton automatonFromRegex(QStringView text, std::optional<QStringView> alphabet, int stateLimit)
{
    RegexAutomaton result;
    const RegexParse parsed = parseRegex(text, alphabet);
    if (parsed.error) {
        result.error = parsed.error;
        return result;
    }
    const Regex &regex = parsed.regex;
    std::vector<int> classOf;
    const Nfa nfa = regexNfa(regex, classOf);
    Determinized dfa = determinize(nfa, stateLimit);
    if (dfa.refused()) {
        result.error = RegexError{0, dfa.refusal};
        return result;
    }

    QStringList symbols;
    QList<QString> classCharacters(nfa.width);
    for (qsizetype symbol = 0; symbol < regex.alphabet.size(); ++symbol) {
        symbols.append(Characters::text(regex.alphabet[symbol]));
        QString &first = classCharacters[classOf[size_t(symbol)]];
        if (first.isEmpty())
            first = symbols.last();
    }
    const DenseAutomaton table(classCharacters, std::move(dfa.next), std::move(dfa.final), 0);
    result.automaton = minimalAutomaton(table, classOf, symbols);
    result.automaton.comment = QStringLiteral("From the expression ") + text.toString();
    return result;
}

} // namespace Analysis
