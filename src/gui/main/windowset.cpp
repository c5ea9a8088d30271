#include "gui/main/windowset.h"

#include <QAction>
#include <QPushButton>

#include "core/text/formatting.h"
#include "gui/main/helpviewer.h"
#include "gui/main/tabout.h"
#include "gui/main/tmain.h"
#include "gui/main/topenfolda.h"

namespace tessaly {

WindowSet::WindowSet(TMain& main) : main_(main) {
    picker_ = new TOpenfolda(main.context(), &main);
    about_ = new TAbout(&main);
    connectActions();
    updateActions();
}

WindowSet::~WindowSet() = default;

void WindowSet::connectActions() {
    connect(main_.Object1, &QAction::triggered, this, &WindowSet::openOptions);
    connect(main_.About1, &QAction::triggered, this, &WindowSet::openAbout);
    connect(main_.Contents1, &QAction::triggered, this, &WindowSet::openHelp);
    connect(main_.Button6, &QPushButton::clicked, this, &WindowSet::openRotation);
    connect(main_.N1, &QAction::triggered, this, &WindowSet::openRotation);
    connect(main_.N3, &QAction::triggered, this, &WindowSet::openContents);
    connect(main_.BMP1, &QAction::triggered, this, &WindowSet::openBmpConverter);
    connect(main_.N9, &QAction::triggered, this, &WindowSet::openComments);
}

void WindowSet::updateActions() {
    main_.Object1->setEnabled(options_ != nullptr);
    main_.Button6->setEnabled(false);
    main_.N1->setEnabled(false);
    main_.N3->setEnabled(contents_ != nullptr);
    main_.BMP1->setEnabled(false);
    main_.N9->setEnabled(comments_ != nullptr);
}

void WindowSet::openOptions() {}

void WindowSet::openAbout() { about_->exec(); }

void WindowSet::openRotation() {}

void WindowSet::openContents() {}

void WindowSet::openBmpConverter() {}

void WindowSet::openComments() {}

void WindowSet::openHelp() {
    const QString path = folderPath(main_.settings().appFolder) + QStringLiteral("Quorvel.hlp");
    if (!help_) help_ = new HelpViewer(&main_);
    if (!help_->showContents(path)) {
        main_.context().prompts.error(&main_,
                                      QStringLiteral("ヘルプファイル %1 を開けません。").arg(path));
    }
}

}  // namespace tessaly
