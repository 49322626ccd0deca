#pragma once

#include "windows/diagram/image_export.h"

#include <QString>
#include <optional>

class QFileDialog;
class QWidget;

// Asks where to export the diagram, and as what. Tests answer from a script.
class ImageFileChooser
{
public:
    struct Choice
    {
        QString path;
        ImageExport::Format format = ImageExport::Format::Png;
    };

    virtual ~ImageFileChooser() = default;
    // Nothing when the user cancelled.
    virtual std::optional<Choice> choose() = 0;
};

// A file dialog of the Diagram window's own, so it offers the name of the last
// export and never changes what File > Open and Save As offer. The format is
// the one of the filter chosen, unless the name ends in the other's extension.
class QtImageFileChooser final : public ImageFileChooser
{
public:
    explicit QtImageFileChooser(QWidget *owner);
    std::optional<Choice> choose() override;

private:
    QWidget *m_owner;
    QFileDialog *m_dialog = nullptr; // created on first use, lives with the owner
};
