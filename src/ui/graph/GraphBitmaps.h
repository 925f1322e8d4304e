#pragma once
// The eight small pictures of the graph view: the arrow buttons of the three strips and the
// two cursor flags, numbered as the view's resources.
#include <QImage>

namespace saroko {

enum GraphBitmapId : int {
    kBmpTimeLeft = 115,
    kBmpTimeRight = 116,
    kBmpValueUp = 117,
    kBmpValueDown = 118,
    kBmpFlagA = 119,
    kBmpFlagB = 120,
    kBmpCursorLeft = 124,
    kBmpCursorRight = 125,
};

// Loaded once; a null image for an unknown id.
const QImage& GraphBitmap(int id);

} // namespace saroko
