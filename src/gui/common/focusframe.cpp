#include "gui/common/focusframe.h"

#include <QAbstractItemView>

namespace tessaly {

void showFocusClearly(QAbstractItemView& view) {
    view.setStyleSheet(view.styleSheet() +
                       QStringLiteral("QAbstractItemView:focus {"
                                      " border: 2px solid palette(highlight); }"));
}

}  // namespace tessaly
