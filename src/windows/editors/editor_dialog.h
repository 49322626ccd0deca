#pragma once

#include <QDialog>
#include <QFrame>

class QLabel;
class QPushButton;

// The common ground of the definition editors: each is modal over the main
// window, and Escape never closes one. Only its own buttons and the title
// bar's close box end it; for the editors with a Cancel button the close box
// acts as Cancel.
//
// Controls are placed at designed positions in layout units (see LayoutUnits).
class EditorDialog : public QDialog
{
    Q_OBJECT

protected:
    EditorDialog(QWidget *owner, Qt::WindowFlags flags);

    // The window flags of a fixed-size dialog with only a close box.
    static Qt::WindowFlags fixedDialogFlags();

    // Client area of a fixed-size dialog, in layout units.
    void setFixedUnits(int width, int height);

    // A command button that neither Enter nor Escape presses: it is never a
    // default button, whichever control has the focus.
    QPushButton *addButton(const QString &caption, const QString &name, const QRect &units);
    QLabel *addLabel(const QString &text, const QString &name, const QRect &units);
    QFrame *addLine(QFrame::Shape shape, const QRect &units);
    // Ctrl+W closes the window as its close box does, so that it can be left
    // from the keyboard (and without a window manager). For the windows whose
    // close stores what they show.
    void closeOnCtrlW();

    void keyPressEvent(QKeyEvent *event) override;
};
