#pragma once

#include "windows/editors/editor_dialog.h"

class ModelEdits;
class QPlainTextEdit;

// The automaton's free-text comment in a resizable modal window. It shows the
// model's comment when it opens and stores the text back on every close; there
// is no OK or Cancel, so Escape does nothing. Every change of the text marks the
// automaton as changed.
class frm_comment : public EditorDialog
{
    Q_OBJECT

public:
    frm_comment(ModelEdits &edits, QWidget *owner);

    // Every way of closing the window passes here, so the text is always kept.
    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void applyResizeRule();

    ModelEdits &m_edits;
    QPlainTextEdit *txt_comment;
};
