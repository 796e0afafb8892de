#include "platform/ui/region.h"

#include <QVector>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace platform {

HRGN CreateRectRgn(int x1, int y1, int x2, int y2) {
    int left = std::min(x1, x2);
    int top = std::min(y1, y2);
    return QRegion(left, top, std::abs(x2 - x1), std::abs(y2 - y1));
}

// Row by row: in the top and bottom bands each row is shortened by the
// corner ellipse; the rows between span the whole width.
HRGN CreateRoundRectRgn(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
    int left = std::min(x1, x2);
    int top = std::min(y1, y2);
    int width = std::abs(x2 - x1);
    int height = std::abs(y2 - y1);
    int rx2 = std::min(std::abs(cornerWidth), width); // ellipse diameters
    int ry2 = std::min(std::abs(cornerHeight), height);
    if (rx2 < 2 || ry2 < 2) return CreateRectRgn(x1, y1, x2, y2);
    double a = rx2 / 2.0;
    double b = ry2 / 2.0;
    QVector<QRect> rows;
    for (int row = 0; row < height; ++row) {
        // Distance of the row's centre from the ellipse centre row.
        double dy = 0.0;
        if (row < b)
            dy = b - (row + 0.5);
        else if (row >= height - b)
            dy = (row + 0.5) - (height - b);
        int inset = 0;
        if (dy > 0.0) {
            double span = a * std::sqrt(std::max(0.0, 1.0 - (dy * dy) / (b * b)));
            inset = int(std::lround(a - span));
        }
        if (width - 2 * inset > 0)
            rows.append(QRect(left + inset, top + row, width - 2 * inset, 1));
    }
    QRegion region;
    region.setRects(rows.constData(), int(rows.size()));
    return region;
}

bool SetWindowRgn(QWidget* window, const HRGN& region, bool redraw) {
    if (window == nullptr) return false;
    if (region.isEmpty())
        window->clearMask();
    else
        window->setMask(region);
    if (redraw) window->update();
    return true;
}

} // namespace platform
