#include "windows/editors/editor_dialog.h"

#include "toolkit/design_font.h"
#include "toolkit/layout_units.h"
#include "toolkit/plain_label.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>

EditorDialog::EditorDialog(QWidget *owner, Qt::WindowFlags flags)
    : QDialog(owner, flags)
{
    setFont(designFont(8));
}

Qt::WindowFlags EditorDialog::fixedDialogFlags()
{
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
}

void EditorDialog::setFixedUnits(int width, int height)
{
    setFixedSize(LayoutUnits::toPixels(width), LayoutUnits::toPixels(height));
}

QPushButton *EditorDialog::addButton(const QString &caption, const QString &name, const QRect &units)
{
    auto *button = placed(new QPushButton(caption, this), name, units);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QLabel *EditorDialog::addLabel(const QString &text, const QString &name, const QRect &units)
{
    return placed(plainLabel(text, this), name, units);
}

QFrame *EditorDialog::addLine(QFrame::Shape shape, const QRect &units)
{
    auto *line = placed(new QFrame(this), QString(), units);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

void EditorDialog::closeOnCtrlW()
{
    auto *key_close = new QShortcut(Qt::CTRL | Qt::Key_W, this, this, &QWidget::close);
    key_close->setObjectName(QStringLiteral("key_close"));
}

void EditorDialog::keyPressEvent(QKeyEvent *event)
{
    // QDialog would reject() on Escape; these windows have no cancel key.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
