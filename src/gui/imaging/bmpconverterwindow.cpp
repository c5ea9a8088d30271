#include "gui/imaging/bmpconverterwindow.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QThread>
#include <algorithm>
#include <iterator>
#include <new>
#include <utility>

#include "core/conversion/bmpconversion.h"
#include "core/conversion/conversionrun.h"
#include "core/imaging/jobs/rotationjob.h"
#include "core/imaging/pixels/pixelimage.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/work/orderedpool.h"
#include "gui/common/elidedlabel.h"
#include "gui/common/filelist.h"
#include "gui/common/focusframe.h"
#include "gui/common/folderlist.h"
#include "gui/common/threadbridge.h"
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

// A control without a label of its own: its name and what it is for.
void describe(QWidget* control, const char* name, const char* description) {
    control->setAccessibleName(QString::fromUtf8(name));
    control->setAccessibleDescription(QString::fromUtf8(description));
}

int rounded(long double value) { return int(roundHalfEven(value)); }

// The file types of fileTypeBox: the files read, the caption before the masks and the
// heading of the list. The masks come from the format table.
struct FileType {
    BmpConversion::Source source;
    const char* caption;
    const char* heading;

    QString mask() const { return BmpConversion::masksOf(source).join(QLatin1Char(';')); }
    QString fullCaption() const {
        return QString::fromUtf8(caption) + QStringLiteral(" (") + mask() + QLatin1Char(')');
    }
};
const FileType kFileTypes[] = {
    {BmpConversion::Source::Bmp, "BMP", "BMPファイルリスト(&L)"},
    {BmpConversion::Source::Heif, "HEIC", "HEICファイルリスト(&L)"},
    {BmpConversion::Source::Other, "PNG・WebP・AVIF", "画像ファイルリスト(&L)"},
};
// How each file type is remembered in the settings.
const char* const kStoredTypes[] = {"BMP", "HEIC", "OTHER"};

}  // namespace

