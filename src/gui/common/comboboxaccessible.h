#pragma once

#include <QAccessibleWidget>

class QComboBox;

namespace tessaly {

// What a screen reader reads of a drop-down list: its name is its label's (its accessible
// name, or its buddy label's text), its value the entry it shows. Qt's own reading on Linux
// names a drop-down list by its value, so that "100" or "標準" is read where "タイトル
// テーブルの幅" is meant. Opening the list is its action, as with Qt's own.
class ComboBoxAccessible : public QAccessibleWidget {
public:
    explicit ComboBoxAccessible(QComboBox* box);

    // Makes every drop-down list of the program read so; done by each window that shows one
    // (installing twice is installing once).
    static void install();

    QString text(QAccessible::Text kind) const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;
    QAccessible::State state() const override;

private:
    QComboBox* box() const;
};

}  // namespace tessaly
