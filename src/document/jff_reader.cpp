#include "document/jff_reader.h"

#include "model/characters.h"
#include "model/limits.h"

#include <QHash>
#include <QXmlStreamReader>

#include <limits>
#include <utility>

namespace {

// JFLAP's names of the machines it saves that are not finite automata.
QString machineName(const QString &type)
{
    static const QHash<QString, QString> names{
        {QStringLiteral("pda"), QStringLiteral("a pushdown automaton")},
        {QStringLiteral("turing"), QStringLiteral("a Turing machine")},
        {QStringLiteral("grammar"), QStringLiteral("a grammar")},
        {QStringLiteral("re"), QStringLiteral("a regular expression")},
        {QStringLiteral("regex"), QStringLiteral("a regular expression")},
        {QStringLiteral("mealy"), QStringLiteral("a Mealy machine")},
        {QStringLiteral("moore"), QStringLiteral("a Moore machine")},
        {QStringLiteral("lsystem"), QStringLiteral("an L-system")},
    };
    return names.value(type, QStringLiteral("a machine of type \"") + type + u'"');
}

// How much of the file's start is searched for its XML declaration.
constexpr qsizetype declarationSpan = 4096;

// The encoding the XML declaration names, in lower case; empty without one.
QByteArray declaredEncoding(QByteArrayView declaration)
{
    const qsizetype name = declaration.indexOf("encoding");
    if (name < 0)
        return {};
    qsizetype at = name + 8;
    while (at < declaration.size() && (declaration[at] == ' ' || declaration[at] == '='))
        ++at;
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\''))
        return {};
    const qsizetype end = declaration.indexOf(declaration[at], at + 1);
    return end < 0 ? QByteArray() : declaration.sliced(at + 1, end - at - 1).toByteArray().toLower();
}

// JFLAP writes UTF-8. Anything else is refused before it is parsed: the XML
// reader would find a mistake in the encoding before or after others
// depending on how much it was given at once.
std::optional<TwFailure> encodingFailure(QByteArrayView start, bool validUtf8)
{
    start = start.first(qMin(start.size(), declarationSpan));
    if (start.startsWith("<?xml") && !start.contains("?>"))
        return TwFailure{QStringLiteral("its XML declaration does not end within its first %1 bytes").arg(declarationSpan)};
    const QByteArray encoding = start.startsWith("<?xml") ? declaredEncoding(start.first(start.indexOf("?>"))) : QByteArray();
    if (!encoding.isEmpty() && encoding != "utf-8" && encoding != "utf8")
        return TwFailure{QStringLiteral("its XML is in the encoding ") + QString::fromLatin1(encoding)
                         + QStringLiteral("; Tarnwell reads JFLAP files in UTF-8")};
    if (!validUtf8)
        return TwFailure{QStringLiteral("the file is XML, but not valid UTF-8")};
    return std::nullopt;
}

// Walks the XML as it arrives, piece by piece, and keeps what a finite
// automaton needs; any other element is passed over with what it holds.
class JffReader
{
public:
    explicit JffReader(const QByteArray &bytes)
        : m_encoding(encodingFailure(bytes, bytes.isValidUtf8()))
    {
        m_xml.addData(bytes);
    }

    TwResult<JffMachine> read()
    {
        if (m_encoding)
            return *m_encoding;
        while (!m_failed) {
            const QXmlStreamReader::TokenType token = next();
            if (token == QXmlStreamReader::EndDocument || (token == QXmlStreamReader::Invalid && finished()))
                break;
            switch (token) {
            case QXmlStreamReader::Invalid:
                return fail(m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError
                                ? QStringLiteral("the file ends before its XML is complete")
                                : QStringLiteral("the file is not well-formed XML: ") + m_xml.errorString());
            case QXmlStreamReader::DTD:
                return fail(QStringLiteral("the file declares a document type, which Tarnwell does not read"));
            case QXmlStreamReader::StartElement:
                start();
                break;
            case QXmlStreamReader::Characters:
                if (m_collecting)
                    m_text += m_xml.text();
                break;
            case QXmlStreamReader::EndElement:
                end();
                break;
            default:
                break;
            }
        }
        if (m_failed)
            return m_failure;
        if (m_type.isNull())
            return TwFailure{QStringLiteral("the JFLAP file does not say what it holds: it has no <type>")};
        return resolve();
    }

private:
    struct PendingTransition
    {
        QString from, to, read;
        int line = 0;
    };

    QXmlStreamReader::TokenType next() { return m_xml.readNext(); }

    // Handed its data with addData, the XML reader cannot know that it was
    // all: once the root element has closed, running out of data is the end
    // of the document.
    bool finished() const
    {
        return m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && m_rootClosed;
    }

    int line() const { return int(qMin<qint64>(m_xml.lineNumber(), std::numeric_limits<int>::max())); }

    TwFailure fail(const QString &what)
    {
        if (!m_failed)
            m_failure = TwFailure{what, line(), {}};
        m_failed = true;
        return m_failure;
    }

    QString parent() const { return m_path.isEmpty() ? QString() : m_path.last(); }

    void collect()
    {
        m_collecting = true;
        m_text.clear();
    }

