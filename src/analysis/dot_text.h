#pragma once

#include <QString>
#include <functional>

struct StateGraph;
struct modAll;

// The automaton as Graphviz DOT text, drawn the way automata are drawn: a state
// is a circle with its name, a final state a double circle, the start state has
// an arrow coming in from an invisible point, and each edge of the StateGraph is
// one arrow labelled with its symbols; the stays are dashed self-loops.
//
// Node ids are generated (s0, s1, ... by the state's position; "start" for the
// invisible point), so nothing the user typed is ever read as DOT. Every name
// and symbol goes into a quoted string that Graphviz shows exactly as typed: its
// own escapes (\n, \l, \N, \G ...) and character entities (&lt;) are defused,
// and nothing is an HTML-like label.
namespace DotText {

// The face and sizes the labels are measured and drawn in, in points.
inline constexpr const char *fontName = "sans-serif";
inline constexpr int stateFontSize = 14;
inline constexpr int edgeFontSize = 12;

// The DOT id of a state's node, and of the invisible point the start arrow comes from.
QString nodeId(qint16 state);
inline QString startId() { return QStringLiteral("start"); }

// What a label shows for `text`. A control character shows as its visible
// picture (U+2400 and on), since it has no glyph of its own; in a state's name
// a line break (CR LF, CR or LF) starts a new line of the label instead.
enum class LineBreaks { Break, Show };
QString visibleText(const QString &text, LineBreaks lineBreaks);

// The label text of a state and of an edge, as drawn.
QString stateLabel(const QString &name);
QString edgeLabel(const QStringList &symbols);

// A DOT string literal whose label reads as `label`, whose lines are separated by '\n'.
QString dotString(const QString &label);

QString dotText(const StateGraph &graph);
QString dotText(const modAll &model);

// The DOT text of the whole automaton, dotText(model), handed to `put` a line
// at a time as it is made, so an automaton of any size takes little memory;
// false from `put` stops it. Gives whether it went to the end.
bool writeDotText(const modAll &model, const std::function<bool(const QString &text)> &put);

} // namespace DotText
