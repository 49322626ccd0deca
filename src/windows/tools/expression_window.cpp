#include "windows/tools/expression_window.h"

#include "analysis/regex_automaton.h"
#include "toolkit/layout_units.h"
#include "toolkit/plain_label.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QVBoxLayout>

namespace {

// The syntax in short, as pairs of what is written and what it means.
const char *const syntax[][2] = {
    {"a|b", "a or b"},          {"a*", "zero or more a"},      {"a+", "one or more a"},
    {"a?", "a or nothing"},     {"(ab)", "a group"},            {"() ε", "the empty string"},
    {"[abc] [a-c]", "a class"}, {"[^ab]", "any symbol but these"}, {".", "any symbol"},
    {"∅", "no string at all"},  {"\\* \\( \\\\", "the character itself"},
};
constexpr int syntaxColumns = 3;

// The syntax as a grid: each operator in the fixed-width font, its meaning after it.
QGridLayout *syntaxGrid(QWidget *parent)
{
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(LayoutUnits::toPixels(120));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    int at = 0;
    for (const auto &[written, meaning] : syntax) {
        QLabel *example = plainLabel(QString::fromUtf8(written), parent);
        example->setFont(fixed);
        grid->addWidget(example, at / syntaxColumns, 2 * (at % syntaxColumns));
        grid->addWidget(plainLabel(QString::fromUtf8(meaning), parent), at / syntaxColumns, 2 * (at % syntaxColumns) + 1);
        ++at;
    }
    grid->setColumnStretch(2 * syntaxColumns - 1, 1);
    return grid;
}

// The UTF-16 offset of the 1-based character `position` of `text`.
int offsetOf(const QString &text, int position)
{
    int offset = 0;
    for (int character = 1; character < position && offset < text.size(); ++character)
        offset += text[offset].isHighSurrogate() && offset + 1 < text.size() && text[offset + 1].isLowSurrogate() ? 2 : 1;
    return offset;
}

} // namespace

ExpressionWindow::ExpressionWindow(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("expression_window"));
    setWindowTitle(QStringLiteral("New From Expression"));

    m_expression = new QLineEdit(this);
    m_expression->setObjectName(QStringLiteral("txt_expression"));
    m_alphabet = new QLineEdit(this);
    m_alphabet->setObjectName(QStringLiteral("txt_alphabet"));
    m_alphabet->setPlaceholderText(QStringLiteral("the characters of the expression"));
    m_error = plainLabel(QString(), this);
    m_error->setObjectName(QStringLiteral("lbl_error"));
    m_error->setWordWrap(true);
    QPalette warning = m_error->palette();
    warning.setColor(QPalette::WindowText, Qt::darkRed);
    m_error->setPalette(warning);
    m_error->hide();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ExpressionWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Expression:"), m_expression);
    fields->addRow(QStringLiteral("&Alphabet:"), m_alphabet);
    auto *column = new QVBoxLayout(this);
    column->addLayout(fields);
    column->addLayout(syntaxGrid(this));
    column->addWidget(m_error);
    column->addStretch(1);
    column->addWidget(buttons);
    resize(LayoutUnits::toPixels(9000), sizeHint().height());
}

void ExpressionWindow::accept()
{
    const QString alphabet = m_alphabet->text();
    Analysis::RegexAutomaton made = Analysis::automatonFromRegex(
        m_expression->text(), alphabet.isEmpty() ? std::nullopt : std::optional<QStringView>(alphabet));
    if (made.error) {
        m_error->setText(made.error->message());
        m_error->show();
        m_expression->setFocus();
        if (made.error->position > 0)
            m_expression->setSelection(offsetOf(m_expression->text(), made.error->position),
                                       offsetOf(m_expression->text(), made.error->position + 1)
                                           - offsetOf(m_expression->text(), made.error->position));
        return;
    }
    m_automaton = std::move(made.automaton);
    QDialog::accept();
}
