#include "document/jff_writer.h"

#include "analysis/dense_automaton.h"
#include "model/characters.h"
#include "model/mod_all.h"

#include <QXmlStreamWriter>

#include <cmath>
#include <numbers>

namespace {

// Whether XML 1.0 can carry the character (escaped or not).
bool xmlCarries(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

// The first character of `text` XML cannot carry, as U+XXXX, or empty.
QString uncarried(const QString &text)
{
    for (qsizetype i = 0; i < text.size();) {
        const QStringView character = Characters::first(QStringView(text).sliced(i));
        i += character.size();
        if (const char32_t c = Characters::codePoint(character); !xmlCarries(c))
            return QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
    }
    return {};
}

// Where a state goes when the automaton has no places: around a circle, or
// row by row when a circle would be too wide to see.
QPointF laidOut(int state, int count)
{
    static constexpr int mostOnCircle = 20;
    static constexpr double spacing = 120;
    if (count <= mostOnCircle) {
        const double radius = std::max(120.0, count * spacing / (2 * std::numbers::pi));
        const double angle = std::numbers::pi + 2 * std::numbers::pi * state / count;
        return {std::round(100 + radius + radius * std::cos(angle)), std::round(100 + radius + radius * std::sin(angle))};
    }
    const int columns = int(std::ceil(std::sqrt(double(count))));
    return {100 + spacing * (state % columns), 100 + spacing * (state / columns)};
}

// As JFLAP writes them, "40.0", with the fractions a place has.
QString coordinate(double value)
{
    return value == std::floor(value) ? QString::number(value, 'f', 1) : QString::number(value, 'g', 12);
}

} // namespace

TwResult<QByteArray> jffBytes(const modAll &model, const QList<std::optional<QPointF>> &places)
{
    const Analysis::DenseAutomaton automaton(model);
    const int states = automaton.isStandIn() ? 0 : automaton.stateCount();
    for (int state = 0; state < states; ++state)
        if (const QString bad = uncarried(model.states[state].name); !bad.isEmpty())
            return TwFailure{QStringLiteral("the name of state %1 holds the character %2, which a JFLAP file cannot "
                                            "hold").arg(state + 1).arg(bad)};
    for (int column = 0; column < automaton.width(); ++column)
        if (const QString bad = uncarried(automaton.character(column)); !bad.isEmpty())
            return TwFailure{QStringLiteral("the symbol %1 is the character %2, which a JFLAP file cannot hold")
                                 .arg(automaton.symbolPosition(column) + 1)
                                 .arg(bad)};
    bool placed = places.size() >= states;
    for (int state = 0; state < states && placed; ++state)
        placed = places[state].has_value();

    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(-1);
    xml.writeStartDocument(QStringLiteral("1.0"), false);
    xml.writeComment(QStringLiteral("Written by Tarnwell."));
    xml.writeStartElement(QStringLiteral("structure"));
    xml.writeTextElement(QStringLiteral("type"), QStringLiteral("fa"));
    xml.writeStartElement(QStringLiteral("automaton"));
    xml.writeComment(QStringLiteral("The list of states."));
    for (int state = 0; state < states; ++state) {
        xml.writeStartElement(QStringLiteral("state"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(state));
        xml.writeAttribute(QStringLiteral("name"), model.states[state].name);
        const QPointF place = placed ? *places[state] : laidOut(state, states);
        xml.writeTextElement(QStringLiteral("x"), coordinate(place.x()));
        xml.writeTextElement(QStringLiteral("y"), coordinate(place.y()));
        if (state == automaton.start())
            xml.writeEmptyElement(QStringLiteral("initial"));
        if (automaton.isFinal(state))
            xml.writeEmptyElement(QStringLiteral("final"));
        xml.writeEndElement();
    }
    xml.writeComment(QStringLiteral("The list of transitions."));
    for (int state = 0; state < states; ++state)
        for (int column = 0; column < automaton.width(); ++column) {
            xml.writeStartElement(QStringLiteral("transition"));
            xml.writeTextElement(QStringLiteral("from"), QString::number(state));
            xml.writeTextElement(QStringLiteral("to"), QString::number(automaton.next(state, column)));
            xml.writeTextElement(QStringLiteral("read"), automaton.character(column));
            xml.writeEndElement();
        }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}
