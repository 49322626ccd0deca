#include "analysis/check_automaton.h"

#include "analysis/state_classes.h"
#include "analysis/word_search.h"
#include "model/characters.h"

#include <QHash>

namespace Analysis {

namespace {

QList<RepeatedText> repeatedTexts(const QStringList &texts)
{
    QHash<QString, QList<int>> positions;
    QStringList order;
    for (int i = 0; i < texts.size(); ++i) {
        QList<int> &at = positions[texts[i]];
        if (at.isEmpty())
            order.append(texts[i]);
        at.append(i);
    }
    QList<RepeatedText> repeated;
    for (const QString &text : std::as_const(order))
        if (positions[text].size() > 1)
            repeated.append({text, positions[text]});
    return repeated;
}

// The searches every finding draws on, each done once.
struct Searches
{
    explicit Searches(const DenseAutomaton &automaton)
        : forward(automaton)
        , predecessors(automaton)
        , toFinal(automaton, predecessors, finalStates(automaton, true))
    {
    }

    const ForwardSearch forward;
    const Predecessors predecessors;
    const LengthBounds toFinal;
};

// The findings about states; an automaton without states has none.
void checkStates(const modAll &model, const DenseAutomaton &automaton, const Searches &searches,
                 CheckReport &report)
{
    const int states = automaton.stateCount();
    const auto named = [&](int state) { return NamedPosition{state, model.states[state].name}; };

    for (int state = 0; state < states; ++state)
        if (!searches.forward.reached(state))
            report.unreachableStates.append(named(state));

    for (int state = 0; state < states; ++state)
        if (searches.toFinal.shortest[size_t(state)] == LengthBounds::never)
            report.statesWithoutFinal.append(named(state));

    for (int column = 0; column < automaton.width(); ++column) {
        bool stays = true;
        for (int state = 0; state < states && stays; ++state)
            stays = automaton.next(state, column) == state;
        if (stays)
            report.symbolsThatStay.append({automaton.symbolPosition(column), automaton.character(column)});
    }

    QStringList names;
    for (int state = 0; state < states; ++state)
        names.append(model.states[state].name);
    report.repeatedStateNames = repeatedTexts(names);

    const std::vector<int> classes = equivalentStateClasses(automaton, searches.predecessors);
    QList<QList<NamedPosition>> groups(states);
    for (int state = 0; state < states; ++state)
        groups[classes[size_t(state)]].append(named(state));
    for (const QList<NamedPosition> &group : std::as_const(groups))
        if (group.size() > 1)
            report.equivalentStates.append(group);
}

// What the strings do: the language and the shortest strings of each verdict.
void checkLanguage(const DenseAutomaton &automaton, const Searches &searches, CheckReport &report)
{
    const int start = automaton.start();
    if (start == DenseAutomaton::noStart)
        return;

    const LengthBounds &bounds = searches.toFinal;
    if (bounds.longest[size_t(start)] == LengthBounds::unbounded) {
        report.language = LanguageSize::Infinite;
    } else if (bounds.shortest[size_t(start)] != LengthBounds::never) {
        report.language = LanguageSize::Finite;
        report.acceptedCount = bounds.count[size_t(start)];
        if (report.acceptedCount <= quint64(CheckReport::listedLanguage))
            report.acceptedStrings = firstStrings(automaton, bounds, int(report.acceptedCount));
    }

    const ForwardSearch &search = searches.forward;
    for (const int state : search.order()) {
        std::optional<QString> &shortest = automaton.isFinal(state) ? report.shortestAccepted
                                                                    : report.shortestRejected;
        if (!shortest)
            shortest = search.firstStringTo(state);
        if (report.shortestAccepted && report.shortestRejected)
            break;
    }
}

} // namespace

CheckReport checkAutomaton(const modAll &model)
{
    CheckReport report;
    const DenseAutomaton automaton(model);
    report.hasStates = !automaton.isStandIn();
    report.startValid = automaton.start() != DenseAutomaton::noStart;
    if (report.hasStates && report.startValid)
        report.startName = model.states[automaton.start()].name;

    const qsizetype symbolCount = qMin<qsizetype>(model.symbol_count, model.symbols.size());
    const QStringList symbols = model.symbols.first(qMax<qsizetype>(symbolCount, 0));
    for (int j = 0; j < symbols.size(); ++j)
        if (!Characters::isOne(symbols[j]))
            report.symbolsNotOneCharacter.append({j, symbols[j]});
    report.repeatedSymbols = repeatedTexts(symbols);

    const Searches searches(automaton);
    if (report.hasStates)
        checkStates(model, automaton, searches, report);
    checkLanguage(automaton, searches, report);
    return report;
}

} // namespace Analysis
