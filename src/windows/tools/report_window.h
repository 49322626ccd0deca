#pragma once

#include <QDialog>

class QDialogButtonBox;
class QPlainTextEdit;

// A modal window that shows an answer about the automaton as plain text: a
// heading naming the automata it is about, then the answer, read-only, so it
// can be selected and copied but never edited.
class ReportWindow : public QDialog
{
    Q_OBJECT

public:
    ReportWindow(const QString &title, const QString &heading, const QString &report, QWidget *parent);

    // One more button beside Close, named `name`, that puts `text` on the
    // clipboard: the whole of something the report shows cut short.
    void addCopyButton(const char *name, const QString &caption, const QString &text);

private:
    QDialogButtonBox *m_buttons = nullptr;
};

// The read-only text field of the Tools windows: plain text in the fixed-width
// font, so the escaped strings and the columns of a report line up.
QPlainTextEdit *reportField(const QString &name, QWidget *parent);