    void start()
    {
        const QString name = m_xml.name().toString();
        const QString within = parent();
        m_path.append(name);
        if (m_skipDepth > 0) {
            ++m_skipDepth;
            return;
        }
        const bool machinePart = within == u"structure" || within == u"automaton";
        if (m_path.size() == 1) {
            if (name != u"structure")
                fail(QStringLiteral("it is XML, but not a JFLAP file: it begins with <") + name
                     + QStringLiteral(">, not <structure>"));
        } else if (within == u"structure" && (name == u"type" || name == u"automaton")) {
            if (name == u"type")
                collect();
        } else if (machinePart && name == u"state") {
            startState();
        } else if (machinePart && name == u"transition") {
            m_transition = {{}, {}, {}, line()};
        } else if (within == u"state" && (name == u"x" || name == u"y")) {
            collect();
        } else if (within == u"state" && (name == u"initial" || name == u"final")) {
            if (name == u"final") {
                m_machine.states.last().final = true;
            } else if (m_machine.initial >= 0 && m_machine.initial != m_machine.states.size() - 1) {
                fail(QStringLiteral("a second initial state, \"") + m_machine.states.last().name
                     + QStringLiteral("\"; a finite automaton has one"));
            } else {
                m_machine.initial = int(m_machine.states.size()) - 1;
            }
        } else if (within == u"transition" && (name == u"from" || name == u"to" || name == u"read")) {
            collect();
        } else {
            m_skipDepth = 1;
        }
    }

    void startState()
    {
        if (m_machine.states.size() >= Limits::mostEntries) {
            fail(QStringLiteral("the file has more than %1 states, the most an automaton can have")
                     .arg(Limits::mostEntries));
            return;
        }
        const QXmlStreamAttributes attributes = m_xml.attributes();
        if (!attributes.hasAttribute(QStringLiteral("id"))) {
            fail(QStringLiteral("a state has no id"));
            return;
        }
        const QString id = attributes.value(QStringLiteral("id")).toString();
        if (m_stateOf.contains(id)) {
            fail(QStringLiteral("two states have the id \"") + id + u'"');
            return;
        }
        m_stateOf.insert(id, int(m_machine.states.size()));
        JffMachine::State state;
        state.name = attributes.hasAttribute(QStringLiteral("name")) ? attributes.value(QStringLiteral("name")).toString()
                                                                    : QStringLiteral("q") + id;
        m_machine.states.append(state);
        m_x.reset();
        m_y.reset();
    }

    void end()
    {
        const QString name = m_path.takeLast();
        m_rootClosed = m_path.isEmpty();
        if (m_skipDepth > 0) {
            --m_skipDepth;
            return;
        }
        const QString within = parent();
        const QString text = std::exchange(m_text, QString());
        m_collecting = false;
        if (name == u"type" && within == u"structure") {
            m_type = text.trimmed();
            if (m_type != u"fa")
                fail(QStringLiteral("it holds ") + machineName(m_type)
                     + QStringLiteral(", not a finite automaton (JFLAP type \"fa\")"));
        } else if (within == u"state" && (name == u"x" || name == u"y")) {
            bool ok = false;
            const double value = text.trimmed().toDouble(&ok);
            (name == u"x" ? m_x : m_y) = ok ? std::optional<double>(value) : std::nullopt;
        } else if (name == u"state") {
            if (m_x && m_y)
                m_machine.states.last().place = QPointF(*m_x, *m_y);
        } else if (within == u"transition") {
            (name == u"from" ? m_transition.from : name == u"to" ? m_transition.to : m_transition.read) = text;
        } else if (name == u"transition") {
            m_transitions.append(m_transition);
        }
    }

    // The transitions' ends, once every state is known.
    TwResult<JffMachine> resolve()
    {
        for (const PendingTransition &pending : std::as_const(m_transitions)) {
            const auto failure = [&](const QString &what) { return TwFailure{what, pending.line, {}}; };
            const int from = m_stateOf.value(pending.from.trimmed(), -1);
            const int to = m_stateOf.value(pending.to.trimmed(), -1);
            if (from < 0)
                return failure(QStringLiteral("a transition goes from the state with id \"") + pending.from
                               + QStringLiteral("\", which the file does not have"));
            if (to < 0)
                return failure(QStringLiteral("a transition goes to the state with id \"") + pending.to
                               + QStringLiteral("\", which the file does not have"));
            if (!pending.read.isEmpty() && !Characters::isOne(pending.read))
                return failure(QStringLiteral("a transition reads \"") + pending.read
                               + QStringLiteral("\", more than one character; Tarnwell reads one at a time"));
            m_machine.transitions.append({from, to, pending.read});
        }
        return std::move(m_machine);
    }

    std::optional<TwFailure> m_encoding;  // why the file is not read at all
    QXmlStreamReader m_xml;
    QStringList m_path;          // the open elements, outermost first
    int m_skipDepth = 0;         // inside an element passed over: how deep
    bool m_collecting = false;   // the text of the current element is kept
    QString m_text;
    QString m_type;              // null until <type> closes
    JffMachine m_machine;
    QHash<QString, int> m_stateOf; // id -> position
    std::optional<double> m_x, m_y;
    PendingTransition m_transition;
    QList<PendingTransition> m_transitions;
    bool m_rootClosed = false;
    bool m_failed = false;
    TwFailure m_failure;
};

} // namespace

// The XML reader is given the file whole: handed it in pieces, it counts some
// line ends twice where a piece ends, so a failure's line would depend on the
// pieces. JFLAP files are small, and each piece is released as it is copied.
TwResult<JffMachine> readJffMachine(TwFileBytes &&bytes)
{
    qsizetype size = 0;
    for (const QByteArray &piece : std::as_const(bytes.pieces))
        size += piece.size();
    QByteArray whole;
    whole.reserve(size);
    for (QByteArray &piece : bytes.pieces)
        whole += std::exchange(piece, QByteArray());
    return JffReader(whole).read();
}

TwResult<JffMachine> readJffMachine(QByteArrayView bytes)
{
    return JffReader(bytes.toByteArray()).read();
}