BmpConverterWindow::BmpConverterWindow(AppContext& context, QWidget* mainWindow)
    : QDialog(mainWindow), context_(context), bridge_(std::make_unique<ThreadBridge>()) {
    setObjectName(QStringLiteral("TBMPtoJPEG"));
    setWindowTitle(QStringLiteral("画像変換"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // Laid out at the designed size; larger, the lists take the room (see resizeEvent).
    setMinimumSize(kDesignedSize);
    resize(kDesignedSize);
    buildLists();
    buildPreview();
    buildRunControls();
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        designedPlaces_.emplace_back(control, control->geometry());
    resize(kDesignedSize + QSize(100, 40));  // room for long folder and file names
    placeWindow(mainWindow);
    for (int i = 1; i < int(std::size(kStoredTypes)); ++i) {
        if (context.settings.converterFileType == QLatin1String(kStoredTypes[i]))
            fileTypeBox->setCurrentIndex(i);
    }
}

BmpConverterWindow::~BmpConverterWindow() {
    stop_.requestStop();
    bridge_->close();
    if (worker_) finishing_.push_back(worker_);
    for (QThread* thread : finishing_) {
        thread->wait();
        delete thread;
    }
}

void BmpConverterWindow::setBeforeReading(std::function<void(const QString&)> hook) {
    beforeReading_ = std::move(hook);
}

// Extra width goes half to the folder list and half to the file list column, the preview
// and the buttons keeping to the right edge; extra height goes to both lists.
void BmpConverterWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int dx = qMax(0, width() - kDesignedSize.width());
    const int dy = qMax(0, height() - kDesignedSize.height());
    const int half = dx / 2;
    for (const auto& [control, place] : designedPlaces_) {
        QRect r = place;
        if (control == folderList || control == volumeBox) {
            r.setWidth(r.width() + half);
        } else if (place.left() >= 288 || control == statusLine) {
            if (control == statusLine) {
                r.setWidth(r.width() + dx);
            } else {
                r.translate(dx, 0);
            }
        } else if (place.left() >= 154) {
            r.translate(half, 0);
            if (control != qualityLabel && control != qualityBox) r.setWidth(r.width() + dx - half);
        }
        if (control == folderList || control == fileList) {
            r.setHeight(r.height() + dy);
        } else if (place.top() > 100 && control != previewFrame) {
            r.translate(0, dy);
        }
        control->setGeometry(r);
    }
}

void BmpConverterWindow::placeWindow(QWidget* mainWindow) {
    if (mainWindow) move(mainWindow->x() + 50, mainWindow->y() + 95);
}

void BmpConverterWindow::buildLists() {
    volumeBox = named(new VolumeBox(this), "Drive1");
    volumeBox->setGeometry(8, 8, 140, 22);
    folderList = named(new FolderList(this), "Dir1");
    folderList->setGeometry(8, 34, 140, 126);
    listLabel = named(new QLabel(QString::fromUtf8(kFileTypes[0].heading), this), "Label1");
    listLabel->setGeometry(154, 6, 128, 16);
    fileList = named(new FileList(this), "File1");
    fileList->setGeometry(154, 22, 128, 78);
    fileList->setMask(kFileTypes[0].mask());
    fileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    listLabel->setBuddy(fileList);
    fileTypeBox = named(new QComboBox(this), "FilterComboBox1");
    fileTypeBox->setGeometry(154, 102, 128, 20);
    fileTypeBox->view()->setMinimumWidth(180);  // the whole caption in the open list
    for (const FileType& type : kFileTypes) fileTypeBox->addItem(type.fullCaption());
    fileTypeBox->setToolTip(fileTypeBox->itemText(0));
    connect(fileTypeBox, &QComboBox::currentIndexChanged, this,
            &BmpConverterWindow::fileTypeChanged);
    describe(volumeBox, "ドライブ", "変換するファイルのあるドライブを選びます。");
    describe(folderList, "フォルダ", "変換するファイルのあるフォルダを開きます。");
    fileList->setAccessibleName(QStringLiteral("変換するファイル"));
    fileList->setAccessibleDescription(
        QStringLiteral("変換するファイルを選びます（複数選択できます）。"));
    describe(fileTypeBox, "ファイルの種類", "一覧に表示するファイルの種類を選びます。");
    showFocusClearly(*folderList);
    showFocusClearly(*fileList);
    // Whole names: the lists and the label shorten a long one in the middle, never clip it.
    folderList->fitEntriesToWidth();
    fileList->fitEntriesToWidth();
    fileNameLabel = named(new ElidedLabel(this), "Label3");
    fileNameLabel->setGeometry(154, 124, 128, 16);
    fileNameLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(volumeBox, &VolumeBox::driveChanged, this, &BmpConverterWindow::volumeChanged);
    connect(folderList, &FolderList::directoryChanged, this, &BmpConverterWindow::folderChanged);
    connect(folderList, &FolderList::openFailed, this, [this](const QString&) { fallBack(); });
}

void BmpConverterWindow::buildPreview() {
    previewFrame = named(new QFrame(this), "Panel1");
    previewFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    previewFrame->setGeometry(288, 8, kBox + 2 * kMargin, kBox + 2 * kMargin);
    previewImage = named(new QLabel(previewFrame), "Image2");
    previewImage->setGeometry(kMargin, kMargin, kBox, kBox);
    previewImage->setScaledContents(true);
    qualityLabel = named(new QLabel(QStringLiteral("JPEG圧縮率(&Q)"), this), "Label2");
    qualityLabel->setGeometry(154, 142, 84, 20);
    qualityBox = named(new QSpinBox(this), "SpinEdit1");
    qualityBox->setGeometry(238, 140, 46, 22);
    qualityBox->setRange(70, 100);
    qualityBox->setValue(95);
    qualityBox->setAccessibleDescription(
        QStringLiteral("作成するJPEGファイルの圧縮率です。（大きい数字の方が高画質です。）"));
    qualityLabel->setBuddy(qualityBox);
    convertButton = named(new QPushButton(QStringLiteral("変換"), this), "Button1");
    convertButton->setGeometry(288, 138, 61, 24);
    closeButton = named(new QPushButton(QStringLiteral("終了"), this), "Button2");
    closeButton->setGeometry(353, 138, 61, 24);
    convertButton->setDefault(true);  // Enter in a field converts
    connect(convertButton, &QPushButton::clicked, this, &BmpConverterWindow::convert);
    connect(closeButton, &QPushButton::clicked, this, &BmpConverterWindow::finish);
    statusLine = named(new QStatusBar(this), "StatusBar1");
    statusLine->setSizeGripEnabled(false);
    statusLine->setGeometry(0, 190, 418, 20);
    panel0_ = new QLabel(statusLine);
    panel0_->setObjectName(QStringLiteral("StatusBar1Panel0"));
    panel0_->setAccessibleDescription(QStringLiteral("変換の状況"));
    statusLine->addWidget(panel0_, 1);
}

// The stop button lies over the convert button and is shown only during a run.
void BmpConverterWindow::buildRunControls() {
    subfoldersCheck =
        named(new QCheckBox(QStringLiteral("サブフォルダも変換"), this), "SubfolderCheck");
    subfoldersCheck->setGeometry(8, 164, 152, 20);
    subfoldersCheck->setToolTip(
        QStringLiteral("サブフォルダにある同じ種類のファイルもすべて変換します。"));
    progressBar = named(new QProgressBar(this), "ConvertProgress");
    progressBar->setGeometry(164, 166, 250, 18);
    progressBar->setAccessibleName(QStringLiteral("変換の進み具合"));
    progressBar->setFormat(QStringLiteral("%v/%m"));
    progressBar->hide();
    stopButton = named(new QPushButton(QStringLiteral("中止"), this), "StopButton");
    stopButton->setGeometry(convertButton->geometry());
    stopButton->setToolTip(QStringLiteral("変換中のファイルを書き終えてから止めます。"));
    stopButton->hide();
    connect(stopButton, &QPushButton::clicked, this, &BmpConverterWindow::stop);
    setTabOrder(fileTypeBox, subfoldersCheck);  // what is converted, then how
    setTabOrder(subfoldersCheck, qualityBox);
    setTabOrder(convertButton, stopButton);
    setTabOrder(stopButton, closeButton);
}

// The selection stays when the window opens again on the folder it showed.
void BmpConverterWindow::prepare(const QString& folder) {
    const QString shown = fileList->directory();
    const QStringList selected = selectedNames();
    volumeBox->setDrive(folder);
    if (!folderList->setDirectory(folder)) {
        fallBack();
        return;
    }
    folderChanged(folderList->directory());
    if (fileList->directory() != shown) return;
    for (int i = 0; i < fileList->count(); ++i) {
        fileList->item(i)->setSelected(selected.contains(fileList->item(i)->text()));
    }
}

void BmpConverterWindow::openFor(const QString& folder) {
    prepare(folder);
    exec();
}

QString BmpConverterWindow::statusText() const { return panel0_->text(); }

void BmpConverterWindow::volumeChanged(const QString& root) {
    if (!folderList->setDirectory(root)) fallBack();
}

void BmpConverterWindow::folderChanged(const QString& path) {
    if (!QFileInfo(path).isReadable()) {
        fallBack();
        return;
    }
    fileList->setDirectory(path);
}

void BmpConverterWindow::fileTypeChanged(int index) {
    if (index < 0 || index >= int(std::size(kFileTypes))) return;
    listLabel->setText(QString::fromUtf8(kFileTypes[index].heading));
    fileTypeBox->setToolTip(fileTypeBox->itemText(index));
    fileList->setMask(kFileTypes[index].mask());
    rememberFileType(QLatin1String(kStoredTypes[index]));
}

// The file type chosen last is the one the window opens with, also after a restart. Should
// the settings file not take it, it holds for this session.
void BmpConverterWindow::rememberFileType(const QString& type) {
    CatalogSettings& settings = context_.settings;
    if (settings.converterFileType == type ||
        (settings.converterFileType.isEmpty() && type == QLatin1String(kStoredTypes[0]))) {
        return;
    }
    settings.converterFileType = type;
    try {
        saveSetting(settings, &CatalogSettings::converterFileType);
    } catch (const Error&) {
    }
}

BmpConversion::Source BmpConverterWindow::chosenSource() const {
    const int index = fileTypeBox->currentIndex();
    if (index < 0 || index >= int(std::size(kFileTypes))) return BmpConversion::Source::Bmp;
    return kFileTypes[index].source;
}

// A drive or folder that cannot be read: the lists move to the program's folder (an
// installed copy's: the user's home folder).
void BmpConverterWindow::fallBack() {
    const QString home = context_.settings.homeFolder();
    volumeBox->setDrive(home);
    folderList->setDirectory(home);
    fileList->setDirectory(folderList->directory());
}

void BmpConverterWindow::finish() { reject(); }

QRect BmpConverterWindow::previewRect(int w, int h) {
    if (w <= 0 || h <= 0) return QRect(kMargin, kMargin, kBox, kBox);
    if (h < w) {
        const long double side = (long double)(qint64(h) * kBox) / w;
        return QRect(kMargin, kMargin + rounded((kBox - side) / 2), kBox, qMax(1, rounded(side)));
    }
    const long double side = (long double)(qint64(w) * kBox) / h;
    return QRect(kMargin + rounded((kBox - side) / 2), kMargin, qMax(1, rounded(side)), kBox);
}

void BmpConverterWindow::showPreview(const QImage& picture, int width, int height) {
    previewImage->hide();
    previewImage->clear();
    previewImage->setPixmap(QPixmap::fromImage(picture));
    previewImage->setGeometry(previewRect(width, height));
    previewImage->show();
}

QStringList BmpConverterWindow::selectedNames() const {
    QStringList names;
    for (int i = 0; i < fileList->count(); ++i) {
        if (fileList->item(i)->isSelected()) names << fileList->item(i)->text();
    }
    return names;
}

// The selected files and, with subfoldersCheck, those of every sub-folder.
QStringList BmpConverterWindow::filesToConvert() const {
    const QString folder = fileList->directory();
    QStringList files;
    for (const QString& name : selectedNames()) files << folderPath(folder) + name;
    if (!subfoldersCheck->isChecked()) return files;
    const auto source = chosenSource();
    for (const QString& file : ConversionRun::filesOf(folder, source, true)) {
        if (QFileInfo(file).absolutePath() != QFileInfo(folder).absoluteFilePath()) files << file;
    }
    return files;
}

void BmpConverterWindow::convert() {
    if (isConverting()) return;
    const QStringList files = filesToConvert();
    if (files.isEmpty()) {
        context_.prompts.information(this, RotationJob::noFileMessage());
        return;
    }
    panel0_->setText(BmpConversion::convertingStatus(chosenSource()));
    progressBar->setRange(0, int(files.size()));
    progressBar->setValue(0);
    progressBar->show();
    setRunning(true);
    startWorker(files);
}

// During a run only the stop button acts; it takes the focus so that Enter or Space stops.
void BmpConverterWindow::setRunning(bool running) {
    running_ = running;
    for (QWidget* control :
         std::initializer_list<QWidget*>{volumeBox, folderList, fileList, fileTypeBox, qualityBox,
                                         subfoldersCheck, closeButton}) {
        control->setEnabled(!running);
    }
    convertButton->setVisible(!running);
    stopButton->setVisible(running);
    if (running) stopButton->setFocus();
    if (!running) convertButton->setFocus();
}

// The files are read and encoded by workers; what the user sees and answers comes back to
// this thread through the bridge, in the order of the files.
// A stopped run's thread may still wait for the reads in hand: it finishes on its own while
// the next run starts at once.
void BmpConverterWindow::startWorker(const QStringList& files) {
    if (worker_) finishing_.push_back(worker_);
    worker_ = nullptr;
    finishing_.erase(std::remove_if(finishing_.begin(), finishing_.end(),
                                    [](QThread* thread) {
                                        if (!thread->isFinished()) return false;
                                        delete thread;
                                        return true;
                                    }),
                     finishing_.end());
    stop_ = StopToken();
    ++runNumber_;
    const BmpConversion conversion(qualityBox->value(), chosenSource());
    worker_ = QThread::create([this, files, conversion, hooks = runHooks(), stop = stop_,
                               run = runNumber_, before = beforeReading_] {
        const auto ended = [this, run](int failure, const QString& message) {
            bridge_->post([this, run, failure, message] {
                if (run == runNumber_) conversionEnded(failure, message);
            });
        };
        try {
            ConversionRun conversionRun(conversion, PoolPlanning::defaultWorkers(), stop);
            conversionRun.setBeforeReading(before);
            conversionRun.run(
                files, hooks,
                [this, run](int k, const BmpConversion::Result&) {
                    bridge_->post([this, run, k] {
                        if (run == runNumber_ && running_) progressBar->setValue(k + 1);
                    });
                },
                [&ended](const BmpConversion::Result& all) {
                    ended(int(all.failure), all.message);
                });
        } catch (const std::bad_alloc&) {
            ended(-1, outOfMemoryMessage());
        } catch (const Error& error) {
            ended(-1, error.message());
        }
    });
    worker_->start();
}

// What the workers tell the window (through the bridge) and ask it.
// Each call checks on this thread that its run is still the one going on: what a stopped run
// still reads after its stop message is dropped.
BmpConversion::Hooks BmpConverterWindow::runHooks() {
    const int run = runNumber_;
    const auto current = [this, run] { return run == runNumber_ && running_; };
    BmpConversion::Hooks hooks;
    hooks.starting = [this, current](const QString& name) {
        bridge_->post([this, current, name] {
            if (!current()) return;
            fileNameLabel->setText(name);
            fileNameLabel->setToolTip(name);
        });
    };
    hooks.loaded = [this, current](const PixelImage& picture) {
        const QImage shown = DisplayPicture::toImage(picture).scaled(
            kBox, kBox, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        bridge_->post([this, current, shown, w = picture.width(), h = picture.height()] {
            if (current()) showPreview(shown, w, h);
        });
    };
    hooks.overwrite = [this, current](const QString& output) {
        return bridge_->ask<bool>(
            [this, current, output] {
                return current() &&
                       context_.prompts.warningYesNo(this, QStringLiteral("警告"),
                                                     BmpConversion::overwriteQuestion(output));
            },
            false);
    };
    hooks.stopped = [stop = stop_] { return stop.stopRequested(); };
    return hooks;
}

void BmpConverterWindow::stop() {
    stop_.requestStop();
    stopButton->setEnabled(false);
}

void BmpConverterWindow::conversionEnded(int failure, const QString& message) {
    stopButton->setEnabled(true);
    setRunning(false);
    switch (BmpConversion::Failure(failure)) {
        case BmpConversion::Failure::None:
            panel0_->setText(BmpConversion::finishedStatus());
            break;
        case BmpConversion::Failure::Stopped:
            panel0_->setText(QStringLiteral("処理は中断されました。"));
            break;
        case BmpConversion::Failure::Write:
            panel0_->clear();
            context_.prompts.error(this, BmpConversion::writeErrorMessage());
            break;
        default:  // unreadable, or a failure nobody foresaw
            panel0_->clear();
            context_.prompts.error(this, message);
            break;
    }
    if (std::exchange(closeAfterRun_, false)) QDialog::reject();
}

// Esc stops a run (and closes the window otherwise); closing during a run stops it first.
void BmpConverterWindow::reject() {
    if (!isConverting()) {
        QDialog::reject();
        return;
    }
    closeAfterRun_ = true;
    stop();
}

void BmpConverterWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && isConverting()) {
        stop();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace tessaly
