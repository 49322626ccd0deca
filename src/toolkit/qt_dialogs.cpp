#include "toolkit/qt_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <functional>

namespace {

QMessageBox::Icon messageIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::Exclamation:
        return QMessageBox::Warning;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The filter Qt is given for an entry of the filter list. Qt's "*.*" matches only
// names with a dot, while the entry means every file: Qt is given "*" for it.
QString qtNameFilter(const QString &entry)
{
    const qsizetype open = entry.lastIndexOf(u'(');
    if (open < 0 || !entry.endsWith(u')'))
        return entry;
    QStringList patterns = entry.sliced(open + 1).chopped(1).split(u' ', Qt::SkipEmptyParts);
    for (QString &pattern : patterns)
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
    return entry.first(open + 1) + patterns.join(u' ') + u')';
}

// The file dialog asks, before it accepts a name, whether the name will do; a
// name it refuses keeps the dialog open for another one.
class CheckedFileDialog final : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;

    std::function<bool(const QString &path)> mayAccept;

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (mayAccept && !files.isEmpty() && !mayAccept(files.constFirst()))
            return;
        QFileDialog::accept();
    }
};

} // namespace

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
    QMessageBox box(messageIcon(icon), title, QString(), QMessageBox::NoButton, owner());
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    if (buttons == Buttons::YesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    } else if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == Buttons::YesNoCancel ? Answer::Cancel : buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
}

QString QtDialogs::input(const QString &prompt, const QString &title, const QString &defaultText)
{
    QInputDialog dialog(owner());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    if (auto *label = dialog.findChild<QLabel *>(QString(), Qt::FindDirectChildrenOnly))
        label->setTextFormat(Qt::PlainText);
    dialog.setTextValue(defaultText);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
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
    QPointer<QFileDialog> &dialog = m_fileDialogs[settings.ownDialog];
    if (!dialog) {
        dialog = new CheckedFileDialog(m_mainWindow);
        // Qt's own dialog, so the behaviour (and the tests of it) do not depend on
        // which desktop happens to be running.
        dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    }
    auto &dlg = static_cast<CheckedFileDialog &>(*dialog);
    dlg.setWindowTitle(settings.title);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(settings.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !settings.confirmOverwrite);

    QStringList qtFilters;
    for (const QString &entry : settings.filters)
        qtFilters.append(qtNameFilter(entry));
    dlg.setNameFilters(qtFilters);
    if (settings.selectedFilter >= 0 && settings.selectedFilter < qtFilters.size())
        dlg.selectNameFilter(qtFilters[settings.selectedFilter]);
    // The list shows each entry as written, whatever Qt was given to match with.
    if (auto *types = dlg.findChild<QComboBox *>(QStringLiteral("fileTypeCombo")))
        for (int i = 0; i < types->count() && i < settings.filters.size(); ++i)
            types->setItemText(i, settings.filters[i]);

    dlg.mayAccept = nullptr;
    if (settings.pathMustExist)
        dlg.mayAccept = [this, title = settings.title](const QString &path) {
            const QFileInfo chosen(path);
            if (chosen.isDir() || QFileInfo(chosen.absolutePath()).isDir())
                return true;
            message(QDir::toNativeSeparators(chosen.absolutePath())
                        + QStringLiteral("\nThis folder does not exist. Check the path and try again."),
                    title, Icon::Exclamation, Buttons::Ok);
            return false;
        };

    dlg.setDefaultSuffix(settings.defaultSuffix);
    if (!settings.initialName.isEmpty())
        dlg.selectFile(settings.initialName);

    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    return dlg.selectedFiles().constFirst();
}
