#include "windows/tools/test_strings_window.h"

#include "cli/string_list.h"
#include "document/escaped_line.h"
#include "document/tw_file_save.h"
#include "model/characters.h"
#include "model/mod_all.h"
#include "toolkit/dialogs.h"
#include "toolkit/drop_down_list.h"
#include "toolkit/plain_label.h"
#include "toolkit/qt_dialogs.h"
#include "toolkit/window_role.h"
#include "windows/tools/string_table.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The narrowest the String column is made, in pixels.
constexpr int leastStringWidth = 120;

// The largest list Open List reads: some 2 million short strings, which take
// about a second to open; a larger file is refused at once, with the limit.
constexpr qint64 listSizeLimit = qint64(16) << 20;

const QString listFilter = QStringLiteral("Lists of strings (*.txt)");
const QString allFilter = QStringLiteral("All files (*.*)");

QString nameOf(const modAll &model, qint16 state)
{
    return model.isState(state) ? model.states[state].name : QStringLiteral("?");
}

void appendSteps(QString &line, const modAll &model, const QList<RunStep> &steps)
{
    for (const RunStep &step : steps)
        line += QStringLiteral(" -") + EscapedLine::escape(step.character) + QStringLiteral("-> ")
            + nameOf(model, step.to);
}

// "q0 -a-> q1 -b-> q1", each character in its escaped form so that a blank or
// a tab can be seen. A long path shows its first and last steps, the number
// of those between in the middle.
QString pathLine(const modAll &model, const RunPath &path)
{
    if (model.state_count == 0)
        return QStringLiteral("(no states)");
    QString line = nameOf(model, path.start);
    appendSteps(line, model, path.firstSteps);
    if (path.leftOut() > 0)
        line += QStringLiteral(" ... (%1 steps left out) ...").arg(path.leftOut());
    appendSteps(line, model, path.lastSteps);
    return line;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QLabel *lineLabel(QWidget *parent, const char *name)
{
    QLabel *label = plainLabel(QString(), parent);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path is cut at the window's edge rather than widening the window.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

// Expected is chosen from a list: nothing, ACCEPTED, REJECTED or ERROR.
class ExpectedDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *choices = new DropDownList(parent);
        choices->setObjectName(QStringLiteral("com_expected"));
        choices->addItem(QString());
        for (const RunVerdict verdict : {RunVerdict::Accepted, RunVerdict::Rejected, RunVerdict::Error})
            choices->addItem(verdictText(verdict));
        return choices;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *choices = static_cast<QComboBox *>(editor);
        choices->setCurrentIndex(qMax(0, choices->findText(index.data(Qt::EditRole).toString())));
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        model->setData(index, static_cast<QComboBox *>(editor)->currentText(), Qt::EditRole);
    }
};

} // namespace

TestStringsWindow::TestStringsWindow(const modAll &model, Dialogs *dialogs, QWidget *owner)
    : QWidget(owner, Qt::Window)
    , m_model(model)
    , m_ownDialogs(dialogs ? nullptr : std::make_unique<QtDialogs>(this))
    , m_dialogs(dialogs ? *dialogs : *m_ownDialogs)
    , m_table(new StringTable(this))
{
    setObjectName(QStringLiteral("frm_test_strings"));
    setWindowTitle(QStringLiteral("Test Strings"));
    readAsWindow(*this);
    createControls();
    resize(640, 440);
    connect(m_table, &StringTable::summaryChanged, this, &TestStringsWindow::updateLines);
    connect(m_table, &StringTable::refused, this, &TestStringsWindow::setMessage);
    connect(m_table, &StringTable::dataChanged, this, [this](const QModelIndex &from, const QModelIndex &to) {
        const int current = m_view->currentIndex().row();
        if (current >= from.row() && current <= to.row())
            showPath();
    });
    updateLines();
}

// An editor still open in the table commits as the children go, after this
// window's own part is gone: the table tells it nothing more.
TestStringsWindow::~TestStringsWindow()
{
    m_table->disconnect(this);
}

