#pragma once

#include "cli/batch_run.h"
#include "cli/string_list.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <optional>

struct modAll;

// The rows of the Test Strings window: each a string, the verdict it should
// get, and, once run, how its run ended. Strings are kept as bytes and shown in
// their escaped one-line form (see EscapedLine), so a tab, a line break or a
// byte that is not UTF-8 stays visible and every string survives a round trip
// through a list file. Results come from the batch runner's own run of a whole
// string, which is the run Play makes at 0 ms.
class StringTable final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { StringColumn, ExpectedColumn, ResultColumn, EndsInColumn, StepsColumn, ColumnCount };
    // Where the results stand.
    enum class Results { NotRun, Current, OutOfDate };

    explicit StringTable(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A string is typed in its escaped form; Expected takes "", ACCEPTED,
    // REJECTED or ERROR. Anything else is refused (see refused()).
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

    void append(const QList<ListedString> &strings);
    // Every row, as a list file holds it.
    QList<ListedString> strings() const;
    ListedString string(int row) const;
    // How many of the row's bytes, from the start, are valid UTF-8.
    qsizetype validBytes(int row) const { return m_rows[row].valid; }
    // Replaces every row (a list opened).
    void replace(const QList<ListedString> &strings);

    // Runs every string through `model`.
    void runAll(const modAll &model);
    // The automaton changed: every result is gone, and the summary says so.
    void clearResults();
    Results results() const { return m_results; }
    std::optional<StringResult> result(int row) const;
    // The summary line under the table.
    QString summary() const;
    // The rows changed since the list was last opened or saved (or since it
    // was empty).
    bool isModified() const { return m_modified; }
    void setUnmodified();

Q_SIGNALS:
    // A typed string or verdict was refused, and why.
    void refused(const QString &reason);
    // The rows or the results changed, so the summary and status lines may have.
    void summaryChanged();

private:
    struct Row
    {
        QByteArray bytes;
        QString shown;       // the escaped form
        qsizetype valid = 0; // bytes that are valid UTF-8, from the start
        std::optional<RunVerdict> expected;
        std::optional<StringResult> result;
    };

    static Row makeRow(const ListedString &string);
    void listChanged();
    QVariant resultColour(const Row &row) const;

    QList<Row> m_rows;
    QStringList m_stateNames;   // of the automaton the results came from
    Results m_results = Results::NotRun;
    bool m_modified = false;
};
