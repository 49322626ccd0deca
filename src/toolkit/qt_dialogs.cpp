#include "toolkit/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

QtDialogs::QtDialogs(QWidget *mainWindow)
    : m_mainWindow(mainWindow)
{
}

QtDialogs::~QtDialogs() = default;

QWidget *QtDialogs::owner() const
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget *active = QApplication::activeWindow())
        return active;
    return m_mainWindow;
}

Dialogs::Answer QtDialogs::message(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    static constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                                  QMessageBox::Warning, QMessageBox::Question,
                                                  QMessageBox::Information};
    QMessageBox box(icons[int(icon)], title, text, QMessageBox::NoButton, owner());
    if (buttons == Buttons::YesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::Ok;
    }
}

QString QtDialogs::input(const QString &prompt, const QString &title, const QString &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(owner(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

std::optional<QString> QtDialogs::openFile(const FileSettings &settings)
{
    return showFileDialog(settings, false);
}

std::optional<QString> QtDialogs::saveFile(const FileSettings &settings)
{
    return showFileDialog(settings, true);
}

std::optional<QString> QtDialogs::showFileDialog(const FileSettings &settings, bool save)
{
    if (!m_cdlg) {
        m_cdlg = new QFileDialog(m_mainWindow);
        // Qt's own dialog, so the behaviour (and the tests of it) do not depend on
        // which desktop happens to be running.
        m_cdlg->setOption(QFileDialog::DontUseNativeDialog, true);
    }
    QFileDialog &dlg = *m_cdlg;
    dlg.setWindowTitle(settings.title);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(settings.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !settings.confirmOverwrite);
    dlg.setNameFilters(settings.filters);
    if (settings.selectedFilter >= 0 && settings.selectedFilter < settings.filters.size())
        dlg.selectNameFilter(settings.filters[settings.selectedFilter]);
    dlg.setDefaultSuffix(settings.defaultSuffix);
    if (!settings.initialName.isEmpty())
        dlg.selectFile(settings.initialName);

    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    return dlg.selectedFiles().constFirst();
}
