#include "windows/editors/frm_comment.h"

#include "model/model_edits.h"
#include "toolkit/design_font.h"
#include "toolkit/layout_units.h"
#include "toolkit/minimum_size.h"

#include <QPlainTextEdit>
#include <QTextDocument>

using LayoutUnits::toPixels;

namespace {

// The smallest outer size of the window, and how much smaller than the outer
// frame the text box is, all in layout units.
constexpr QSize smallest(4000, 3000);
constexpr QSize boxInset(150, 550);

const QString lineBreak = QStringLiteral("\r\n");

// The box's text with each line break as CR LF. The raw text keeps every
// character as typed (a plain-text copy would turn non-breaking spaces into
// blanks); a line break typed with Shift+Enter counts as one too.
QString commentText(const QPlainTextEdit &box)
{
    QString text = box.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, lineBreak);
    text.replace(QChar::LineSeparator, lineBreak);
    return text;
}

} // namespace

frm_comment::frm_comment(ModelEdits &edits, QWidget *owner)
    : EditorDialog(owner, Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_edits(edits),
      txt_comment(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("frm_comment"));
    setWindowTitle(tr("Comment"));
    resize(toPixels(3840), toPixels(2670));

    txt_comment->setObjectName(QStringLiteral("txt_comment"));
    txt_comment->setAccessibleName(tr("Comment"));
    txt_comment->setFont(designFont(9.75));
    txt_comment->setLineWrapMode(QPlainTextEdit::NoWrap);
    txt_comment->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txt_comment->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(txt_comment, &QPlainTextEdit::textChanged, this, [this] { m_edits.markUnsaved(); });

    // Load: filling the empty box is a change of its text only when there is a comment.
    if (!edits.model().comment.isEmpty())
        txt_comment->setPlainText(edits.model().comment);
    applyResizeRule();
    closeOnCtrlW();
}

void frm_comment::done(int result)
{
    m_edits.commitComment(commentText(*txt_comment));
    EditorDialog::done(result);
}

void frm_comment::resizeEvent(QResizeEvent *event)
{
    EditorDialog::resizeEvent(event);
    applyResizeRule();
}

// The window system tells the frame's size only once it has placed the window,
// which moves it; the rule then measures again.
void frm_comment::moveEvent(QMoveEvent *event)
{
    EditorDialog::moveEvent(event);
    applyResizeRule();
}

void frm_comment::applyResizeRule()
{
    fillBelowMinimum(*this, *txt_comment, smallest, boxInset);
}
