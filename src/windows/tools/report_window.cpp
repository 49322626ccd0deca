#include "windows/tools/report_window.h"

#include "toolkit/plain_label.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

QPlainTextEdit *reportField(const QString &name, QWidget *parent)
{
    auto *field = new QPlainTextEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setLineWrapMode(QPlainTextEdit::NoWrap);
    field->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return field;
}

ReportWindow::ReportWindow(const QString &title, const QString &heading, const QString &report, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("report_window"));
    setWindowTitle(title);

    QLabel *head = plainLabel(heading, this);
    head->setObjectName(QStringLiteral("lbl_heading"));
    head->setWordWrap(true);
    head->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPlainTextEdit *text = reportField(QStringLiteral("txt_report"), this);
    text->setAccessibleName(title);
    // Each line of a report ends in a line break, which would show as one more, empty line.
    text->setPlainText(report.endsWith(u'\n') ? report.chopped(1) : report);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *column = new QVBoxLayout(this);
    column->addWidget(head);
    column->addWidget(text, 1);
    column->addWidget(m_buttons);
    // Tall enough for the report's lines, up to a screenful of them; the
    // one-line answer of a comparison gets a small window.
    const int lines = qBound(3, int(text->document()->blockCount()), 24);
    const int fieldHeight = text->fontMetrics().lineSpacing() * (lines + 1) + 2 * (text->frameWidth() + 4);
    resize(600, column->sizeHint().height() - text->sizeHint().height() + fieldHeight);
}

void ReportWindow::addCopyButton(const char *name, const QString &caption, const QString &text)
{
    QPushButton *copy = m_buttons->addButton(caption, QDialogButtonBox::ActionRole);
    copy->setObjectName(QLatin1String(name));
    copy->setAutoDefault(false);
    connect(copy, &QPushButton::clicked, this, [text] { QGuiApplication::clipboard()->setText(text); });
}
