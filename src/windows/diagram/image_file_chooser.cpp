#include "windows/diagram/image_file_chooser.h"

#include <QFileDialog>

namespace {

const QString pngFilter = QStringLiteral("PNG image (*.png)");
const QString svgFilter = QStringLiteral("SVG image (*.svg)");

QString suffixOf(const QString &filter)
{
    return filter == svgFilter ? QStringLiteral("svg") : QStringLiteral("png");
}

} // namespace

QtImageFileChooser::QtImageFileChooser(QWidget *owner)
    : m_owner(owner)
{
}

std::optional<ImageFileChooser::Choice> QtImageFileChooser::choose()
{
    if (!m_dialog) {
        m_dialog = new QFileDialog(m_owner, QStringLiteral("Export Image"));
        m_dialog->setOption(QFileDialog::DontUseNativeDialog, true);
        m_dialog->setAcceptMode(QFileDialog::AcceptSave);
        m_dialog->setFileMode(QFileDialog::AnyFile);
        m_dialog->setNameFilters({pngFilter, svgFilter});
        m_dialog->setDefaultSuffix(suffixOf(pngFilter));
        QObject::connect(m_dialog, &QFileDialog::filterSelected, m_dialog,
                         [dialog = m_dialog](const QString &filter) { dialog->setDefaultSuffix(suffixOf(filter)); });
    }
    if (m_dialog->exec() != QDialog::Accepted || m_dialog->selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = m_dialog->selectedFiles().constFirst();
    // A name typed with the other format's extension means that format, so
    // "a.svg" never holds a PNG image.
    bool svg = m_dialog->selectedNameFilter() == svgFilter;
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        svg = true;
    else if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        svg = false;
    return Choice{path, svg ? ImageExport::Format::Svg : ImageExport::Format::Png};
}
