#include "windows/tools/string_lists_window.h"

#include "analysis/report_text.h"
#include "analysis/string_lists.h"
#include "document/escaped_line.h"
#include "run/run_steps.h"
#include "toolkit/plain_label.h"
#include "windows/tools/report_window.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// What the list holds, above it.
QString summary(const modAll &model, bool accepted, int shown, bool more)
{
    const QString kind = accepted ? QStringLiteral("accepted") : QStringLiteral("rejected");
    if (shown == 0) {
        const QString none = QStringLiteral("No string is ") + kind;
        if (!RunSteps::startIsValid(model))
            return none + QStringLiteral(": the start state is not valid, so every string gives ERROR.");
        return none + u'.';
    }
    if (more)
        return QStringLiteral("The first %1 %2 strings, shortest first:").arg(shown).arg(kind);
    if (shown == 1)
        return QStringLiteral("The only %1 string:").arg(kind);
    return QStringLiteral("All %1 %2 strings, shortest first:").arg(shown).arg(kind);
}

} // namespace

StringListsWindow::StringListsWindow(const modAll &model, QWidget *parent)
    : QDialog(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("string_lists_window"));
    setWindowTitle(QStringLiteral("Accepted Strings"));

    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    tabs->setAccessibleName(QStringLiteral("Accepted and rejected strings"));
    addList(tabs, m_accepted, true);
    addList(tabs, m_rejected, false);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *column = new QVBoxLayout(this);
    column->addWidget(tabs, 1);
    column->addWidget(buttons);
    resize(480, 480);
}

void StringListsWindow::addList(QTabWidget *tabs, List &list, bool accepted)
{
    // Controls named by their list: txt_accepted, cmd_more_rejected ...
    const QString kind = accepted ? QStringLiteral("accepted") : QStringLiteral("rejected");
    auto *page = new QWidget(tabs);
    list.accepted = accepted;
    list.summary = plainLabel(QString(), page);
    list.summary->setObjectName(QStringLiteral("lbl_") + kind);
    list.summary->setWordWrap(true);
    list.strings = reportField(QStringLiteral("txt_") + kind, page);
    list.strings->setAccessibleName(accepted ? QStringLiteral("Accepted strings") : QStringLiteral("Rejected strings"));
    list.more = new QPushButton(QStringLiteral("Show &More"), page);
    list.more->setObjectName(QStringLiteral("cmd_more_") + kind);
    list.more->setAutoDefault(false);
    connect(list.more, &QPushButton::clicked, this, [this, &list] { showMore(list); });

    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(list.more);
    auto *column = new QVBoxLayout(page);
    column->addWidget(list.summary);
    column->addWidget(list.strings, 1);
    column->addLayout(row);
    tabs->addTab(page, accepted ? QStringLiteral("&Accepted") : QStringLiteral("&Rejected"));
    showMore(list);
}

// The next `step` strings go under those shown. One more than that is asked
// for, so the button is offered only while there are more.
void StringListsWindow::showMore(List &list)
{
    const int wanted = list.shown + step;
    const QStringList strings = list.accepted ? Analysis::acceptedStrings(m_model, wanted + 1)
                                              : Analysis::rejectedStrings(m_model, wanted + 1);
    const Analysis::Escape escape = qOverload<QStringView>(&EscapedLine::escape);
    QStringList lines;
    for (qsizetype i = list.shown; i < qMin<qsizetype>(strings.size(), wanted); ++i)
        lines.append(Analysis::shown(strings[i], escape));
    if (!lines.isEmpty()) {
        // Appending scrolls to the end and carries the text cursor along,
        // which the first showing scrolls to: the view stays where it was,
        // and the list opens at its first string.
        QScrollBar *bar = list.strings->verticalScrollBar();
        const int top = bar->value();
        list.strings->appendPlainText(lines.join(u'\n'));
        if (list.shown == 0)
            list.strings->moveCursor(QTextCursor::Start);
        bar->setValue(top);
    }
    list.shown += int(lines.size());
    const bool more = strings.size() > wanted;
    list.more->setEnabled(more);
    list.summary->setText(summary(m_model, list.accepted, list.shown, more));
}
