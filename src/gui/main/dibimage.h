#pragma once

#include <QImage>

namespace tessaly {

class TNkDIB;

// A pixel image as a QImage for the screen: 24-bit rows (blue, green, red) are copied row by
// row, the other formats go through their colour table.
class DibImage {
public:
    static QImage toImage(const TNkDIB& picture);
};

}  // namespace tessaly
