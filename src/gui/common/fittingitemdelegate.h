#pragma once

#include <QStyledItemDelegate>

namespace tessaly {

// Entries of a one-column list take the list's width and no more, so a long name is drawn
// shortened (by the view's text elide mode) instead of running past the edge behind a
// sideways scroll bar.
class FittingItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace tessaly
