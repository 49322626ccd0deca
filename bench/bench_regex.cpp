// Regular expressions and JFLAP files at the sizes users meet:
//
// - --from-regex on (a|b)*a(a|b)(a|b)... with n = 10 and 15 copies of (a|b):
//   2^(n+1) states after the subset construction, so n = 15 (65,536 states)
//   is refused at the 32,767 states an automaton can have. The whole of what
//   the user waits for (parse, construction, minimization, the .tw text),
//   against the floor: writing the same .tw text of the answer (for n = 15,
//   refused, there is no answer to write and the ratio means nothing).
// - The subset construction and minimization alone, ours against OpenFst's
//   RmEpsilon, Determinize and Minimize on the same automaton (when OpenFst was
//   found), with no limit on states, for those two expressions and the long ones.
// - Expressions of 10,000 characters: a union of 1,400 words (the automaton is
//   their trie), and 1,100 starred groups in a row.
// - Reading a JFLAP file of 1,000 states and 3,000 transitions (argument 1000), the whole
//   loader (recognising the file, the XML, the automaton), against the floor:
//   QXmlStreamReader going through the same bytes.
// - --to-regex on 20-state automata, against reading every cell of the table;
//   the length of the expression is printed.
//
// Run with --benchmark_repetitions=5 or more: each ratio is the median of
// paired runs.

#include "analysis/automaton_regex.h"
#include "analysis/dense_automaton.h"
#include "analysis/predecessors.h"
#include "analysis/regex_automaton.h"
#include "analysis/state_classes.h"
#include "analysis/subset_construction.h"
#include "document/automaton_file.h"
#include "document/tw_writer.h"
#include "ratio_reporter.h"

#include <QRandomGenerator>
#include <QXmlStreamReader>

#include <cstdio>
#include <limits>

#ifdef TARNWELL_HAVE_OPENFST
#include "openfst_reference.h"
#endif

