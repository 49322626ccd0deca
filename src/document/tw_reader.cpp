#include "document/tw_reader.h"

#include "document/text_encoding.h"
#include "document/tw_syntax.h"
#include "model/leading_number.h"

#include <QFileDevice>
#include <QIODevice>

using TwSyntax::isBlank;
using TwSyntax::isLineEnd;

QString TwReadError::message() const
{
    if (line <= 0)
        return what;
    return QStringLiteral("Line %1: %2").arg(line).arg(what);
}

namespace {

// Cuts the decoded text into fields, counting lines as it goes.
class FieldStream
{
public:
    explicit FieldStream(QStringView text) : m_text(text) {}

    bool exhausted() const { return m_pos >= m_text.size(); }
    // Where a field would start after the end of the file: the next line when
    // the last one has no line end.
    int lineAfterEnd() const
    {
        const bool open = !m_text.isEmpty() && !isLineEnd(m_text.back()) && m_text.back() != u',';
        return m_line + (open ? 1 : 0);
    }
    int fieldLine() const { return m_fieldLine; }
    // Characters not read yet: every field still to come takes at least one,
    // so this bounds how many can follow.
    qsizetype remaining() const { return m_text.size() - m_pos; }

    // The next field, valid until the following call; nothing when exhausted.
    std::optional<QStringView> next()
    {
        if (exhausted())
            return std::nullopt;
        while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
            ++m_pos;
        m_fieldLine = m_line;
        if (m_pos < m_text.size() && m_text[m_pos] == u'"')
            return quoted();
        return bare();
    }

private:
    QStringView bare()
    {
        const qsizetype start = m_pos;
        skipToDelimiter();
        qsizetype end = m_pos;
        while (end > start && isBlank(m_text[end - 1]))
            --end;
        consumeDelimiter();
        return m_text.sliced(start, end - start);
    }

    QStringView quoted()
    {
        const qsizetype start = ++m_pos;
        bool doubled = false;
        qsizetype end = m_text.size();   // a field never closed runs to the end of the file
        while (m_pos < m_text.size()) {
            const qsizetype quote = m_text.indexOf(u'"', m_pos);
            if (quote < 0) {
                m_pos = m_text.size();
                break;
            }
            if (quote + 1 < m_text.size() && m_text[quote + 1] == u'"') {
                doubled = true;
                m_pos = quote + 2;
                continue;
            }
            end = quote;
            m_pos = quote + 1;
            break;
        }
        const QStringView raw = m_text.sliced(start, end - start);
        countLines(raw);
        skipToDelimiter();
        consumeDelimiter();
        if (!doubled)
            return raw;
        m_unquoted = raw.toString();
        m_unquoted.replace(QStringLiteral("\"\""), QStringLiteral("\""));
        return m_unquoted;
    }

    void skipToDelimiter()
    {
        while (m_pos < m_text.size() && m_text[m_pos] != u',' && !isLineEnd(m_text[m_pos]))
            ++m_pos;
    }

    // CR LF, LF and CR alone each end one line.
    void consumeDelimiter()
    {
        if (m_pos >= m_text.size())
            return;
        const QChar c = m_text[m_pos++];
        if (c == u'\r' && m_pos < m_text.size() && m_text[m_pos] == u'\n')
            ++m_pos;
        if (isLineEnd(c))
            ++m_line;
    }

    void countLines(QStringView raw)
    {
        for (qsizetype i = 0; i < raw.size(); ++i)
            if (raw[i] == u'\n' || (raw[i] == u'\r' && (i + 1 == raw.size() || raw[i + 1] != u'\n')))
                ++m_line;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_fieldLine = 1;
    QString m_unquoted;
};

auto described(const char *what)
{
    return [what] { return QString::fromLatin1(what); };
}

// Reads the fields in file order into a fresh automaton; the first failure
// stops it. What each field holds is described only when the read fails there.
class Reader
{
public:
    explicit Reader(QStringView text) : m_fields(text) {}

