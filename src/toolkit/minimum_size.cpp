#include "toolkit/minimum_size.h"

#include "toolkit/layout_units.h"

#include <QWidget>

using LayoutUnits::fromPixels;
using LayoutUnits::toPixels;

std::optional<QSize> keepMinimumOuterSize(QWidget &window, int leastWidth, int leastHeight)
{
    if (window.isMinimized())
        return std::nullopt;
    // The frame as far as the window system has told us of it (none before showing).
    const QSize frame = window.frameGeometry().size() - window.size();
    const QSize least(toPixels(leastWidth), toPixels(leastHeight));
    if (window.minimumSize() != least - frame)
        window.setMinimumSize(least - frame);
    const QSize outer = window.frameGeometry().size().expandedTo(least);
    if (outer != window.frameGeometry().size())
        window.resize(outer - frame);
    return QSize(fromPixels(outer.width()), fromPixels(outer.height()));
}

void fillBelowMinimum(QWidget &window, QWidget &control, const QSize &least, const QSize &inset)
{
    const std::optional<QSize> outer = keepMinimumOuterSize(window, least.width(), least.height());
    if (!outer)
        return;
    control.setGeometry(0, 0, qMin(toPixels(outer->width() - inset.width()), window.width()),
                        qMin(toPixels(outer->height() - inset.height()), window.height()));
}