namespace {

QString lastSymbolsFromTheEnd(int n)
{
    QString text = QStringLiteral("(a|b)*a");
    for (int i = 0; i < n; ++i)
        text += QStringLiteral("(a|b)");
    return text;
}

// 1,400 distinct random words of 3 to 8 letters, joined by |: 10,000 characters.
QString wordUnion()
{
    QRandomGenerator random(7);
    QString text;
    while (text.size() < 10000) {
        QString word;
        const int length = 3 + random.bounded(6);
        for (int i = 0; i < length && text.size() + word.size() + 1 < 10000; ++i)
            word += QChar(u'a' + random.bounded(26));
        if (!text.isEmpty())
            text += u'|';
        text += word;
    }
    return text.left(10000);
}

// Groups like (ab|c)*d one after another: 10,000 characters.
QString starredGroups()
{
    QRandomGenerator random(11);
    QString text;
    while (text.size() + 9 <= 10000) {
        const auto letter = [&] { return QChar(u'a' + random.bounded(4)); };
        text += u'(' + QString(letter()) + letter() + u'|' + letter() + QStringLiteral(")*") + letter();
    }
    return text;
}

QString expression(int which)
{
    static const QString words = wordUnion(), groups = starredGroups();
    switch (which) {
    case 0:
        return lastSymbolsFromTheEnd(10);
    case 1:
        return lastSymbolsFromTheEnd(15);
    case 2:
        return words;
    default:
        return groups;
    }
}

void BM_FromRegex(benchmark::State &state)
{
    const QString text = expression(int(state.range(0)));
    qsizetype bytes = 0;
    for (auto _ : state) {
        const Analysis::RegexAutomaton made = Analysis::automatonFromRegex(text);
        const QByteArray out = made.error ? made.error->message().toUtf8() : automatonBytes(made.automaton);
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["output bytes"] = double(bytes);
}
BENCHMARK(BM_FromRegex)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_WriteAnswer(benchmark::State &state)
{
    const Analysis::RegexAutomaton made = Analysis::automatonFromRegex(expression(int(state.range(0))));
    for (auto _ : state) {
        const QByteArray out = made.error ? made.error->message().toUtf8() : automatonBytes(made.automaton);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_WriteAnswer)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

// The expression's automaton, by classes of symbols, as both constructions start from it.
const Analysis::Nfa &nfaOf(int which)
{
    static std::map<int, Analysis::Nfa> made;
    if (!made.contains(which)) {
        std::vector<int> classOf;
        made[which] = Analysis::regexNfa(Analysis::parseRegex(expression(which)).regex, classOf);
    }
    return made[which];
}

void BM_DeterminizeMinimize(benchmark::State &state)
{
    const Analysis::Nfa &nfa = nfaOf(int(state.range(0)));
    int states = 0;
    for (auto _ : state) {
        Analysis::Determinized dfa = Analysis::determinize(nfa, std::numeric_limits<int>::max(), size_t(1) << 30);
        QList<QString> columns;
        for (int column = 0; column < nfa.width; ++column)
            columns.append(QString(QChar(u'a' + column)));
        const Analysis::DenseAutomaton table(columns, std::move(dfa.next), std::move(dfa.final), 0);
        const std::vector<int> groups = Analysis::equivalentStateClasses(table, Analysis::Predecessors(table));
        states = 1 + *std::max_element(groups.begin(), groups.end());
    }
    state.counters["states"] = states;
}
BENCHMARK(BM_DeterminizeMinimize)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

#ifdef TARNWELL_HAVE_OPENFST
// OpenFst on the same automaton: arcs labelled by class + 1 (0 is its empty
// string), every final state ending with weight One.
void BM_OpenFst(benchmark::State &state)
{
    const Analysis::Nfa &nfa = nfaOf(int(state.range(0)));
    int states = 0;
    // The arcs as OpenFst takes them, made outside the timing.
    std::vector<std::array<int, 3>> arcs;
    for (size_t s = 0; s < nfa.final.size(); ++s) {
        for (const int to : nfa.emptyMoves[s])
            arcs.push_back({int(s), 0, to});
        for (const Analysis::Nfa::Move &move : nfa.moves[s])
            for (const int column : nfa.labels[size_t(move.label)])
                arcs.push_back({int(s), column + 1, move.target});
    }
    for (auto _ : state)
        states = openFstMinimalStates(int(nfa.final.size()), nfa.starts.front(), nfa.final, arcs);
    state.counters["states"] = states;
}
BENCHMARK(BM_OpenFst)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
#endif

// A deterministic JFLAP automaton of 1,000 states over a, b and c: 3,000 transitions.
QByteArray largeJff()
{
    QRandomGenerator random(5);
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?><structure>\n\t<type>fa</type>\n"
                     "\t<automaton>\n";
    for (int s = 0; s < 1000; ++s) {
        xml += "\t\t<state id=\"" + QByteArray::number(s) + "\" name=\"q" + QByteArray::number(s) + "\">\n\t\t\t<x>"
             + QByteArray::number(random.bounded(2000)) + ".0</x>\n\t\t\t<y>" + QByteArray::number(random.bounded(2000))
             + ".0</y>\n";
        if (s == 0)
            xml += "\t\t\t<initial/>\n";
        if (random.bounded(3) == 0)
            xml += "\t\t\t<final/>\n";
        xml += "\t\t</state>\n";
    }
    for (int s = 0; s < 1000; ++s)
        for (const char read : {'a', 'b', 'c'})
            xml += "\t\t<transition>\n\t\t\t<from>" + QByteArray::number(s) + "</from>\n\t\t\t<to>"
                 + QByteArray::number(random.bounded(1000)) + "</to>\n\t\t\t<read>" + read
                 + "</read>\n\t\t</transition>\n";
    return xml + "\t</automaton>\n</structure>";
}

void BM_ReadJff(benchmark::State &state)
{
    static const QByteArray bytes = largeJff();
    for (auto _ : state) {
        const TwResult<LoadedAutomaton> loaded = readAutomatonFile(bytes);
        if (!loaded.ok() || loaded.value().automaton.state_count != 1000)
            state.SkipWithError("the file was not read");
        benchmark::DoNotOptimize(&loaded);
    }
    state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_ReadJff)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_TokenizeJff(benchmark::State &state)
{
    static const QByteArray bytes = largeJff();
    for (auto _ : state) {
        QXmlStreamReader xml(bytes);
        int elements = 0;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement)
                ++elements;
        benchmark::DoNotOptimize(elements);
    }
}
BENCHMARK(BM_TokenizeJff)->Arg(1000)->Unit(benchmark::kMillisecond);

// 20 states over 0 and 1 (or over a, b and c), random targets, a third final.
modAll twentyStates(int symbols, quint32 seed)
{
    QRandomGenerator random(seed);
    modAll m;
    m.state_count = 20;
    m.symbol_count = qint16(symbols);
    for (int s = 0; s <= 20; ++s)
        m.states.append({QStringLiteral("q%1").arg(s), random.bounded(3) == 0});
    for (int j = 0; j <= symbols; ++j)
        m.symbols.append(symbols == 2 ? QString(QChar(u'0' + j)) : QString(QChar(u'a' + j)));
    for (int s = 0; s <= 20; ++s) {
        QList<qint16> row;
        for (int j = 0; j <= symbols; ++j)
            row.append(qint16(1 + random.bounded(20)));
        m.transitions.append(row);
    }
    return m;
}

void BM_ToRegex(benchmark::State &state)
{
    const modAll automaton = twentyStates(int(state.range(0)), 3);
    qsizetype length = 0;
    for (auto _ : state) {
        const Analysis::AutomatonRegex regex = Analysis::automatonRegex(automaton);
        length = regex.refused() ? -1 : regex.expression.size();
        benchmark::DoNotOptimize(length);
    }
    state.counters["length"] = double(length);
}
BENCHMARK(BM_ToRegex)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_ReadCells(benchmark::State &state)
{
    const modAll automaton = twentyStates(int(state.range(0)), 3);
    for (auto _ : state) {
        const Analysis::DenseAutomaton table(automaton);
        int sum = 0;
        for (int s = 0; s < table.stateCount(); ++s)
            for (int c = 0; c < table.width(); ++c)
                sum += table.next(s, c);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadCells)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return bench::runWithRatios(argc, argv,
                                {{"BM_FromRegex", "BM_WriteAnswer"},
                                 {"BM_DeterminizeMinimize", "BM_OpenFst"},
                                 {"BM_ReadJff", "BM_TokenizeJff"},
                                 {"BM_ToRegex", "BM_ReadCells"}});
}
