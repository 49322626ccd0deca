#include "analysis/dot_text.h"
#include "analysis/state_graph.h"
#include "document/tw_file.h"
#include "test_automata.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

QString golden(const QString &name)
{
    QFile file(QStringLiteral(TARNWELL_GOLDEN_DIR "/") + name + QStringLiteral(".dot"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no golden file %s", qPrintable(name));
    return QString::fromUtf8(file.readAll());
}

// The lines of the DOT text that draw arrows, joined by " | ".
QString arrows(const QString &dot)
{
    QStringList lines;
    for (const QString &line : dot.split(u'\n'))
        if (line.contains(QLatin1String(" -> ")))
            lines.append(line.trimmed().chopped(1));
    return lines.join(QStringLiteral(" | "));
}

// Lays `dot` out with Graphviz and returns what it would write on the drawing:
// each node's and each edge's label, its lines joined by '\n', by node id and
// by "tail->head".
QHash<QString, QString> labelsDrawnBy(const QString &dot)
{
    QProcess graphviz;
    graphviz.start(QStringLiteral("dot"), {QStringLiteral("-Tjson")});
    graphviz.write(dot.toUtf8());
    graphviz.closeWriteChannel();
    if (!graphviz.waitForFinished(30000) || graphviz.exitCode() != 0)
        qFatal("dot refused the text: %s", graphviz.readAllStandardError().constData());
    const QJsonObject root = QJsonDocument::fromJson(graphviz.readAllStandardOutput()).object();

    const auto textOf = [](const QJsonObject &object) {
        QStringList lines;
        for (const QJsonValue &op : object.value(QLatin1String("_ldraw_")).toArray())
            if (op.toObject().value(QLatin1String("op")).toString() == QLatin1String("T"))
                lines.append(op.toObject().value(QLatin1String("text")).toString());
        return lines.join(u'\n');
    };
    QHash<QString, QString> labels;
    QHash<int, QString> ids;
    for (const QJsonValue &value : root.value(QLatin1String("objects")).toArray()) {
        const QJsonObject node = value.toObject();
        ids.insert(node.value(QLatin1String("_gvid")).toInt(), node.value(QLatin1String("name")).toString());
        labels.insert(node.value(QLatin1String("name")).toString(), textOf(node));
    }
    for (const QJsonValue &value : root.value(QLatin1String("edges")).toArray()) {
        const QJsonObject edge = value.toObject();
        labels.insert(ids.value(edge.value(QLatin1String("tail")).toInt()) + QLatin1String("->")
                          + ids.value(edge.value(QLatin1String("head")).toInt()),
                      textOf(edge));
    }
    return labels;
}

// n states in a row, s0 -> s1 -> ... on 'a', each back to s0 on 'b'.
modAll chainOf(int n)
{
    QStringList names;
    QList<QList<qint16>> table;
    for (int i = 0; i < n; ++i) {
        names.append(QStringLiteral("c%1").arg(i));
        table.append({qint16(qMin(i + 2, n)), 1});
    }
    return makeAutomaton(names, {}, {"a", "b"}, table);
}

} // namespace

class TestDotText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void examplesMatchGoldenText_data();
    void examplesMatchGoldenText();
    void arrowsDrawWhatTheRunDoes_data();
    void arrowsDrawWhatTheRunDoes();
    void namesReadAsTypedAfterGraphviz_data();
    void namesReadAsTypedAfterGraphviz();
    void partNearTheStart_data();
    void partNearTheStart();
    void writtenLineByLine();
};

void TestDotText::examplesMatchGoldenText_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"contains-a-one", "divisible-by-3", "ends-in-a", "even-number-of-a"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestDotText::examplesMatchGoldenText()
{
    QFETCH(QString, name);
    const TwResult<modAll> loaded = TwFile::load(QStringLiteral(TARNWELL_EXAMPLES_DIR "/") + name + QStringLiteral(".tw"));
    QVERIFY2(loaded.ok(), qPrintable(loaded.failure().message()));
    QCOMPARE(DotText::dotText(loaded.value()), golden(name));
}

