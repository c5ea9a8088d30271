#include "gui/common/comboboxaccessible.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

namespace tessaly {
namespace {

QAccessibleInterface* comboBoxFactory(const QString& /*className*/, QObject* object) {
    auto* box = qobject_cast<QComboBox*>(object);
    return box ? new ComboBoxAccessible(box) : nullptr;
}

}  // namespace

ComboBoxAccessible::ComboBoxAccessible(QComboBox* box)
    : QAccessibleWidget(box, QAccessible::ComboBox) {}

void ComboBoxAccessible::install() { QAccessible::installFactory(comboBoxFactory); }

QComboBox* ComboBoxAccessible::box() const { return static_cast<QComboBox*>(widget()); }

QString ComboBoxAccessible::text(QAccessible::Text kind) const {
    if (kind != QAccessible::Value) return QAccessibleWidget::text(kind);
    return box()->isEditable() && box()->lineEdit() ? box()->lineEdit()->text()
                                                    : box()->currentText();
}

QStringList ComboBoxAccessible::actionNames() const {
    return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
}

void ComboBoxAccessible::doAction(const QString& action) {
    if (action != showMenuAction() && action != pressAction()) {
        QAccessibleWidget::doAction(action);
    } else if (box()->view()->isVisible()) {
        box()->hidePopup();
    } else {
        box()->showPopup();
    }
}

QAccessible::State ComboBoxAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.expanded = box()->view()->isVisible();
    state.editable = box()->isEditable();
    return state;
}

}  // namespace tessaly
