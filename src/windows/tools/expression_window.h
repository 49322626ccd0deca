#pragma once

#include "model/mod_all.h"

#include <QDialog>

class QLabel;
class QLineEdit;

// Tools > New From Expression: a regular expression and, when given, its
// alphabet. OK builds the expression's minimal automaton; a mistake is shown
// under the fields, with the expression's text selected where it lies, and the
// window stays open for a correction.
class ExpressionWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ExpressionWindow(QWidget *parent);

    // The automaton built, once the window was accepted.
    modAll &automaton() { return m_automaton; }

    void accept() override;

private:
    QLineEdit *m_expression = nullptr;
    QLineEdit *m_alphabet = nullptr;
    QLabel *m_error = nullptr;
    modAll m_automaton;
};
