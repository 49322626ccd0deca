#include "toolkit/drop_down_list.h"

#include <QKeyEvent>

bool DropDownList::event(QEvent *event)
{
    // Accepting the override is what keeps a shortcut from taking the key:
    // it then comes to the list as a key press, which opens it.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F4 && !(key->modifiers() & ~Qt::KeypadModifier)) {
            event->accept();
            return true;
        }
    }
    return QComboBox::event(event);
}
