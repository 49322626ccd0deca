#pragma once

#include "model/mod_all.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// Tools > Accepted Strings: the first strings the automaton accepts on one tab
// and the first it rejects on the other, shortest first and then in the
// alphabet's order, each in its escaped one-line form ("" for the empty
// string). Each tab shows `step` strings at first and `step` more at each
// "Show More", for as long as there are more.
class StringListsWindow : public QDialog
{
    Q_OBJECT

public:
    static constexpr int step = 20;

    StringListsWindow(const modAll &model, QWidget *parent);

private:
    struct List
    {
        bool accepted = true;
        QPlainTextEdit *strings = nullptr;
        QLabel *summary = nullptr;
        QPushButton *more = nullptr;
        int shown = 0;
    };

    void addList(QTabWidget *tabs, List &list, bool accepted);
    void showMore(List &list);

    const modAll m_model; // as it was when the window opened
    List m_accepted;
    List m_rejected;
};
