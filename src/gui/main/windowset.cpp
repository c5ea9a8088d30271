#include "gui/main/windowset.h"

#include "gui/comments/commenteditor.h"
#include "gui/imaging/bmpconverterwindow.h"
#include "gui/imaging/rotationwindow.h"
#include "gui/main/aboutbox.h"
#include "gui/main/folderpicker.h"
#include "gui/main/helpviewer.h"
#include "gui/options/optionsdialog.h"
#include "gui/toc/contentswindow.h"

namespace tessaly {

WindowSet::WindowSet(MainWindow& main) : main_(main) {
    createWindows();
    connect(&main_, &MainWindow::windowRequested, this, &WindowSet::open);
    for (SecondaryWindow window :
         {SecondaryWindow::Options, SecondaryWindow::About, SecondaryWindow::Help,
          SecondaryWindow::Rotation, SecondaryWindow::Contents, SecondaryWindow::Converter,
          SecondaryWindow::Comments})
        main_.setWindowAvailable(window, isPresent(window));
}

WindowSet::~WindowSet() = default;

// Each window is built once, in this order, and placed relative to the main window's
// position at that moment; it is not placed again when it is shown later.
void WindowSet::createWindows() {
    AppContext& context = main_.context();
    picker_ = new FolderPicker(context, &main_);
    place(picker_, 80, 110);
    FolderPicker* picker = picker_;
    options_ =
        new OptionsDialog(context, &main_, [picker](const QString&) { return picker->choose(); });
    place(options_, 50, 95);
    about_ = new AboutBox(&main_);
    place(about_, 130, 130);
    rotation_ = new RotationWindow(context, &main_);
    place(rotation_, 80, 95);
    RotationWindow* rotation = rotation_;
    options_->setRotationQualityHandler(
        [rotation](int quality) { rotation->setRotateQuality(quality); });
    contents_ = new ContentsWindow(context, &main_);
    place(contents_, 50, 95);
    converter_ = new BmpConverterWindow(context, &main_);
    place(converter_, 50, 95);
    comments_ = new CommentEditor(context, &main_);
    place(comments_, 80, 95);
    comments_->setFolderPicker([picker](const QString&) { return picker->choose(); });
}

void WindowSet::place(QWidget* window, int left, int top) const {
    window->move(main_.x() + left, main_.y() + top);
}

bool WindowSet::isPresent(SecondaryWindow window) const {
    switch (window) {
        case SecondaryWindow::Options:
            return options_ != nullptr;
        case SecondaryWindow::About:
            return about_ != nullptr;
        case SecondaryWindow::Help:
            return true;  // made when first asked for
        case SecondaryWindow::Rotation:
            return rotation_ != nullptr;
        case SecondaryWindow::Contents:
            return contents_ != nullptr;
        case SecondaryWindow::Converter:
            return converter_ != nullptr;
        case SecondaryWindow::Comments:
            return comments_ != nullptr;
    }
    return false;
}

void WindowSet::open(SecondaryWindow window) {
    switch (window) {
        case SecondaryWindow::Options:
            return openOptions();
        case SecondaryWindow::About:
            return openAbout();
        case SecondaryWindow::Help:
            return openHelp();
        case SecondaryWindow::Rotation:
            return openRotation();
        case SecondaryWindow::Contents:
            return openContents();
        case SecondaryWindow::Converter:
            return openBmpConverter();
        case SecondaryWindow::Comments:
            return openComments();
    }
}

void WindowSet::openOptions() { options_->openModal(); }

void WindowSet::openAbout() { about_->exec(); }

void WindowSet::openRotation() { rotation_->openFor(main_.currentFolder(), main_.imageList()); }

void WindowSet::openContents() { contents_->openOn(main_.currentFolder()); }

void WindowSet::openBmpConverter() { converter_->openFor(main_.currentFolder()); }

void WindowSet::openComments() { comments_->openOn(main_.currentFolder()); }

void WindowSet::openHelp() {
    const QString path = HelpViewer::helpFileFor(main_.settings().appFolder);
    if (!help_) help_ = new HelpViewer(&main_);
    if (!help_->showContents(path)) {
        main_.context().prompts.error(&main_,
                                      QStringLiteral("ヘルプファイル %1 を開けません。").arg(path));
    }
}

}  // namespace tessaly
