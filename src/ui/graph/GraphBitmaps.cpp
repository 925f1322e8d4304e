#include "ui/graph/GraphBitmaps.h"

#include <map>

// The pictures are XPM text kept beside the other resources.
#include "bmp115_time_left.xpm"
#include "bmp116_time_right.xpm"
#include "bmp117_value_up.xpm"
#include "bmp118_value_down.xpm"
#include "bmp119_flag_a.xpm"
#include "bmp120_flag_b.xpm"
#include "bmp124_cursor_left.xpm"
#include "bmp125_cursor_right.xpm"

namespace saroko {

const QImage& GraphBitmap(int id) {
    static const std::map<int, QImage> images = {
        {kBmpTimeLeft, QImage(bmp115_time_left)},
        {kBmpTimeRight, QImage(bmp116_time_right)},
        {kBmpValueUp, QImage(bmp117_value_up)},
        {kBmpValueDown, QImage(bmp118_value_down)},
        {kBmpFlagA, QImage(bmp119_flag_a)},
        {kBmpFlagB, QImage(bmp120_flag_b)},
        {kBmpCursorLeft, QImage(bmp124_cursor_left)},
        {kBmpCursorRight, QImage(bmp125_cursor_right)},
    };
    static const QImage none;
    const auto it = images.find(id);
    return it == images.end() ? none : it->second;
}

} // namespace saroko