    TwReadResult read()
    {
        modAll automaton;
        if (!readAll(automaton))
            return {std::nullopt, m_error};
        return {std::move(automaton), {}};
    }

private:
    bool readAll(modAll &a)
    {
        if (!skip("the \"Q\" keyword") || !count(a.state_count, "the number of states"))
            return false;
        a.states.reserve(capacityFor(a.state_count));
        for (int i = 1; i <= a.state_count; ++i) {
            StateEntry state;
            QString flag;
            if (!text(state.name, [i] { return QStringLiteral("the name of state %1").arg(i); })
                || !text(flag, [i] { return QStringLiteral("the final flag of state %1").arg(i); }))
                return false;
            state.is_final = flag == QLatin1StringView(TwSyntax::trueFlag);
            a.states.append(std::move(state));
        }
        a.states.append(StateEntry());

        if (!skip("the \"Start\" keyword") || !number(a.start_state, described("the start state")))
            return false;

        if (!skip("the \"E\" keyword") || !count(a.symbol_count, "the number of symbols"))
            return false;
        a.symbols.reserve(capacityFor(a.symbol_count));
        for (int j = 1; j <= a.symbol_count; ++j) {
            QString symbol;
            if (!text(symbol, [j] { return QStringLiteral("symbol %1").arg(j); }))
                return false;
            a.symbols.append(std::move(symbol));
        }
        a.symbols.append(QString());

        if (!skip("the \"Q/E\" keyword"))
            return false;
        a.transitions.reserve(capacityFor(a.state_count));
        for (int i = 1; i <= a.state_count; ++i) {
            QList<qint16> row;
            row.reserve(capacityFor(a.symbol_count));
            for (int j = 1; j <= a.symbol_count; ++j) {
                qint16 target = 0;
                if (!number(target, [i, j] {
                        return QStringLiteral("the transition of state %1 on symbol %2").arg(i).arg(j);
                    }))
                    return false;
                row.append(target);
            }
            row.append(0);
            a.transitions.append(std::move(row));
        }
        a.transitions.append(QList<qint16>());

        readComment(a.comment);
        return true;
    }

    // Room for `count` entries and the spare, but no more than the rest of
    // the file could fill.
    qsizetype capacityFor(qint16 count) const
    {
        return qMin<qsizetype>(count, m_fields.remaining()) + 1;
    }

    template <typename Describe>
    std::optional<QStringView> field(Describe &&what)
    {
        std::optional<QStringView> value = m_fields.next();
        if (!value)
            fail(QStringLiteral("the file ends before ") + what(), m_fields.lineAfterEnd());
        return value;
    }

    bool skip(const char *what) { return field(described(what)).has_value(); }

    template <typename Describe>
    bool text(QString &out, Describe &&what)
    {
        const std::optional<QStringView> value = field(what);
        if (value)
            out = value->toString();
        return value.has_value();
    }

    // A number field: the decimal number at its start, rounded half to even.
    template <typename Describe>
    bool number(qint16 &out, Describe &&what)
    {
        const std::optional<QStringView> value = field(what);
        if (!value)
            return false;
        const qint64 n = leadingNumber(*value);
        if (n < -32768 || n > 32767)
            return fail(what() + QStringLiteral(" is outside -32768 to 32767"), m_fields.fieldLine());
        out = qint16(n);
        return true;
    }

    bool count(qint16 &out, const char *what)
    {
        if (!number(out, described(what)))
            return false;
        if (out < 0)
            return fail(QString::fromLatin1(what) + QStringLiteral(" is negative"), m_fields.fieldLine());
        return true;
    }

    // Every field after the table is a comment line.
    void readComment(QString &comment)
    {
        bool first = true;
        while (const std::optional<QStringView> piece = m_fields.next()) {
            if (!first)
                comment += QStringLiteral("\r\n");
            comment += *piece;
            first = false;
        }
    }

    bool fail(const QString &what, int line)
    {
        m_error = {what, line};
        return false;
    }

    FieldStream m_fields;
    TwReadError m_error;
};

} // namespace

TwReadResult readAutomaton(QByteArrayView bytes)
{
    const QString text = TextEncoding::decodeFileText(bytes);
    return Reader(text).read();
}

TwReadResult readAutomaton(QIODevice &device)
{
    const QByteArray bytes = device.readAll();
    const auto *file = qobject_cast<const QFileDevice *>(&device);
    if (!device.isReadable() || (file && file->error() != QFileDevice::NoError))
        return {std::nullopt, {QStringLiteral("cannot read the file: ") + device.errorString(), 0}};
    return readAutomaton(QByteArrayView(bytes));
}

void adoptAutomaton(modAll &model, modAll &&source)
{
    model.state_count = source.state_count;
    model.states = std::move(source.states);
    model.start_state = source.start_state;
    model.symbol_count = source.symbol_count;
    model.symbols = std::move(source.symbols);
    model.transitions = std::move(source.transitions);
    model.comment = std::move(source.comment);
}
