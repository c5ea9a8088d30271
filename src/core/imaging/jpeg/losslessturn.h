#pragma once

#include <QByteArray>

namespace tessaly {

// Turning and mirroring a JPEG file's coded blocks without decoding them, through
// libjpeg-turbo's transform: the pixels come out exactly as coded, with no second loss.
// Transforms are named by the EXIF Orientation value that shows a stored picture through
// them: 1 none, 2 mirror left-right, 3 half turn, 4 mirror top-bottom, 5 transpose,
// 6 quarter turn clockwise, 7 transverse, 8 quarter turn counter-clockwise.
class LosslessTurn {
public:
    // The transform that does `first`, then `then`.
    static int composed(int first, int then);

    // The file transformed, holding no APPn or COM segment of its own. Empty when the
    // transform cannot be perfect (the picture's width or height is no whole number of coded
    // blocks at an edge that moves), or when libjpeg-turbo refused the file or warned about
    // its data (damaged or truncated).
    static QByteArray transformed(const QByteArray& jpeg, int transform);
};

}  // namespace tessaly
