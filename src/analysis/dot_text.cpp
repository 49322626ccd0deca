#include "analysis/dot_text.h"

#include "analysis/state_graph.h"

#include <QStringList>

namespace DotText {

namespace {

constexpr char16_t controlPictures = 0x2400; // U+2400 SYMBOL FOR NULL and the 31 after it
constexpr char16_t deletePicture = 0x2421;
} // namespace

QString nodeId(qint16 state)
{
    return QLatin1Char('s') + QString::number(state);
}

QString visibleText(const QString &text, LineBreaks lineBreaks)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (lineBreaks == LineBreaks::Break && (c == u'\n' || c == u'\r')) {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            shown.append(u'\n');
        } else if (c < 0x20) {
            shown.append(QChar(char16_t(controlPictures + c)));
        } else if (c == 0x7f) {
            shown.append(QChar(deletePicture));
        } else {
            shown.append(text[i]);
        }
    }
    return shown;
}

QString stateLabel(const QString &name)
{
    return visibleText(name, LineBreaks::Break);
}

QString edgeLabel(const QStringList &symbols)
{
    QStringList shown;
    shown.reserve(symbols.size());
    for (const QString &symbol : symbols)
        shown.append(visibleText(symbol, LineBreaks::Show));
    return shown.join(QStringLiteral(", "));
}

// Inside a quoted DOT string only \" is read by the parser; a label then turns
// \\ into one backslash and \n into a line break, and would expand \N, \G, \l
// and the like, which a doubled backslash keeps as typed. Graphviz also reads
// HTML character entities in every label ("&lt;" shows as <), so & is written
// as one.
QString dotString(const QString &label)
{
    QString quoted;
    quoted.reserve(label.size() + 2);
    quoted.append(u'"');
    for (const QChar c : label) {
        if (c == u'"' || c == u'\\')
            quoted.append(u'\\').append(c);
        else if (c == u'&')
            quoted.append(QLatin1String("&amp;"));
        else if (c == u'\n')
            quoted.append(QLatin1String("\\n"));
        else
            quoted.append(c);
    }
    quoted.append(u'"');
    return quoted;
}

namespace {

QString header()
{
    return QStringLiteral("digraph automaton {\n"
                          "    rankdir=LR;\n"
                          "    node [shape=circle, fontname=\"%1\", fontsize=%2];\n"
                          "    edge [fontname=\"%1\", fontsize=%3];\n")
        .arg(QLatin1String(fontName))
        .arg(stateFontSize)
        .arg(edgeFontSize);
}

QString startPointLine()
{
    return QLatin1String("    ") + startId() + QLatin1String(" [shape=point, style=invis];\n");
}

QString nodeLine(const StateGraph::Node &node)
{
    QString line = QLatin1String("    ") + nodeId(node.state) + QLatin1String(" [label=") + dotString(stateLabel(node.name));
    if (node.is_final)
        line += QLatin1String(", shape=doublecircle");
    return line + QLatin1String("];\n");
}

QString startEdgeLine(qint16 start)
{
    return QLatin1String("    ") + startId() + QLatin1String(" -> ") + nodeId(start) + QLatin1String(";\n");
}

QString edgeLine(const StateGraph::Edge &edge)
{
    QString line = QLatin1String("    ") + nodeId(edge.from) + QLatin1String(" -> ") + nodeId(edge.to)
        + QLatin1String(" [label=") + dotString(edgeLabel(edge.symbols));
    if (edge.stay)
        line += QLatin1String(", style=dashed");
    return line + QLatin1String("];\n");
}

QString footer()
{
    return QStringLiteral("}\n");
}

} // namespace

QString dotText(const StateGraph &graph)
{
    QString dot = header();
    if (graph.start >= 0)
        dot += startPointLine();
    for (const StateGraph::Node &node : graph.nodes)
        dot += nodeLine(node);
    if (graph.start >= 0)
        dot += startEdgeLine(graph.start);
    for (const StateGraph::Edge &edge : graph.edges)
        dot += edgeLine(edge);
    return dot + footer();
}

bool writeDotText(const modAll &model, const std::function<bool(const QString &text)> &put)
{
    const StateGraphWalk walk(model);
    if (!put(header()) || (walk.start() >= 0 && !put(startPointLine())))
        return false;
    for (qint16 state = 0; state < walk.stateCount(); ++state)
        if (!put(nodeLine(walk.node(state))))
            return false;
    if (walk.start() >= 0 && !put(startEdgeLine(walk.start())))
        return false;
    for (qint16 state = 0; state < walk.stateCount(); ++state)
        for (const StateGraph::Edge &edge : walk.edgesFrom(state))
            if (!put(edgeLine(edge)))
                return false;
    return put(footer());
}

QString dotText(const modAll &model)
{
    QString dot;
    writeDotText(model, [&dot](const QString &text) {
        dot += text;
        return true;
    });
    return dot;
}

} // namespace DotText
