#include "gui/common/fittingitemdelegate.h"

namespace tessaly {

QSize FittingItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    return QSize(0, QStyledItemDelegate::sizeHint(option, index).height());
}

}  // namespace tessaly
