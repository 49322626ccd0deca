#include "windows/tools/string_table.h"

#include "document/escaped_line.h"
#include "model/mod_all.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace {

const QString emptyString = QStringLiteral("(empty)");

QString verdictOrEmpty(const std::optional<RunVerdict> &verdict)
{
    return verdict ? verdictText(*verdict) : QString();
}

// An ERROR says why in its own cell: "ERROR: Invalid alphabet '2'".
QString resultText(const std::optional<StringResult> &result)
{
    if (!result)
        return QString();
    if (result->verdict == RunVerdict::Error)
        return verdictText(result->verdict) + QStringLiteral(": ") + result->status;
    return verdictText(result->verdict);
}

} // namespace

StringTable::StringTable(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int StringTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int StringTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant StringTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    static const QStringList titles{QStringLiteral("String"), QStringLiteral("Expected"), QStringLiteral("Result"),
                                    QStringLiteral("Ends In"), QStringLiteral("Steps")};
    return section >= 0 && section < titles.size() ? titles[section] : QVariant();
}

Qt::ItemFlags StringTable::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == StringColumn || index.column() == ExpectedColumn)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant StringTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row &row = m_rows[index.row()];
    const int column = index.column();
    if (column == StringColumn && row.bytes.isEmpty()) {
        // The empty string is a string like any other: shown, so it can be seen
        // and chosen, in grey, so it is not read as text.
        if (role == Qt::DisplayRole)
            return emptyString;
        if (role == Qt::ForegroundRole)
            return QBrush(Qt::gray);
    }
    if (column == ResultColumn && role == Qt::BackgroundRole)
        return resultColour(row);
    if (column == StepsColumn && role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (column) {
    case StringColumn:
        return row.shown;
    case ExpectedColumn:
        return verdictOrEmpty(row.expected);
    case ResultColumn:
        return resultText(row.result);
    case EndsInColumn:
        if (row.result && row.result->state >= 0 && row.result->state < m_stateNames.size())
            return m_stateNames[row.result->state];
        return QString();
    case StepsColumn:
        return row.result ? QVariant(qlonglong(row.result->steps)) : QVariant(QString());
    default:
        return {};
    }
}

// Green as expected, red not as expected; no expectation, no colour.
QVariant StringTable::resultColour(const Row &row) const
{
    if (!row.result || !row.expected)
        return {};
    return QBrush(row.result->verdict == *row.expected ? QColor(0xc6, 0xef, 0xce) : QColor(0xff, 0xc7, 0xce));
}

bool StringTable::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.row() >= m_rows.size())
        return false;
    Row &row = m_rows[index.row()];
    const QString text = value.toString();
    if (index.column() == StringColumn) {
        EscapedLine::Unescaped unescaped = EscapedLine::unescape(text.toUtf8());
        if (!unescaped.ok()) {
            Q_EMIT refused(QStringLiteral("The backslash at column %1 begins no escape: a backslash itself is "
                                          "written \\\\, a tab \\t.")
                               .arg(QString::fromUtf8(text.toUtf8().first(unescaped.badEscapeAt)).size() + 1));
            return false;
        }
        if (unescaped.bytes == row.bytes)
            return true;
        const std::optional<RunVerdict> expected = row.expected;
        row = makeRow({std::move(unescaped.bytes), expected});
    } else if (index.column() == ExpectedColumn) {
        const std::optional<RunVerdict> verdict = StringList::verdictNamed(text.trimmed());
        if (!verdict && !text.trimmed().isEmpty()) {
            Q_EMIT refused(QStringLiteral("Expected is ACCEPTED, REJECTED, ERROR or nothing."));
            return false;
        }
        if (verdict == row.expected)
            return true;
        row.expected = verdict;
        // A new expectation is no reason to run again: the result stands.
        m_modified = true;
        Q_EMIT dataChanged(index, this->index(index.row(), ResultColumn));
        Q_EMIT summaryChanged();
        return true;
    } else {
        return false;
    }
    Q_EMIT dataChanged(this->index(index.row(), 0), this->index(index.row(), ColumnCount - 1));
    listChanged();
    return true;
}

bool StringTable::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > m_rows.size())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    m_rows.remove(row, count);
    endRemoveRows();
    m_modified = true;
    Q_EMIT summaryChanged();
    return true;
}

StringTable::Row StringTable::makeRow(const ListedString &string)
{
    Row row;
    row.bytes = string.bytes;
    QByteArray escaped;
    row.valid = EscapedLine::append(escaped, string.bytes);
    row.shown = QString::fromUtf8(escaped);
    row.expected = string.expected;
    return row;
}

void StringTable::append(const QList<ListedString> &strings)
{
    if (strings.isEmpty())
        return;
    const int first = int(m_rows.size());
    beginInsertRows({}, first, first + int(strings.size()) - 1);
    m_rows.reserve(m_rows.size() + strings.size());
    for (const ListedString &string : strings)
        m_rows.append(makeRow(string));
    endInsertRows();
    listChanged();
}

void StringTable::replace(const QList<ListedString> &strings)
{
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(strings.size());
    for (const ListedString &string : strings)
        m_rows.append(makeRow(string));
    m_results = Results::NotRun;
    endResetModel();
    m_modified = false;
    Q_EMIT summaryChanged();
}

// A string added or changed has no result yet, so the summary no longer
// covers the list.
void StringTable::listChanged()
{
    m_modified = true;
    if (m_results == Results::Current)
        m_results = Results::OutOfDate;
    Q_EMIT summaryChanged();
}

void StringTable::setUnmodified()
{
    m_modified = false;
    Q_EMIT summaryChanged();
}

ListedString StringTable::string(int row) const
{
    return {m_rows[row].bytes, m_rows[row].expected};
}

QList<ListedString> StringTable::strings() const
{
    QList<ListedString> strings;
    strings.reserve(m_rows.size());
    for (const Row &row : m_rows)
        strings.append({row.bytes, row.expected});
    return strings;
}

std::optional<StringResult> StringTable::result(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows[row].result : std::nullopt;
}

void StringTable::runAll(const modAll &model)
{
    const ByteEngine engine(model);
    m_stateNames.clear();
    for (const StateEntry &state : model.states)
        m_stateNames.append(state.name);
    for (Row &row : m_rows)
        row.result = runWholeString(engine, row.bytes, row.valid);
    m_results = Results::Current;
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, ExpectedColumn), index(int(m_rows.size()) - 1, ColumnCount - 1));
    Q_EMIT summaryChanged();
}

void StringTable::clearResults()
{
    if (m_results == Results::NotRun)
        return;
    for (Row &row : m_rows)
        row.result.reset();
    m_results = Results::OutOfDate;
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, ExpectedColumn), index(int(m_rows.size()) - 1, ColumnCount - 1));
    Q_EMIT summaryChanged();
}

QString StringTable::summary() const
{
    if (m_rows.isEmpty())
        return QStringLiteral("No strings: add, paste (Ctrl+V) or open a list");
    switch (m_results) {
    case Results::NotRun:
        return QStringLiteral("Not run yet: press Run All (Ctrl+Return)");
    case Results::OutOfDate:
        return QStringLiteral("Results out of date: press Run All (Ctrl+Return)");
    case Results::Current:
        break;
    }
    qsizetype withExpectation = 0, differing = 0;
    for (const Row &row : m_rows) {
        if (!row.expected)
            continue;
        ++withExpectation;
        if (row.result && row.result->verdict != *row.expected)
            ++differing;
    }
    return StringList::summaryText(m_rows.size(), withExpectation, differing);
}
