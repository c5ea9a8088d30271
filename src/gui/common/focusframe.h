#pragma once

#include <QAbstractItemView>

namespace tessaly {

// A list or tree framed in the highlight colour while it has the keyboard focus, so that a
// user who moves through a window with Tab sees where the arrow keys act.
inline void showFocusFrame(QAbstractItemView* view) {
    view->setStyleSheet(
        QStringLiteral("QAbstractItemView:focus { border: 2px solid palette(highlight); }"));
}

}  // namespace tessaly
