#include "document/tw_writer.h"

#include "document/tw_file_bytes.h"
#include "document/tw_syntax.h"
#include "model/mod_all.h"

#include <QBuffer>
#include <QIODevice>

namespace {

// Collects lines and hands them to the device in large pieces, checking each.
class LineWriter
{
public:
    explicit LineWriter(QIODevice &device) : m_device(device) { m_buffer.reserve(ioBlockSize + 64); }

    bool failed() const { return m_failed; }
    const QString &reason() const { return m_reason; }

    void keyword(const char *word) { line(QByteArrayView(word)); }
    void flag(bool value) { keyword(value ? TwSyntax::trueFlag : TwSyntax::falseFlag); }

    void number(qint16 value)
    {
        char digits[8];
        int n = 0;
        unsigned magnitude = value < 0 ? unsigned(-int(value)) : unsigned(value);
        do {
            digits[n++] = char('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude > 0);
        m_buffer += value < 0 ? '-' : ' ';
        while (n > 0)
            m_buffer += digits[--n];
        m_buffer += ' ';
        endLine();
    }

    void text(const QString &value)
    {
        if (TwSyntax::needsQuotes(value))
            quoted(value);
        else
            line(value.toUtf8());
    }

    void quoted(QString value)
    {
        value.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        m_buffer += '"';
        m_buffer += value.toUtf8();
        m_buffer += '"';
        endLine();
    }

    bool finish()
    {
        flush();
        return !m_failed;
    }

private:
    void line(QByteArrayView bytes)
    {
        m_buffer += bytes;
        endLine();
    }

    void endLine()
    {
        m_buffer += "\r\n";
        if (m_buffer.size() >= ioBlockSize)
            flush();
    }

    void flush()
    {
        if (m_failed || m_buffer.isEmpty()) {
            m_buffer.clear();
            return;
        }
        // A write the system cut short (a full disk, a size limit) is tried
        // again for the rest, so that the write that fails carries its reason.
        for (qsizetype done = 0; done < m_buffer.size();) {
            const qint64 written = m_device.write(m_buffer.constData() + done, m_buffer.size() - done);
            if (written <= 0) {
                m_failed = true;
                m_reason = m_device.errorString();
                if (m_reason.isEmpty() || m_reason == QLatin1StringView("Unknown error"))
                    m_reason = QStringLiteral("only part of the file could be written");
                break;
            }
            done += qsizetype(written);
        }
        m_buffer.clear();
    }

    QIODevice &m_device;
    QByteArray m_buffer;
    bool m_failed = false;
    QString m_reason;
};

} // namespace

TwResult<> writeAutomaton(const modAll &model, QIODevice &device)
{
    LineWriter out(device);

    out.keyword(TwSyntax::statesKeyword);
    out.number(model.state_count);
    for (int i = 0; i < model.state_count && !out.failed(); ++i) {
        const StateEntry state = model.states.value(i);
        out.text(state.name);
        out.flag(state.is_final);
    }

    out.keyword(TwSyntax::startKeyword);
    out.number(model.start_state);

    out.keyword(TwSyntax::alphabetKeyword);
    out.number(model.symbol_count);
    for (int j = 0; j < model.symbol_count && !out.failed(); ++j)
        out.text(model.symbols.value(j));

    out.keyword(TwSyntax::tableKeyword);
    for (int i = 0; i < model.state_count && !out.failed(); ++i)
        for (int j = 0; j < model.symbol_count; ++j)
            out.number(model.entry(i, j));

    if (!model.comment.isEmpty())
        for (const QString &piece : model.comment.split(QStringLiteral("\r\n")))
            out.quoted(piece);

    if (!out.finish())
        return TwFailure{out.reason()};
    return {};
}

QByteArray automatonBytes(const modAll &model)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    (void)writeAutomaton(model, buffer);   // memory does not refuse
    return bytes;
}

bool writtenAlike(const modAll &a, const modAll &b)
{
    // Lists still shared answer at once; only a real change is written out.
    return a.sameAutomaton(b) || automatonBytes(a) == automatonBytes(b);
}
