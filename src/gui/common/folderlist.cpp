#include "gui/common/folderlist.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>

#include "core/text/folderlisting.h"

namespace tessaly {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;
constexpr int kIndentStep = 12;

// Indents each entry by its depth so the list reads like a tree.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(index.data(kDepthRole).toInt() * kIndentStep, 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }
    // In a list that does not scroll sideways every entry takes the list's width.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += index.data(kDepthRole).toInt() * kIndentStep;
        const auto* view = qobject_cast<const QAbstractScrollArea*>(option.widget);
        if (view && view->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) size.setWidth(0);
        return size;
    }
};

QString cleanFolder(const QString& path) { return QDir::cleanPath(QDir(path).absolutePath()); }

}  // namespace

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    setAccessibleName(QStringLiteral("フォルダ"));  // the name screen readers read
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { openEntry(row(item)); });
}

void FolderList::fitEntriesToWidth() {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideMiddle);
}

bool FolderList::setDirectory(const QString& path) {
    if (path.isEmpty()) return false;
    const QString folder = cleanFolder(path);
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable()) return false;
    const bool changed = folder != directory_;
    directory_ = folder;
    fill();
    if (changed) emit directoryChanged(directory_);
    return true;
}

bool FolderList::refresh() {
    if (directory_.isEmpty() || !QFileInfo(directory_).isDir()) return false;
    fill();
    return true;
}

QString FolderList::entryPath(int index) const {
    const QListWidgetItem* entry = item(index);
    return entry ? entry->data(kPathRole).toString() : QString();
}

bool FolderList::openEntry(int index) {
    const QString path = entryPath(index);
    if (path.isEmpty()) return false;
    if (setDirectory(path)) return true;
    emit openFailed(path);
    return false;
}

void FolderList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (currentRow() >= 0) openEntry(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FolderList::fill() {
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QStringList parts = directory_.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    clear();
    auto add = [&](const QString& text, const QString& path, int depth, const QIcon& icon) {
        auto* entry = new QListWidgetItem(icon, text, this);
        entry->setData(kPathRole, path);
        entry->setToolTip(path);  // the whole path of a name shortened to the list's width
        entry->setData(kDepthRole, depth);
    };
    add(QStringLiteral("/"), QStringLiteral("/"), 0, openIcon);
    QString path;
    for (int i = 0; i < parts.size(); ++i) {
        path += QLatin1Char('/') + parts.at(i);
        add(parts.at(i), path, i + 1, openIcon);
    }
    openIndex_ = static_cast<int>(parts.size());
    const QString prefix = directory_ == QLatin1String("/") ? QString() : directory_;
    for (const QString& name : listSubFolders(directory_))
        add(name, prefix + QLatin1Char('/') + name, openIndex_ + 1, closedIcon);
    setCurrentRow(openIndex_);
}

}  // namespace tessaly
