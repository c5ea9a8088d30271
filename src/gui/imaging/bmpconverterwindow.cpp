#include "gui/imaging/bmpconverterwindow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <iterator>
#include <new>

#include "core/imaging/bmpconversion.h"
#include "core/imaging/pixelimage.h"
#include "core/imaging/rotationjob.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "gui/common/elidedlabel.h"
#include "gui/common/filelist.h"
#include "gui/common/folderlist.h"
#include "gui/common/volumebox.h"
#include "gui/imaging/displaypicture.h"

namespace tessaly {

namespace {

const int kBox = 116;
const int kMargin = 5;

template <typename T>
T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

int rounded(long double value) { return int(roundHalfEven(value)); }

// The file types of FilterComboBox1: caption, mask and heading of the list.
struct FileType {
    const char* caption;
    const char* mask;
    const char* heading;
};
const FileType kFileTypes[] = {
    {"BMP (*.bmp)", "*.bmp", "BMPファイルリスト"},
    {"HEIC (*.heic;*.heif)", "*.heic;*.heif", "HEICファイルリスト"},
};

}  // namespace

BmpConverterWindow::BmpConverterWindow(AppContext& context, QWidget* mainWindow)
    : QDialog(mainWindow), context_(context) {
    setObjectName(QStringLiteral("TBMPtoJPEG"));
    setWindowTitle(QStringLiteral("BMP-JPG変換"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(418, 185);
    buildLists();
    buildPreview();
    FormCreate(mainWindow);
}

void BmpConverterWindow::FormCreate(QWidget* mainWindow) {
    if (mainWindow) move(mainWindow->x() + 50, mainWindow->y() + 95);
}

void BmpConverterWindow::buildLists() {
    Drive1 = named(new VolumeBox(this), "Drive1");
    Drive1->setGeometry(8, 8, 140, 22);
    Dir1 = named(new FolderList(this), "Dir1");
    Dir1->setGeometry(8, 34, 140, 126);
    Label1 = named(new QLabel(QStringLiteral("BMPファイルリスト"), this), "Label1");
    Label1->setGeometry(154, 6, 128, 16);
    File1 = named(new FileList(this), "File1");
    File1->setGeometry(154, 22, 128, 78);
    File1->setMask(QStringLiteral("*.bmp"));
    File1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FilterComboBox1 = named(new QComboBox(this), "FilterComboBox1");
    FilterComboBox1->setGeometry(154, 102, 128, 20);
    FilterComboBox1->view()->setMinimumWidth(180);  // the whole caption in the open list
    for (const FileType& type : kFileTypes)
        FilterComboBox1->addItem(QString::fromUtf8(type.caption));
    connect(FilterComboBox1, &QComboBox::currentIndexChanged, this,
            &BmpConverterWindow::FilterComboBox1Change);
    // Whole names: the lists and the label shorten a long one in the middle, never clip it.
    Dir1->fitEntriesToWidth();
    File1->fitEntriesToWidth();
    Label3 = named(new ElidedLabel(this), "Label3");
    Label3->setGeometry(154, 124, 128, 16);
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(Drive1, &VolumeBox::driveChanged, this, &BmpConverterWindow::Drive1Change);
    connect(Dir1, &FolderList::directoryChanged, this, &BmpConverterWindow::Dir1Change);
    connect(Dir1, &FolderList::openFailed, this, [this](const QString&) { fallBack(); });
}

void BmpConverterWindow::buildPreview() {
    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setGeometry(288, 8, kBox + 2 * kMargin, kBox + 2 * kMargin);
    Image2 = named(new QLabel(Panel1), "Image2");
    Image2->setGeometry(kMargin, kMargin, kBox, kBox);
    Image2->setScaledContents(true);
    Label2 = named(new QLabel(QStringLiteral("JPEG圧縮率"), this), "Label2");
    Label2->setGeometry(154, 142, 72, 20);
    SpinEdit1 = named(new QSpinBox(this), "SpinEdit1");
    SpinEdit1->setGeometry(226, 140, 56, 22);
    SpinEdit1->setRange(70, 100);
    SpinEdit1->setValue(95);
    Button1 = named(new QPushButton(QStringLiteral("変換"), this), "Button1");
    Button1->setGeometry(288, 138, 61, 24);
    Button2 = named(new QPushButton(QStringLiteral("終了"), this), "Button2");
    Button2->setGeometry(353, 138, 61, 24);
    for (QPushButton* button : {Button1, Button2}) button->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &BmpConverterWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &BmpConverterWindow::Button2Click);
    StatusBar1 = named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setGeometry(0, 165, 418, 20);
    panel0_ = new QLabel(StatusBar1);
    panel0_->setObjectName(QStringLiteral("StatusBar1Panel0"));
    StatusBar1->addWidget(panel0_, 1);
}

// The selection stays when the window opens again on the folder it showed.
void BmpConverterWindow::prepare(const QString& folder) {
    const QString shown = File1->directory();
    const QStringList selected = selectedNames();
    Drive1->setDrive(folder);
    if (!Dir1->setDirectory(folder)) {
        fallBack();
        return;
    }
    Dir1Change(Dir1->directory());
    if (File1->directory() != shown) return;
    for (int i = 0; i < File1->count(); ++i) {
        File1->item(i)->setSelected(selected.contains(File1->item(i)->text()));
    }
}

void BmpConverterWindow::openFor(const QString& folder) {
    prepare(folder);
    exec();
}

QString BmpConverterWindow::statusText() const { return panel0_->text(); }

void BmpConverterWindow::Drive1Change(const QString& root) {
    if (!Dir1->setDirectory(root)) fallBack();
}

void BmpConverterWindow::Dir1Change(const QString& path) {
    if (!QFileInfo(path).isReadable()) {
        fallBack();
        return;
    }
    File1->setDirectory(path);
}

void BmpConverterWindow::FilterComboBox1Change(int index) {
    if (index < 0 || index >= int(std::size(kFileTypes))) return;
    Label1->setText(QString::fromUtf8(kFileTypes[index].heading));
    File1->setMask(QString::fromUtf8(kFileTypes[index].mask));
}

bool BmpConverterWindow::heifChosen() const { return FilterComboBox1->currentIndex() == 1; }

// A drive or folder that cannot be read: the lists move to the program's folder (an
// installed copy's: the user's home folder).
void BmpConverterWindow::fallBack() {
    const QString home = context_.settings.homeFolder();
    Drive1->setDrive(home);
    Dir1->setDirectory(home);
    File1->setDirectory(Dir1->directory());
}

void BmpConverterWindow::Button2Click() { reject(); }

QRect BmpConverterWindow::previewRect(int w, int h) {
    if (w <= 0 || h <= 0) return QRect(kMargin, kMargin, kBox, kBox);
    if (h < w) {
        const long double side = (long double)(qint64(h) * kBox) / w;
        return QRect(kMargin, kMargin + rounded((kBox - side) / 2), kBox, qMax(1, rounded(side)));
    }
    const long double side = (long double)(qint64(w) * kBox) / h;
    return QRect(kMargin + rounded((kBox - side) / 2), kMargin, qMax(1, rounded(side)), kBox);
}

void BmpConverterWindow::showPreview(const PixelImage& picture) {
    Image2->hide();
    Image2->clear();
    Image2->setPixmap(QPixmap::fromImage(DisplayPicture::toImage(picture)));
    Image2->setGeometry(previewRect(picture.Width(), picture.Height()));
    Image2->show();
    Image2->repaint();
}

QStringList BmpConverterWindow::selectedNames() const {
    QStringList names;
    for (int i = 0; i < File1->count(); ++i) {
        if (File1->item(i)->isSelected()) names << File1->item(i)->text();
    }
    return names;
}

void BmpConverterWindow::Button1Click() {
    const QStringList names = selectedNames();
    if (names.isEmpty()) {
        context_.prompts.information(this, RotationJob::noFileMessage());
        return;
    }
    const auto source = heifChosen() ? BmpConversion::Source::Heif : BmpConversion::Source::Bmp;
    panel0_->setText(BmpConversion::convertingStatus(source));
    panel0_->repaint();
    BmpConversion::Hooks hooks;
    hooks.starting = [this](const QString& name) {
        Label3->setText(name);
        Label3->setToolTip(name);
        Label3->repaint();
    };
    hooks.loaded = [this](const PixelImage& picture) { showPreview(picture); };
    hooks.overwrite = [this](const QString& output) {
        return context_.prompts.warningYesNo(this, QStringLiteral("警告"),
                                             BmpConversion::overwriteQuestion(output));
    };
    BmpConversion::Result result;
    try {
        result = BmpConversion(SpinEdit1->value(), source).run(Dir1->directory(), names, hooks);
    } catch (const std::bad_alloc&) {
        panel0_->clear();
        context_.prompts.error(this, outOfMemoryMessage());
        return;
    }
    switch (result.failure) {
        case BmpConversion::Failure::None:
            panel0_->setText(BmpConversion::finishedStatus());
            return;
        case BmpConversion::Failure::Read:
            panel0_->clear();
            context_.prompts.error(this, result.message);
            return;
        case BmpConversion::Failure::Write:
            panel0_->clear();
            context_.prompts.error(this, BmpConversion::writeErrorMessage());
            return;
    }
}

}  // namespace tessaly
