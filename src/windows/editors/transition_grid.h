#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// The transition table editor's grid contents, in the grid's own coordinates:
// row 0 and column 0 are the fixed headers ("Q/E" in the corner, the symbols
// across, the marked state names down), and cell (r, c) for r, c >= 1 holds the
// text typed for state r - 1 on symbol c - 1.
//
// The view shows row 0 and column 0 as its own header row and column, which do
// not scroll; so the model's items are the data cells only, item (r - 1, c - 1)
// being grid cell (r, c). Cells are plain texts, one list for the whole grid,
// so a table of 200,000 cells costs no more than its strings.
class TransitionGrid final : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    // New contents: one header per state, one per symbol, and the data cells
    // row by row (stateHeaders.size() * symbolHeaders.size() of them).
    void reset(const QStringList &stateHeaders, const QStringList &symbolHeaders, QList<QString> cells);

    // Grid size, headers included.
    int gridRows() const { return int(m_stateHeaders.size()) + 1; }
    int gridColumns() const { return int(m_symbolHeaders.size()) + 1; }

    // Any grid cell's text; empty outside the grid.
    QString text(int row, int column) const;
    // Data cells only (row, column >= 1).
    void setText(int row, int column, const QString &text);

    const QStringList &stateHeaders() const { return m_stateHeaders; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    qsizetype cellIndex(int row, int column) const;

    QStringList m_stateHeaders;
    QStringList m_symbolHeaders;
    QList<QString> m_cells;
};
