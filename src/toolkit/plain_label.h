#pragma once

#include <QLabel>

// Every label of the program is made here. Its text is shown as it is, never
// read as markup, so a state named "<b>A</b>" or a file named "a<br>b.tw"
// reads exactly as it was typed.
inline QLabel *plainLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}
