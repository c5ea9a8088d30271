#include "gui/common/focusframe.h"

#include <QAbstractItemView>

namespace tessaly {

void showFocusClearly(QAbstractItemView& view) {
    // The same width in both states, so the entries do not shift when the focus comes.
    view.setStyleSheet(view.styleSheet() +
                       QStringLiteral("QAbstractItemView { border: 2px solid palette(mid); }"
                                      "QAbstractItemView:focus {"
                                      " border: 2px solid palette(highlight); }"));
}

}  // namespace tessaly
