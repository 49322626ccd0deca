#pragma once

#include "toolkit/dialogs.h"

#include <QHash>
#include <QPointer>

class QFileDialog;
class QWidget;

// The real boxes: QMessageBox, QInputDialog and one persistent QFileDialog, so
// Open offers the name the dialog held at its previous use (and one more for
// each purpose that has a dialog of its own). Each box is owned
// by the window that is active when it opens (an editor over the main window,
// or the main window itself).
class QtDialogs final : public Dialogs
{
public:
    explicit QtDialogs(QWidget *mainWindow);
    ~QtDialogs() override;

    Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
    QString input(const QString &prompt, const QString &title, const QString &defaultText) override;
    std::optional<QString> openFile(const FileSettings &settings) override;
    std::optional<QString> saveFile(const FileSettings &settings) override;

private:
    QWidget *owner() const;
    std::optional<QString> showFileDialog(const FileSettings &settings, bool save);

    QPointer<QWidget> m_mainWindow;
    // By FileSettings::ownDialog, "" being the File menu's (cdlg); each created
    // on first use, living with the main window.
    QHash<QString, QPointer<QFileDialog>> m_fileDialogs;
};
