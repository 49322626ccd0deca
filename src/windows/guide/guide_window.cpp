#include "windows/guide/guide_window.h"

#include "toolkit/drop_down_list.h"
#include "toolkit/plain_label.h"
#include "toolkit/window_role.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// The sections the list offers: the guide's title is level 1, each section a
// level 2 heading under it.
constexpr int sectionLevel = 2;

const QUrl guideSource(QStringLiteral("qrc:/guide/guide.md"));

} // namespace

GuideWindow::GuideWindow(QWidget *owner)
    : QWidget(owner, Qt::Window)
    , m_sections(new DropDownList(this))
    , m_text(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("frm_guide"));
    setWindowTitle(QStringLiteral("Tarnwell Guide"));
    readAsWindow(*this);

    m_sections->setObjectName(QStringLiteral("com_sections"));
    m_text->setObjectName(QStringLiteral("txt_guide"));
    m_text->setAccessibleName(QStringLiteral("Tarnwell Guide"));
    m_text->setOpenExternalLinks(true);
    m_text->setSource(guideSource, QTextDocument::MarkdownResource);
    listSections();
    connect(m_sections, &QComboBox::currentIndexChanged, this, &GuideWindow::showSection);

    QLabel *label = plainLabel(QStringLiteral("&Section:"), this);
    label->setBuddy(m_sections);
    m_sections->setAccessibleName(QStringLiteral("Section"));
    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_sections, 1);
    auto *column = new QVBoxLayout(this);
    column->addLayout(row);
    column->addWidget(m_text, 1);

    // Closes like the Test Strings window, also where no window manager offers a close box.
    auto *close = new QAction(this);
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
    resize(640, 560);
}

void GuideWindow::listSections()
{
    for (QTextBlock block = m_text->document()->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != sectionLevel)
            continue;
        m_sections->addItem(block.text(), block.position());
    }
}

QStringList GuideWindow::sections() const
{
    QStringList titles;
    for (int i = 0; i < m_sections->count(); ++i)
        titles.append(m_sections->itemText(i));
    return titles;
}

void GuideWindow::showSection(int index)
{
    if (index < 0 || index >= m_sections->count())
        return;
    const QTextBlock heading = m_text->document()->findBlock(m_sections->itemData(index).toInt());
    QTextCursor at(heading);
    m_text->setTextCursor(at);
    const qreal top = m_text->document()->documentLayout()->blockBoundingRect(heading).top();
    m_text->verticalScrollBar()->setValue(qRound(top));
}
