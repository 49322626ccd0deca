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

// The user picks an entry with the mouse (-1: none).
inline void pick(QListWidget *list, int row)
{
    if (row >= 0)
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// Enter and Escape on every button: neither may press it (a box it opened would
// be unscripted and fail the test) or close the dialog.
inline bool keysPressNothing(QDialog &dialog)
{
    for (QPushButton *button : dialog.findChildren<QPushButton *>())
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(button, key);
    return dialog.isVisible();
}

// An add answered with `answer`: the boxes shown, "title: text" joined by '|'.
// A refusal must carry the exclamation icon.
template <typename Editor>
QString addAnswered(Opened<Editor> &o, const QString &answer)
{
    o.dialogs.answerInput(answer);
    o.dialogs.answerMessage();   // used only when the answer is refused
    click(&o.dlg, "cmd_add");
    QString boxes = o.dialogs.transcript().join('|');
    if (o.dialogs.allAnswered() && o.dialogs.lastCall().icon != Dialogs::Icon::Exclamation)
        boxes += " (not the exclamation icon)";
    o.dialogs.clear();
    return boxes;
}
