#include "analysis/check_automaton.h"

namespace Analysis {

namespace {

class ReportWriter
{
public:
    explicit ReportWriter(const Escape &escape) : m_escape(escape) {}

    void line(const QString &text) { m_text += text + u'\n'; }

    // A heading and one line per item, or the heading and "none".
    template <typename Item, typename Describe>
    void section(const QString &heading, const QList<Item> &items, Describe &&describe)
    {
        if (items.isEmpty()) {
            line(heading + QStringLiteral(": none"));
            return;
        }
        line(heading + u':');
        for (const Item &item : items)
            line(QStringLiteral("  ") + describe(item));
    }

    QString shownText(const QString &text) const { return shown(text, m_escape); }

    QString state(const NamedPosition &state) const
    {
        return shownText(state.name) + QStringLiteral(" (state %1)").arg(state.position + 1);
    }
    QString symbol(const NamedPosition &symbol) const
    {
        return shownText(symbol.name) + QStringLiteral(" (symbol %1)").arg(symbol.position + 1);
    }
    QString repeated(const RepeatedText &repeated, const QString &what) const
    {
        QStringList positions;
        for (const int position : repeated.positions)
            positions.append(QString::number(position + 1));
        return shownText(repeated.text) + QStringLiteral(" (%1 %2)").arg(what, positions.join(QStringLiteral(", ")));
    }

    const QString &text() const { return m_text; }

private:
    const Escape &m_escape;
    QString m_text;
};

QString stringCount(quint64 count)
{
    if (count == CheckReport::uncounted)
        return QStringLiteral("too many strings to count");
    return count == 1 ? QStringLiteral("1 string") : QStringLiteral("%1 strings").arg(count);
}

} // namespace

QString checkReportText(const CheckReport &report, const Escape &escape)
{
    ReportWriter out(escape);
    if (!report.hasStates)
        out.line(QStringLiteral("No states: every string of symbols is REJECTED."));
    else if (!report.startValid)
        out.line(QStringLiteral("Start state: not valid, so every string gives ERROR."));
    else
        out.line(QStringLiteral("Start state: ") + out.shownText(report.startName));

    const auto state = [&](const NamedPosition &item) { return out.state(item); };
    const auto symbol = [&](const NamedPosition &item) { return out.symbol(item); };
    out.section(QStringLiteral("Unreachable states"), report.unreachableStates, state);
    out.section(QStringLiteral("States from which no final state can be reached"), report.statesWithoutFinal, state);
    out.section(QStringLiteral("Symbols that keep every state where it is"), report.symbolsThatStay, symbol);
    out.section(QStringLiteral("Repeated symbols (only the last column is used)"), report.repeatedSymbols,
                [&](const RepeatedText &item) { return out.repeated(item, QStringLiteral("symbols")); });
    out.section(QStringLiteral("Repeated state names (the table can only name the last)"),
                report.repeatedStateNames,
                [&](const RepeatedText &item) { return out.repeated(item, QStringLiteral("states")); });
    out.section(QStringLiteral("Symbols that are not one character (they never match)"),
                report.symbolsNotOneCharacter, symbol);
    out.section(QStringLiteral("Equivalent states (the automaton is not minimal)"), report.equivalentStates,
                [&](const QList<NamedPosition> &group) {
                    QStringList members;
                    for (const NamedPosition &member : group)
                        members.append(out.state(member));
                    return members.join(QStringLiteral(", "));
                });

    switch (report.language) {
    case LanguageSize::Empty:
        out.line(QStringLiteral("Language: empty"));
        break;
    case LanguageSize::Infinite:
        out.line(QStringLiteral("Language: infinite"));
        break;
    case LanguageSize::Finite: {
        const QString heading = QStringLiteral("Language: finite, ") + stringCount(report.acceptedCount);
        if (report.acceptedStrings.isEmpty())
            out.line(heading);
        else
            out.section(heading, report.acceptedStrings, [&](const QString &text) { return out.shownText(text); });
        break;
    }
    }
    const auto shortest = [&](const std::optional<QString> &text) {
        return text ? out.shownText(*text) : QStringLiteral("none");
    };
    out.line(QStringLiteral("Shortest accepted string: ") + shortest(report.shortestAccepted));
    out.line(QStringLiteral("Shortest rejected string: ") + shortest(report.shortestRejected));
    return out.text();
}

} // namespace Analysis
