#pragma once

#include "model/mod_all.h"
#include "scripted_dialogs.h"

#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using Rows = QList<QList<qint16>>;

// A model with these states ('*' in front: final) and symbols, each with its spare.
inline modAll automaton(const QStringList &states, const QStringList &symbols = {})
{
    modAll model;
    model.state_count = qint16(states.size());
    for (const QString &state : states)
        model.states.append({state.startsWith(u'*') ? state.mid(1) : state, state.startsWith(u'*')});
    model.states.append(StateEntry{});
    model.symbol_count = qint16(symbols.size());
    model.symbols = symbols + QStringList{QString()};
    return model;
}

// One opening of an editor, shown, with its boxes answered from a script.
template <typename Editor>
struct Opened
{
    explicit Opened(modAll &model) : dlg(model, dialogs, nullptr) { dlg.show(); }
    ScriptedDialogs dialogs;
    Editor dlg;
};

inline void click(QWidget *dialog, const QString &button)
{
    QTest::mouseClick(dialog->findChild<QPushButton *>(button), Qt::LeftButton);
}

// The user picks an entry with the mouse (-1: none); picked() is the highlighted one.
inline void pick(QListWidget *list, int row)
{
    if (row >= 0)
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

inline int picked(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

// The controls Tab visits from the focus on, space-separated. On the way, Enter
// and Escape are pressed on every button: neither may press it or close the
// dialog (a box it opened would be unscripted and fail the test).
inline QString tabOrder(QDialog &dialog)
{
    QStringList names;
    QWidget *widget = dialog.focusWidget();
    do {
        if (widget != &dialog && (widget->focusPolicy() & Qt::TabFocus) && dialog.isAncestorOf(widget))
            names.append(widget->objectName());
        if (qobject_cast<QPushButton *>(widget))
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(widget, key);
        widget = widget->nextInFocusChain();
    } while (widget != dialog.focusWidget());
    return dialog.isVisible() ? names.join(' ') : QStringLiteral("closed by a key");
}

// An add answered with `answer`: the boxes shown ("title: text" joined by '|'),
// and the icon of the last one.
template <typename Editor>
QString addAnswered(Opened<Editor> &o, const QString &answer)
{
    o.dialogs.answerInput(answer);
    o.dialogs.answerMessage();   // used only when the answer is refused
    click(&o.dlg, "cmd_add");
    const bool refused = o.dialogs.allAnswered();
    QString boxes = o.dialogs.transcript().join('|');
    if (refused && o.dialogs.lastCall().icon != Dialogs::Icon::Exclamation)
        boxes += " (not the exclamation icon)";
    o.dialogs.clear();
    return boxes;
}
