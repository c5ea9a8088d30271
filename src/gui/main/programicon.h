#pragma once

#include <QIcon>
#include <QPixmap>

namespace tessaly {

// The program's icon, drawn in code: a framed photograph (sky, sun, hills) over a small
// page of thumbnails.
class ProgramIcon {
public:
    static QPixmap pixmap(int size);
    static QIcon icon();
};

}  // namespace tessaly
