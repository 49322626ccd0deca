#pragma once

#include "model/transition_cells.h"

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
// being grid cell (r, c). The data cells are a TransitionCells, which knows
// which cells were typed into.
class TransitionGrid final : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    // New contents: one header per state, one per symbol, and the data cells
    // (as many states and symbols as headers).
    void reset(const QStringList &stateHeaders, const QStringList &symbolHeaders, TransitionCells cells);

    // Grid size, headers included.
    int gridRows() const { return int(m_stateHeaders.size()) + 1; }
    int gridColumns() const { return int(m_symbolHeaders.size()) + 1; }

    // Any grid cell's text; empty outside the grid.
    QString text(int row, int column) const;
    // Text typed into a data cell (row, column >= 1).
    void setText(int row, int column, const QString &text);

    const QStringList &stateHeaders() const { return m_stateHeaders; }
    const TransitionCells &cells() const { return m_cells; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QStringList m_stateHeaders;
    QStringList m_symbolHeaders;
    TransitionCells m_cells;
};
