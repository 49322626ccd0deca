#pragma once

#include <QDialog>

class QPlainTextEdit;

// A modal window that shows an answer about the automaton as plain text: a
// heading naming the automata it is about, then the answer, read-only, so it
// can be selected and copied but never edited.
class ReportWindow : public QDialog
{
    Q_OBJECT

public:
    ReportWindow(const QString &title, const QString &heading, const QString &report, QWidget *parent);
};

// The read-only text field of the Tools windows: plain text in the fixed-width
// font, so the escaped strings and the columns of a report line up.
QPlainTextEdit *reportField(const QString &name, QWidget *parent);