void TestDotText::arrowsDrawWhatTheRunDoes_data()
{
    QTest::addColumn<modAll>("model");
    QTest::addColumn<QString>("arrows");

    QTest::newRow("symbols to one target merge in alphabet order")
        << makeAutomaton({"p", "q"}, {}, {"c", "a", "b"}, {{2, 1, 2}, {2, 2, 2}})
        << "start -> s0 | s0 -> s1 [label=\"c, b\"] | s0 -> s0 [label=\"a\"] | s1 -> s1 [label=\"c, a, b\"]";
    QTest::newRow("empty cells are one dashed stay")
        << makeAutomaton({"p"}, {}, {"a", "b", "c"}, {{0, 1, 0}})
        << "start -> s0 | s0 -> s0 [label=\"a, c\", style=dashed] | s0 -> s0 [label=\"b\"]";
    QTest::newRow("repeated symbol: only the last column runs")
        << makeAutomaton({"p", "q"}, {}, {"a", "b", "a"}, {{2, 2, 1}, {1, 1, 1}})
        << "start -> s0 | s0 -> s1 [label=\"b\"] | s0 -> s0 [label=\"a\"] | s1 -> s0 [label=\"b, a\"]";
    QTest::newRow("symbols of more or less than one character never run")
        << makeAutomaton({"p", "q"}, {}, {"ab", "", "x"}, {{2, 2, 1}, {1, 1, 1}})
        << "start -> s0 | s0 -> s0 [label=\"x\"] | s1 -> s0 [label=\"x\"]";
    QTest::newRow("the start arrow points at the start state")
        << makeAutomaton({"p", "q"}, {}, {"a"}, {{2}, {1}}, 1) << "start -> s1 | s0 -> s1 [label=\"a\"] | s1 -> s0 [label=\"a\"]";
    QTest::newRow("no start state: no start arrow")
        << makeAutomaton({"p"}, {}, {"a"}, {{1}}, -1) << "s0 -> s0 [label=\"a\"]";
    QTest::newRow("no states: nothing") << makeAutomaton({}, {}, {"a"}, {}) << "";
}

void TestDotText::arrowsDrawWhatTheRunDoes()
{
    QFETCH(modAll, model);
    QFETCH(QString, arrows);
    QCOMPARE(::arrows(DotText::dotText(model)), arrows);
}

// Graphviz reads the DOT and reports the text it draws; that text must be the
// name as typed, whatever the name holds.
void TestDotText::namesReadAsTypedAfterGraphviz_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("nameShown");   // lines joined by '\n'

    const auto row = [](const char *title, const QString &name, const QString &symbol, const QString &shown) {
        QTest::newRow(title) << name << symbol << shown;
    };
    row("quotes and backslashes", "say \"hi\" a\\b\\\\c end\\", "\\", "say \"hi\" a\\b\\\\c end\\");
    row("DOT's own escapes", "\\n \\l \\r \\N \\G \\E \\T \\H \\L", "n", "\\n \\l \\r \\N \\G \\E \\T \\H \\L");
    row("HTML-like, character entities", "<b>bold</b> <<x>> &amp; &#65; &", "<", "<b>bold</b> <<x>> &amp; &#65; &");
    row("record and DOT syntax", "{a|b} ]; s0 -> s1 [label=x /* c */ #", "]", "{a|b} ]; s0 -> s1 [label=x /* c */ #");
    row("non-ASCII, blanks kept", QString::fromUtf8(" Zustand \xc3\xa4 \xe7\x8a\xb6\xe6\x80\x81 \xf0\x9f\x98\x80 "),
        QString::fromUtf8("\xc3\xa9"), QString::fromUtf8(" Zustand \xc3\xa4 \xe7\x8a\xb6\xe6\x80\x81 \xf0\x9f\x98\x80 "));
    row("LF breaks the line", "two\nlines", ",", "two\nlines");
    row("CR LF breaks the line once", "two\r\nlines", "x", "two\nlines");
    row("a tab shows as its picture", "a\tb", "\t", QString::fromUtf8("a\xe2\x90\x89" "b"));
}

