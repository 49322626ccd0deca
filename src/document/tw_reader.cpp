#include "document/tw_reader.h"

#include "document/tw_field_stream.h"
#include "document/tw_syntax.h"
#include "model/limits.h"

#include <QFileDevice>
#include <QIODevice>
#include <QLocale>

#include <algorithm>
#include <vector>

TwFailure TwReadFailure::tooLarge(const TwReadOptions &options)
{
    return {QStringLiteral("the file is larger than %1, the most Tarnwell reads")
                .arg(QLocale::c().formattedDataSize(options.sizeLimit, 0))};
}

TwFailure TwReadFailure::cannotRead(const QString &reason)
{
    return {QStringLiteral("cannot read the file: ") + reason};
}

namespace {

auto described(const char *what)
{
    return [what] { return QString::fromLatin1(what); };
}

// Reads the fields in file order into a fresh automaton; the first failure
// stops it. What each field holds is described only when the read fails there.
class Reader
{
public:
    // Takes what a TwFieldStream reads: the caller's bytes, or a file's pieces.
    template <typename... Source>
    explicit Reader(Source &&...source) : m_fields(std::forward<Source>(source)...) {}

    TwResult<modAll> read()
    {
        modAll automaton;
        if (!readAll(automaton))
            return m_error;
        return automaton;
    }

private:
    bool readAll(modAll &a)
    {
        if (!skip("the \"Q\" keyword") || !count(a.state_count, "the number of states"))
            return false;
        a.states.reserve(capacityFor(a.state_count));
        for (int i = 1; i <= a.state_count; ++i) {
            StateEntry state;
            if (!field(state.name, [i] { return QStringLiteral("the name of state %1").arg(i); })
                || !field(m_scratch, [i] { return QStringLiteral("the final flag of state %1").arg(i); }))
                return false;
            state.is_final = m_scratch == QLatin1StringView(TwSyntax::trueFlag);
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
            if (!field(symbol, [j] { return QStringLiteral("symbol %1").arg(j); }))
                return false;
            a.symbols.append(std::move(symbol));
        }
        a.symbols.append(QString());

        if (!skip("the \"Q/E\" keyword"))
            return false;
        a.transitions.reserve(capacityFor(a.state_count));
        for (int i = 1; i <= a.state_count; ++i) {
            // A row gathers in a vector, a stretch at a time as the entries
            // come, and becomes the list once complete. Entries in the
            // writer's form are read many at once; any other on its own.
            m_row.clear();
            while (qsizetype(m_row.size()) < a.symbol_count) {
                const qsizetype done = qsizetype(m_row.size());
                const qsizetype wanted = qMin<qsizetype>(a.symbol_count - done, 256);
                m_row.resize(size_t(done + wanted));
                const qsizetype read = m_fields.nextPlainNumbers(m_row.data() + done, wanted);
                m_row.resize(size_t(done + read));
                if (read == wanted)
                    continue;
                const int j = int(done + read) + 1;
                qint16 target = 0;
                if (!number(target, [i, j] {
                        return QStringLiteral("the transition of state %1 on symbol %2").arg(i).arg(j);
                    }))
                    return false;
                m_row.push_back(target);
            }
            m_row.push_back(0);
            a.transitions.append(QList<qint16>(m_row.cbegin(), m_row.cend()));
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

    // The next field into `out`, which a field the caller keeps starts empty.
    template <typename Describe>
    bool field(QString &out, Describe &&what)
    {
        out.truncate(0);   // keeps the scratch's room for the next field
        return m_fields.next(out) || missing(what);
    }

    // A quoted field that never closed has taken the rest of the file, so a
    // field missing after it is reported where its quote opened.
    template <typename Describe>
    bool missing(Describe &&what)
    {
        if (m_fields.unclosedQuote())
            return fail(QStringLiteral("the quote opened here is never closed, so the file ends before ") + what(),
                        m_fields.fieldLine());
        return fail(QStringLiteral("the file ends before ") + what(), m_fields.lineAfterEnd());
    }

    bool skip(const char *what) { return field(m_scratch, described(what)); }

    // A number field: the decimal number at its start, rounded half to even.
    template <typename Describe>
    bool number(qint16 &out, Describe &&what)
    {
        qint64 n = 0;
        if (!m_fields.nextNumber(n))
            return missing(what);
        if (n < Limits::leastNumber || n > Limits::mostNumber)
            return fail(what() + QStringLiteral(" is outside %1 to %2").arg(Limits::leastNumber).arg(Limits::mostNumber),
                        m_fields.fieldLine());
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
        for (bool first = true; !m_fields.exhausted(); first = false) {
            if (!first)
                comment += QStringLiteral("\r\n");
            m_fields.next(comment);
        }
    }

    bool fail(const QString &what, int line)
    {
        m_error = {what, line, {}};
        return false;
    }

    TwFieldStream m_fields;
    TwFailure m_error;
    QString m_scratch;              // keywords and flags, read and dropped
    std::vector<qint16> m_row;      // the transition row being read
};

// How much of a file's start is looked at to tell what a refused file is.
constexpr qsizetype lookedAtStart = 64 * 1024;

// A refused file whose first line is not "Q" is most likely another kind of
// file altogether: says so after the reason, so the line number that reason
// gives does not send the user looking for a fault in it.
TwResult<modAll> withWhatItLooksLike(TwResult<modAll> &&result, QByteArrayView start)
{
    if (result.ok())
        return std::move(result);
    if (start.startsWith("\xEF\xBB\xBF"))
        start = start.sliced(3);
    const auto end = std::find_if(start.begin(), start.end(), [](char c) { return TwSyntax::isLineEnd(c); });
    const QByteArrayView firstLine = start.first(end - start.begin()).trimmed();
    const QByteArrayView text = start.trimmed();
    if (text.isEmpty() || firstLine == QByteArrayView(TwSyntax::statesKeyword))
        return std::move(result);
    const bool jflap = text.startsWith('<') && (text.contains("<structure>") || text.contains("<structure "));
    TwFailure failure = result.failure();
    failure.what += jflap ? QStringLiteral(". The file looks like a JFLAP file, not a Tarnwell automaton.")
                          : QStringLiteral(". The file does not look like a Tarnwell automaton: its first line is not \"Q\".");
    return failure;
}

} // namespace

TwResult<modAll> readAutomaton(QByteArrayView bytes)
{
    return withWhatItLooksLike(Reader(bytes, bytes.isValidUtf8()).read(), bytes.first(qMin(bytes.size(), lookedAtStart)));
}

TwResult<modAll> readAutomaton(TwFileBytes &&bytes)
{
    const QByteArray start = firstBytes(bytes, lookedAtStart);
    return withWhatItLooksLike(Reader(std::move(bytes)).read(), start);
}

TwResult<modAll> readAutomaton(QIODevice &device, const TwReadOptions &options)
{
    const auto *file = qobject_cast<const QFileDevice *>(&device);
    const auto failed = [&] { return !device.isReadable() || (file && file->error() != QFileDevice::NoError); };
    if (failed())
        return TwReadFailure::cannotRead(device.errorString());
    if (!device.isSequential() && device.size() - device.pos() > options.sizeLimit)
        return TwReadFailure::tooLarge(options);
    TwFileBytes bytes;
    const TwPiecesEnd end = readPieces([&](char *into, qint64 max) { return device.read(into, max); }, options, gatherInto(bytes));
    if (end == TwPiecesEnd::ReadFailed || failed())
        return TwReadFailure::cannotRead(device.errorString());
    if (end == TwPiecesEnd::TooLarge)
        return TwReadFailure::tooLarge(options);
    return readAutomaton(std::move(bytes));
}