void TestStringsWindow::createControls()
{
    QPushButton *cmd_add = button(this, "cmd_add", QStringLiteral("&Add"));
    QPushButton *cmd_remove = button(this, "cmd_remove", QStringLiteral("&Remove"));
    QPushButton *cmd_run_all = button(this, "cmd_run_all", QStringLiteral("R&un All"));
    cmd_run_all->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    cmd_run_all->setToolTip(QStringLiteral("Run every string (Ctrl+Return)"));
    QPushButton *cmd_open_list = button(this, "cmd_open_list", QStringLiteral("&Open List..."));
    QPushButton *cmd_save_list = button(this, "cmd_save_list", QStringLiteral("&Save List..."));

    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("table_strings"));
    m_view->setAccessibleName(QStringLiteral("Test strings"));
    m_view->setModel(m_table);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->setItemDelegateForColumn(StringTable::ExpectedColumn, new ExpectedDelegate(m_view));
    QHeaderView *columns = m_view->horizontalHeader();
    columns->setSectionResizeMode(StringTable::StringColumn, QHeaderView::Stretch);
    for (int column = StringTable::ExpectedColumn; column < StringTable::ColumnCount; ++column)
        columns->resizeSection(column, column == StringTable::StepsColumn ? 60 : 95);

    // An ERROR's reason shows in its Result cell. The strings keep room of
    // their own however narrow the window is made.
    columns->resizeSection(StringTable::ResultColumn,
                           m_view->fontMetrics().horizontalAdvance(QStringLiteral("ERROR: Invalid alphabet 'W'")) + 16);
    int fixedColumns = 0;
    for (int column = StringTable::ExpectedColumn; column < StringTable::ColumnCount; ++column)
        fixedColumns += columns->sectionSize(column);
    m_view->setMinimumWidth(fixedColumns + leastStringWidth + m_view->verticalHeader()->sizeHint().width()
                            + m_view->verticalScrollBar()->sizeHint().width() + 2 * m_view->frameWidth());

    m_summary = lineLabel(this, "lbl_summary");
    m_path = lineLabel(this, "lbl_path");
    m_status = lineLabel(this, "lbl_status");
    m_status->setFrameShape(QFrame::StyledPanel);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {cmd_add, cmd_remove, cmd_run_all})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(cmd_open_list);
    buttons->addWidget(cmd_save_list);

    auto *column = new QVBoxLayout(this);
    column->addLayout(buttons);
    column->addWidget(m_view, 1);
    column->addWidget(m_summary);
    column->addWidget(m_path);
    column->addWidget(m_status);

    connect(cmd_add, &QPushButton::clicked, this, &TestStringsWindow::addRow);
    connect(cmd_remove, &QPushButton::clicked, this, &TestStringsWindow::removeSelectedRows);
    connect(cmd_run_all, &QPushButton::clicked, this, &TestStringsWindow::runAll);
    connect(cmd_open_list, &QPushButton::clicked, this, &TestStringsWindow::openList);
    connect(cmd_save_list, &QPushButton::clicked, this, &TestStringsWindow::saveList);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TestStringsWindow::showPath);

    const auto shortcut = [this](const char *name, const QKeySequence &keys, auto slot) {
        auto *action = new QAction(this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    // A cell being edited takes Paste and Delete for its own text first.
    shortcut("cmd_paste", QKeySequence::Paste, [this] { paste(QApplication::clipboard()->text()); });
    shortcut("cmd_delete", QKeySequence::Delete, &TestStringsWindow::removeSelectedRows);
    shortcut("cmd_close", QKeySequence(Qt::CTRL | Qt::Key_W), &QWidget::close);
}

void TestStringsWindow::addRow()
{
    m_table->append({ListedString{}});
    const QModelIndex cell = m_table->index(m_table->rowCount() - 1, StringTable::StringColumn);
    m_view->setCurrentIndex(cell);
    m_view->edit(cell);
}

// The chosen rows go, as contiguous blocks from the bottom up so the rows
// above keep their numbers.
void TestStringsWindow::removeSelectedRows()
{
    QList<int> rows;
    for (const QModelIndex &index : m_view->selectionModel()->selectedRows())
        rows.append(index.row());
    if (rows.isEmpty() && m_view->currentIndex().isValid())
        rows.append(m_view->currentIndex().row());
    std::sort(rows.begin(), rows.end());
    for (qsizetype end = rows.size(); end > 0;) {
        qsizetype start = end - 1;
        while (start > 0 && rows[start - 1] == rows[start] - 1)
            --start;
        m_table->removeRows(rows[start], int(end - start));
        end = start;
    }
}

void TestStringsWindow::runAll()
{
    m_table->runAll(m_model);
    setMessage(QString());
}

void TestStringsWindow::paste(const QString &text)
{
    const StringList::Parsed parsed = StringList::parse(text.toUtf8());
    if (!parsed.ok()) {
        setMessage(QStringLiteral("Nothing pasted: ") + parsed.error);
        return;
    }
    const int first = m_table->rowCount();
    m_table->append(parsed.strings);
    setMessage(QStringLiteral("%1 strings pasted").arg(parsed.strings.size()));
    if (!parsed.strings.isEmpty())
        m_view->scrollTo(m_table->index(first, 0));
    m_view->setFocus();
}

// Rows never saved are work too: Open List asks before it puts a list in
// their place.
bool TestStringsWindow::mayReplaceRows()
{
    const int count = m_table->rowCount();
    if (!m_table->isModified() || count == 0)
        return true;
    const QString question = count == 1 ? QStringLiteral("Replace the string not saved?")
                                        : QStringLiteral("Replace the %1 strings not saved?").arg(count);
    return m_dialogs.message(question, QStringLiteral("Open List"), Dialogs::Icon::Question, Dialogs::Buttons::YesNo)
        == Dialogs::Answer::Yes;
}

void TestStringsWindow::openList()
{
    if (!mayReplaceRows())
        return;
    Dialogs::FileSettings settings;
    settings.title = QStringLiteral("Open List");
    settings.filters = {listFilter, allFilter};
    settings.fileMustExist = true;
    const std::optional<QString> path = m_dialogs.openFile(settings);
    if (!path)
        return;
    QList<ListedString> strings;
    const TwResult<> read = StringList::readFile(QFile::encodeName(*path), listSizeLimit, [&strings](ListedString &&string) {
        strings.append(std::move(string));
        return true;
    });
    if (!read.ok()) {
        const QString file = QDir::toNativeSeparators(*path);
        showError(read.failure().line > 0 ? QStringLiteral("%1 is not a list of strings. %2").arg(file, read.failure().message())
                                          : QStringLiteral("%1 could not be read: %2").arg(file, read.failure().message()));
        return;
    }
    m_table->replace(strings);
    showPath();   // no row of the new list is chosen yet
    setMessage(QStringLiteral("List opened: ") + QDir::toNativeSeparators(*path));
    m_view->setFocus();
}

// A failed save leaves the old list as it was.
void TestStringsWindow::saveList()
{
    Dialogs::FileSettings settings;
    settings.title = QStringLiteral("Save List");
    settings.filters = {listFilter, allFilter};
    settings.defaultSuffix = QStringLiteral("txt");
    settings.pathMustExist = true;
    settings.confirmOverwrite = true;
    const std::optional<QString> path = m_dialogs.saveFile(settings);
    if (!path)
        return;
    const TwResult<> saved = TwFile::saveBytes(*path, StringList::text(m_table->strings()));
    if (!saved.ok()) {
        showError(QStringLiteral("%1 could not be saved: %2").arg(QDir::toNativeSeparators(*path), saved.failure().message()));
        return;
    }
    m_table->setUnmodified();
    setMessage(QStringLiteral("List saved: ") + QDir::toNativeSeparators(*path));
}

void TestStringsWindow::automatonChanged()
{
    m_table->clearResults();
    showPath();
}

// The chosen row's path, once the row has run: from the model its result
// came from, since any change of the model clears the results.
void TestStringsWindow::showPath()
{
    const int row = m_view->currentIndex().row();
    if (row < 0 || row >= m_table->rowCount() || !m_table->result(row)) {
        setPathLine(QString());
        Q_EMIT pathCleared();
        return;
    }
    const ListedString string = m_table->string(row);
    const qsizetype valid = m_table->validBytes(row);
    const QString text = QString::fromUtf8(QByteArrayView(string.bytes).first(valid));
    const RunPath path = runPath(m_model, text);
    if (path.invalidStart) {
        setPathLine(QStringLiteral("Path: none (invalid start state)"));
        Q_EMIT pathChosen(path, RunVerdict::Error);
        return;
    }
    QString stop; // the character the run stops at, as a result line shows it
    if (path.stopped)
        stop = EscapedLine::escape(Characters::first(QStringView(text).sliced(path.consumed)));
    else if (valid < string.bytes.size())
        stop = QString::fromLatin1(EscapedLine::escape(QByteArrayView(string.bytes).sliced(valid, 1)));
    const RunVerdict verdict = stop.isEmpty() ? path.verdict : RunVerdict::Error;
    const QString end = stop.isEmpty() ? verdictText(verdict) : QStringLiteral("ERROR at '%1'").arg(stop);
    setPathLine(QStringLiteral("Path: ") + pathLine(m_model, path) + QStringLiteral("  ") + end);
    Q_EMIT pathChosen(path, verdict);
}

// A line wider than the window loses its middle, so the start and the end of
// the path stay in sight.
void TestStringsWindow::setPathLine(const QString &line)
{
    m_pathLine = line;
    m_path->setToolTip(line);
    fitPathLine();
}

void TestStringsWindow::fitPathLine()
{
    m_path->setText(m_path->fontMetrics().elidedText(m_pathLine, Qt::ElideMiddle, m_path->contentsRect().width()));
}

void TestStringsWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitPathLine();
}

void TestStringsWindow::setMessage(const QString &message)
{
    m_message = message;
    updateLines();
}

void TestStringsWindow::updateLines()
{
    m_summary->setText(m_table->summary());
    QStringList status;
    if (!m_message.isEmpty())
        status.append(m_message);
    if (m_table->isModified() && m_table->rowCount() > 0)
        status.append(QStringLiteral("list not saved"));
    m_status->setText(status.join(QStringLiteral("  -  ")));
}

void TestStringsWindow::showError(const QString &text)
{
    m_dialogs.inform(text, QStringLiteral("ERROR"), Dialogs::Icon::Critical);
}

QString TestStringsWindow::summaryText() const { return m_summary->text(); }
QString TestStringsWindow::pathText() const { return m_pathLine; }
QString TestStringsWindow::statusText() const { return m_status->text(); }