void TestDotText::namesReadAsTypedAfterGraphviz()
{
    QFETCH(QString, name);
    QFETCH(QString, symbol);
    QFETCH(QString, nameShown);

    const modAll model = makeAutomaton({name, "other"}, {name}, {symbol, "z"}, {{2, 1}, {0, 0}});
    const QHash<QString, QString> labels = labelsDrawnBy(DotText::dotText(model));
    QCOMPARE(labels.value(QStringLiteral("s0")), nameShown);
    QCOMPARE(labels.value(QStringLiteral("s1")), QStringLiteral("other"));
    QCOMPARE(labels.value(QStringLiteral("s0->s1")), DotText::visibleText(symbol, DotText::LineBreaks::Show));
    QCOMPARE(labels.value(QStringLiteral("s1->s1")),
             DotText::visibleText(symbol, DotText::LineBreaks::Show) + QStringLiteral(", z"));
}



void TestDotText::partNearTheStart_data()
{
    QTest::addColumn<modAll>("model");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("states");
    QTest::addColumn<QString>("arrows");

    QTest::newRow("two steps along a chain")
        << chainOf(600) << 500 << "c0 c1 c2"
        << "start -> s0 | s0 -> s1 [label=\"a\"] | s0 -> s0 [label=\"b\"] | s1 -> s2 [label=\"a\"]"
           " | s1 -> s0 [label=\"b\"] | s2 -> s0 [label=\"b\"]";
    modAll later = chainOf(600);
    later.start_state = 598;
    QTest::newRow("from a later start") << later << 500 << "c0 c1 c598 c599"
                                        << "start -> s598 | s0 -> s1 [label=\"a\"] | s0 -> s0 [label=\"b\"]"
                                           " | s1 -> s0 [label=\"b\"] | s598 -> s599 [label=\"a\"] | s598 -> s0 [label=\"b\"]"
                                           " | s599 -> s599 [label=\"a\"] | s599 -> s0 [label=\"b\"]";
    QTest::newRow("a limit keeps the nearest") << chainOf(600) << 2 << "c0 c1"
                                               << "start -> s0 | s0 -> s1 [label=\"a\"] | s0 -> s0 [label=\"b\"]"
                                                  " | s1 -> s0 [label=\"b\"]";
}

void TestDotText::partNearTheStart()
{
    QFETCH(modAll, model);
    QFETCH(int, limit);
    QFETCH(QString, states);
    QFETCH(QString, arrows);

    const StateGraph part = stateGraphNearStart(model, 2, limit);
    QStringList names;
    for (const StateGraph::Node &node : part.nodes)
        names.append(node.name);
    QCOMPARE(names.join(u' '), states);
    QCOMPARE(::arrows(DotText::dotText(part)), arrows);
    QCOMPARE(part.stateCount, 600);
    QVERIFY(part.isPart());
}

// The whole automaton's text written a line at a time is the text of its
// whole graph, and stops at the first line its reader refuses.
void TestDotText::writtenLineByLine()
{
    for (const modAll &model : {randomAutomaton(200, 7), mergeable(), makeAutomaton({}, {}, {"a"}, {})}) {
        QStringList lines;
        QVERIFY(DotText::writeDotText(model, [&lines](const QString &line) {
            lines.append(line);
            return true;
        }));
        QCOMPARE(lines.join(QString()), DotText::dotText(stateGraph(model)));
        for (const qsizetype refused : {qsizetype(0), qsizetype(1), lines.size() / 2, lines.size() - 1}) {
            qsizetype calls = 0;
            QVERIFY(!DotText::writeDotText(model, [&calls, refused](const QString &) { return calls++ < refused; }));
            QCOMPARE(calls, refused + 1);
        }
    }
}

QTEST_GUILESS_MAIN(TestDotText)
#include "test_dot_text.moc"
