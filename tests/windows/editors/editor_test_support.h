#pragma once

#include "model/mod_all.h"
#include "scripted_dialogs.h"

#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

// A model whose states are given as names, a leading '*' marking a final state.
inline modAll automaton(const QStringList &states, const QStringList &symbols = {})
{
    modAll model;
    model.state_count = qint16(states.size());
    for (const QString &state : states)
        model.states.append({state.startsWith(u'*') ? state.mid(1) : state, state.startsWith(u'*')});
    model.states.append(StateEntry{});
    model.symbol_count = qint16(symbols.size());
    model.symbols = symbols;
    model.symbols.append(QString());
    return model;
}

inline void click(QWidget *dialog, const char *button)
{
    auto *target = dialog->findChild<QPushButton *>(QString::fromLatin1(button));
    QVERIFY2(target, button);
    QTest::mouseClick(target, Qt::LeftButton);
}

// The user picks an entry with the mouse (row -1 picks none).
inline void pick(QListWidget *list, int row)
{
    if (row >= 0)
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// The highlighted entry, or -1.
inline int picked(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

// Object names of the controls Tab visits, starting at the one with the focus.
inline QStringList tabOrder(QWidget *dialog)
{
    QStringList names;
    QWidget *start = dialog->focusWidget();
    QWidget *widget = start;
    do {
        if (widget != dialog && (widget->focusPolicy() & Qt::TabFocus) && dialog->isAncestorOf(widget))
            names.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget && widget != start);
    return names;
}

// Neither Enter nor Escape, wherever the focus is, presses a button or closes
// the dialog (a box it opened would be unscripted and fail the test).
inline void checkKeysCloseNothing(QDialog &dialog)
{
    for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
        button->setFocus();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(button, key);
            QVERIFY2(dialog.isVisible(), qPrintable(button->objectName()));
        }
    }
}

// The boxes an add showed: its input box, then the refusal, if any, with the
// exclamation icon. Both as "title: text".
inline void checkAddBoxes(const ScriptedDialogs &dialogs, const QString &inputBox, const QString &refusal)
{
    QStringList transcript{inputBox};
    if (!refusal.isEmpty()) {
        transcript.append(refusal);
        QCOMPARE(dialogs.lastCall().icon, Dialogs::Icon::Exclamation);
    }
    QCOMPARE(dialogs.transcript(), transcript);
}

// OK on an emptied list sets the count (`count`, a field of `model`) to 0 and
// keeps the dialog open; Cancel then closes it.
template <typename Editor>
void checkOkOnEmptyListKeepsOpen(modAll &model, const qint16 &count)
{
    ScriptedDialogs dialogs;
    Editor dlg(model, dialogs, nullptr);
    dlg.show();
    click(&dlg, "cmd_clr");
    click(&dlg, "cmd_ok");
    QVERIFY(dlg.isVisible());
    QCOMPARE(count, qint16(0));
    click(&dlg, "cmd_cancel");
    QVERIFY(!dlg.isVisible());
}

// An entry added and the dialog closed by its close box: that is Cancel, but the
// automaton stays marked as changed.
template <typename Editor>
void addThenClose(modAll &model, const QString &answer)
{
    ScriptedDialogs dialogs;
    dialogs.answerInput(answer);
    Editor dlg(model, dialogs, nullptr);
    dlg.show();
    click(&dlg, "cmd_add");
    dlg.close();
    QCOMPARE(dlg.result(), QDialog::Rejected);
    QVERIFY(!model.is_saved);
}
