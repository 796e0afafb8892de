#pragma once
// Window regions: the shape outside of which a window or control is neither
// drawn nor clicked. As with every rectangle of this layer, the right and
// bottom coordinates lie just outside.

#include <QRegion>

class QWidget;

namespace platform {

using HRGN = QRegion;

// The rectangle (x1, y1) .. (x2, y2), right and bottom edges excluded.
HRGN CreateRectRgn(int x1, int y1, int x2, int y2);
// The same rectangle with its corners rounded by an ellipse of
// cornerWidth x cornerHeight pixels.
HRGN CreateRoundRectRgn(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);
// Gives `window` (a form or a windowed control) the region; an empty region
// removes it. Returns false without a window.
bool SetWindowRgn(QWidget* window, const HRGN& region, bool redraw);

} // namespace platform
