#pragma once

#include <QComboBox>

// A drop-down list that keeps F4, the key that opens a focused list, even
// where a window's shortcut uses the same key (F4 shows and hides the
// Diagram): while the list has the focus, F4 opens it.
class DropDownList final : public QComboBox
{
    Q_OBJECT

public:
    using QComboBox::QComboBox;

protected:
    bool event(QEvent *event) override;
};
