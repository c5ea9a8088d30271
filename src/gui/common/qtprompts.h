#pragma once

#include "gui/common/prompts.h"

namespace tessaly {

// Prompts shown with Qt's message boxes, file dialog and colour dialog.
class QtPrompts : public Prompts {
public:
    void information(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text) override;
    Answer questionWithCancel(QWidget* parent, const QString& text) override;
    bool warningYesNo(QWidget* parent, const QString& caption, const QString& text) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& folder,
                         const QString& filter) override;
    std::optional<int> chooseColor(QWidget* parent, int colour) override;
};

}  // namespace tessaly
