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
