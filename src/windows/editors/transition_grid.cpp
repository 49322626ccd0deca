#include "windows/editors/transition_grid.h"

void TransitionGrid::reset(const QStringList &stateHeaders, const QStringList &symbolHeaders, TransitionCells cells)
{
    Q_ASSERT(cells.stateCount() == stateHeaders.size() && cells.symbolCount() == symbolHeaders.size());
    beginResetModel();
    m_stateHeaders = stateHeaders;
    m_symbolHeaders = symbolHeaders;
    m_cells = std::move(cells);
    endResetModel();
}

QString TransitionGrid::text(int row, int column) const
{
    if (row < 0 || row >= gridRows() || column < 0 || column >= gridColumns())
        return {};
    if (row == 0)
        return column == 0 ? QStringLiteral("Q/E") : m_symbolHeaders[column - 1];
    if (column == 0)
        return m_stateHeaders[row - 1];
    return m_cells.text(row - 1, column - 1);
}

void TransitionGrid::setText(int row, int column, const QString &text)
{
    if (row < 1 || row >= gridRows() || column < 1 || column >= gridColumns())
        return;
    m_cells.setText(row - 1, column - 1, text);
    const QModelIndex changed = index(row - 1, column - 1);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
}

int TransitionGrid::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_stateHeaders.size());
}

int TransitionGrid::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_symbolHeaders.size());
}

QVariant TransitionGrid::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return text(index.row() + 1, index.column() + 1);
}

QVariant TransitionGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return orientation == Qt::Horizontal ? text(0, section + 1) : text(section + 1, 0);
}

Qt::ItemFlags TransitionGrid::flags(const QModelIndex &index) const
{
    // Never editable: cells change only through the editor's own key handling.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
