#include "gui/comments/commenteditor.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <csignal>

#include "core/comments/commenttable.h"
#include "core/settings/catalogsettings.h"
#include "core/text/textfile.h"
#include "gui/comments/commentfilltexts.h"
#include "gui/support/findchild.h"
#include "gui/support/scriptedprompts.h"
#include "support/otheruser.h"
#include "support/tempdir.h"
#include "support/testformats.h"
#include "support/testheif.h"
#include "support/testimages.h"

using namespace tessaly;
using tessaly::test::sjisBytes;
using tessaly::test::sjisLines;
using tessaly::test::TempDir;

namespace {

const QString kSep = QStringLiteral("*****************************");

QByteArray commentFile(const QStringList& lines) {
    return sjisBytes(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

class CommentEditorTest : public ::testing::Test {
protected:
    CommentEditorTest() : context{settings, prompts, shell}, editor(context, &mainWindow) {
        picked = std::make_shared<std::deque<QString>>();
        auto queue = picked;
        editor.setFolderPicker([this, queue](const QString& current) {
            pickerCalls << current;
            if (queue->empty()) return QString();
            const QString folder = queue->front();
            queue->pop_front();
            return folder;
        });
    }

    // Images in dir with a comment file giving b.jpg "old"; b.jpg is then given `comment`, not
    // yet saved. Returns the comment file as it was.
    QByteArray commentFileWithEdit(const TempDir& dir, const QString& comment) {
        makeImages(dir);
        const QByteArray old =
            commentFile({kSep, QStringLiteral("b.jpg"), QStringLiteral("old"), QString()});
        dir.write(QStringLiteral("PicComment.txt"), old);
        EXPECT_TRUE(editor.loadFolder(dir.path()));
        select(1);
        type(comment, QString());
        click("Button2");
        return old;
    }

    // Loads a folder holding a.jpg, gives a.jpg the comment "kept", then removes the folder.
    void editThenRemoveFolder(const QString& folder) {
        QDir().mkpath(folder);
        test::writeTestJpeg(folder + QStringLiteral("/a.jpg"), 8, 8);
        ASSERT_TRUE(editor.loadFolder(folder));
        select(0);
        type(QStringLiteral("kept"), QString());
        click("Button2");
        QDir(folder).removeRecursively();
    }

    // A folder with three JPEG files and one that is not listed.
    void makeImages(const TempDir& dir) {
        test::writeTestJpeg(dir.file(QStringLiteral("b.jpg")), 640, 480);
        test::writeTestJpeg(dir.file(QStringLiteral("A.JPG")), 480, 640);
        test::writeTestJpeg(dir.file(QStringLiteral("c.jpg")), 64, 64);
        dir.write(QStringLiteral("notes.txt"), "x");
    }

    template <typename W>
    W* child(const char* name) {
        return test::child<W>(editor, name);
    }
    QListWidget* list() { return child<QListWidget>("File1"); }
    QLineEdit* edit1() { return child<QLineEdit>("Edit1"); }
    QLineEdit* edit2() { return child<QLineEdit>("Edit2"); }
    void trigger(const char* action) { child<QAction>(action)->trigger(); }
    void click(const char* name) { child<QPushButton>(name)->click(); }
    void select(int row) { list()->setCurrentRow(row); }

    void type(const QString& first, const QString& second) {
        edit1()->setText(first);
        edit2()->setText(second);
    }

    CatalogSettings settings;
    test::ScriptedPrompts prompts;
    test::RecordingShell shell;
    AppContext context;
    QWidget mainWindow;
    CommentEditor editor;
    std::shared_ptr<std::deque<QString>> picked;
    QStringList pickerCalls;
};

// Lines typed for one file and not stored with 更新 are saved, dropped or kept, as the user
// answers, when another file is clicked; stored lines are left without a question.
TEST_F(CommentEditorTest, LeavingTypedLinesAsksWhetherToSaveThem) {
    using Answer = Prompts::Answer;
    const struct {
        bool update;
        Answer answer;
        const char* stored;
        int selectedRow;
        const char* shown;
    } rows[] = {{false, Answer::Yes, "typed", 1, ""},
                {false, Answer::No, "", 1, ""},
                {false, Answer::Cancel, "", 0, "typed"},
                {true, Answer::Cancel, "typed", 1, ""}};
    TempDir dir;
    makeImages(dir);
    for (const auto& row : rows) {
        ASSERT_TRUE(editor.loadFolder(dir.path()));
        prompts.log.clear();
        prompts.choices = {row.answer};
        select(0);
        for (const QChar c : QStringLiteral("typed")) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key(c.toUpper().unicode()), Qt::NoModifier, c);
            QApplication::sendEvent(edit1(), &key);
        }
        if (row.update) click("Button2");
        select(1);
        const QStringList asked{QStringLiteral("question3: 変更を保存しますか？")};
        EXPECT_EQ(prompts.log, row.update ? QStringList() : asked);
        EXPECT_EQ(editor.comments().lookUp(list()->item(0)->text()).first, row.stored);
        EXPECT_EQ(editor.isModified(), QString(row.stored) == "typed");
        // Kept lines are not yet in the file: closing will ask about them.
        EXPECT_EQ(editor.hasUnsavedComments(), QString(row.stored) == "typed");
        EXPECT_EQ(list()->currentRow(), row.selectedRow);
        EXPECT_EQ(edit1()->text(), row.shown);
    }
}

TEST(CommentFillTexts, SizeInTenthsOfAKilobyteRoundedHalfToEven) {
    EXPECT_EQ(commentSizeText(256), QStringLiteral("0.2KB"));  // 2.5 tenths -> 2
    EXPECT_EQ(commentSizeText(12345), QStringLiteral("12.1KB"));
    EXPECT_EQ(commentSizeText(1000), QStringLiteral("1.0KB"));
    EXPECT_EQ(commentSizeText(0), QStringLiteral("0.0KB"));
    EXPECT_EQ(commentSizeText(768), QStringLiteral("0.8KB"));  // 7.5 tenths -> 8
    EXPECT_EQ(commentSizeText(10240), QStringLiteral("10.0KB"));
}

TEST(CommentFillTexts, NameAndDateTexts) {
    EXPECT_EQ(commentNameText(QStringLiteral("IMG_0001.jpg"), true), QStringLiteral("IMG_0001"));
    EXPECT_EQ(commentNameText(QStringLiteral("IMG_0001.jpg"), false),
              QStringLiteral("IMG_0001.jpg"));
    EXPECT_EQ(commentNameText(QStringLiteral("写真.jpg"), true), QStringLiteral("写真"));
    EXPECT_EQ(commentNameText(QStringLiteral("IMG_0001.HEIC"), true), QStringLiteral("IMG_0001"));
    EXPECT_EQ(commentNameText(QStringLiteral("花.webp"), true), QStringLiteral("花"));
    EXPECT_EQ(commentNameText(QStringLiteral("a.png"), true), QStringLiteral("a"));
    // yy/MM/dd whatever the locale: a locale's short format cut to 8 characters would lose
    // the day ("2026/12/") or read as another year ("7 Dec 20").
    const QDateTime when(QDate(2026, 12, 7), QTime(9, 5));
    for (const char* locale : {"ja_JP", "C", "en_GB", "de_DE"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
        EXPECT_EQ(commentDateText(when), QStringLiteral("26/12/07")) << locale;
    }
    QLocale::setDefault(QLocale::system());
    EXPECT_EQ(commentDateText(QDateTime(QDate(2001, 1, 31), QTime(23, 59))), "01/01/31");
}

TEST(CommentPreview, LongerSideFittedTo150AndCentredBelowTheHeading) {
    const QSize panel(171, 172);
    EXPECT_EQ(CommentEditor::previewRect(QSize(640, 480), panel), QRect(10, 40, 150, 112));
    EXPECT_EQ(CommentEditor::previewRect(QSize(480, 640), panel), QRect(29, 21, 112, 150));
    EXPECT_EQ(CommentEditor::previewRect(QSize(300, 300), panel), QRect(10, 21, 150, 150));
    // 150 * 3 / 4 = 112.5 goes down to 112, 150 * 7 / 20 = 52.5 down to 52, 53.5 up to 54.
    EXPECT_EQ(CommentEditor::previewRect(QSize(200, 70), panel).height(), 52);
    EXPECT_EQ(CommentEditor::previewRect(QSize(300, 107), panel).height(), 54);
}

TEST_F(CommentEditorTest, ListsTheJpegFilesAndShowsTheCount) {
    TempDir dir;
    makeImages(dir);
    ASSERT_TRUE(editor.loadFolder(dir.path()));
    EXPECT_EQ(editor.fileNames(), QStringList({QStringLiteral("A.JPG"), QStringLiteral("b.jpg"),
                                               QStringLiteral("c.jpg")}));
    EXPECT_EQ(editor.panelText(0), QStringLiteral("ファイル数＝3"));
    TempDir empty;
    ASSERT_TRUE(editor.loadFolder(empty.path()));
    EXPECT_EQ(editor.panelText(0), QStringLiteral("ファイル数＝0"));
    // With the formats switch on, every photograph the catalogue takes, by name, each shown.
    test::writeFile(dir.file(QStringLiteral("d.png")), test::makeTestPng(40, 30));
    test::writeFile(dir.file(QStringLiteral("IMG_0001.HEIC")), test::makeTestHeic(30, 40));
    test::writeFile(dir.file(QStringLiteral("e.webp")), test::makeTestWebp(40, 40));
    settings.otherFormats = QStringLiteral("on");
    ASSERT_TRUE(editor.loadFolder(dir.path()));
    EXPECT_EQ(editor.fileNames(),
              QStringList({"A.JPG", "b.jpg", "c.jpg", "d.png", "e.webp", "IMG_0001.HEIC"}));
    EXPECT_EQ(editor.panelText(0), QStringLiteral("ファイル数＝6"));
    const auto* image = child<QLabel>("Image1");
    const QSize shown[] = {{150, 112}, {150, 150}, {112, 150}};
    for (int row = 3; row < 6; ++row) {
        select(row);
        EXPECT_TRUE(image->isVisibleTo(&editor)) << row;
        EXPECT_EQ(image->size(), shown[row - 3]) << row;
    }
    EXPECT_TRUE(prompts.log.isEmpty()) << prompts.log.join(QLatin1Char('\n')).toStdString();
}

// Lines can be typed only while a photograph is selected, so that none is lost by choosing one.
TEST_F(CommentEditorTest, CommentLinesTakeTypingOnlyForASelectedPhoto) {
    TempDir dir;
    makeImages(dir);
    ASSERT_TRUE(editor.loadFolder(dir.path()));
    EXPECT_FALSE(edit1()->isEnabled());
    EXPECT_FALSE(edit2()->isEnabled());
    select(1);
    EXPECT_TRUE(edit1()->isEnabled());
    EXPECT_TRUE(edit2()->isEnabled());
    ASSERT_TRUE(editor.loadFolder(dir.path()));
    EXPECT_FALSE(edit1()->isEnabled());
}

TEST_F(CommentEditorTest, SelectingAFileShowsItsPreviewAndComments) {
    TempDir dir;
    makeImages(dir);
    dir.write(QStringLiteral("PicComment.txt"),
              commentFile({kSep, QStringLiteral("B.JPG"), QStringLiteral("海"),
                           QStringLiteral(" 二行目 ")}));
    ASSERT_TRUE(editor.loadFolder(dir.path()));
    auto* image = child<QLabel>("Image1");
    select(1);  // b.jpg, 640 x 480
    EXPECT_EQ(edit1()->text(), QStringLiteral("海"));
    EXPECT_EQ(edit2()->text(), QStringLiteral(" 二行目 "));
    EXPECT_TRUE(image->isVisibleTo(child<QWidget>("Panel3")));
    EXPECT_EQ(image->size(), QSize(150, 112));
    select(0);  // A.JPG, 480 x 640, no comments
    EXPECT_EQ(image->size(), QSize(112, 150));
    EXPECT_EQ(edit1()->text(), QString());
    EXPECT_EQ(edit2()->text(), QString());
    select(2);
    EXPECT_EQ(image->size(), QSize(150, 150));
    EXPECT_TRUE(prompts.log.isEmpty()) << prompts.log.join(QLatin1Char('\n')).toStdString();
}

TEST_F(CommentEditorTest, UndecodableImageIsReportedAndItsCommentsStillShown) {
    TempDir dir;
    dir.write(QStringLiteral("bad.jpg"), "not a jpeg");
    dir.write(QStringLiteral("PicComment.txt"),
              commentFile(
                  {kSep, QStringLiteral("bad.jpg"), QStringLiteral("one"), QStringLiteral("two")}));
    ASSERT_TRUE(editor.loadFolder(dir.path()));
    edit1()->setText(QStringLiteral("stale"));
    select(0);
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log[0].endsWith(QStringLiteral("表示できません。")))
        << prompts.log[0].toStdString();
    EXPECT_EQ(edit1()->text(), QStringLiteral("one"));
    EXPECT_FALSE(child<QLabel>("Image1")->isVisibleTo(&editor));
}

TEST_F(CommentEditorTest, UpdateStoresTheLinesOfTheSelectedFileAndSetsModified) {
    TempDir dir;
    makeImages(dir);
    ASSERT_TRUE(editor.loadFolder(dir.path()));
    type(QStringLiteral("x"), QStringLiteral("y"));
    click("Button2");  // nothing selected
    EXPECT_FALSE(editor.isModified());
    EXPECT_EQ(editor.comments().size(), 0);

    select(2);
    type(QStringLiteral("夕日"), QStringLiteral("2026"));
    click("Button2");
    EXPECT_TRUE(editor.isModified());
    EXPECT_EQ(editor.comments().lookUp(QStringLiteral("c.jpg")).first, QStringLiteral("夕日"));
    click("Button1");
    EXPECT_EQ(prompts.log.last(), QStringLiteral("information: コメントファイルを保存しました。"));
    EXPECT_EQ(
        sjisLines(dir.read(QStringLiteral("PicComment.txt"))),
        QStringList({kSep, QStringLiteral("A.JPG"), QString(), QString(), kSep,
                     QStringLiteral("b.jpg"), QString(), QString(), kSep, QStringLiteral("c.jpg"),
                     QStringLiteral("夕日"), QStringLiteral("2026")}));
    EXPECT_TRUE(editor.isModified());  // saving does not clear it
}

TEST_F(CommentEditorTest, FillCommandsForTheSelectedFile) {
    TempDir dir;
    dir.write(QStringLiteral("IMG_0001.jpg"), QByteArray(12345, 'x'));
    dir.write(QStringLiteral("IMG_0002.jpg"),
              test::makeCameraJpeg("2024:05:06 10:00:00", {}, {}, true));
    ASSERT_TRUE(editor.loadFolder(dir.path()));
    trigger("N12");  // nothing selected: nothing happens
    EXPECT_EQ(editor.comments().size(), 0);

    select(0);
    prompts.log.clear();  // the undecodable preview
    trigger("N12");
    EXPECT_EQ(edit1()->text(), QStringLiteral("IMG_0001.jpg"));
    trigger("N11");
    trigger("N6");
    EXPECT_EQ(edit1()->text(), QStringLiteral("IMG_0001"));
    EXPECT_EQ(edit2()->text(), QStringLiteral("12.1KB"));
    const CommentLines lines = editor.comments().lookUp(QStringLiteral("img_0001.JPG"));
    EXPECT_EQ(lines.first, QStringLiteral("IMG_0001"));
    EXPECT_EQ(lines.second, QStringLiteral("12.1KB"));
    trigger("N8");
    EXPECT_EQ(edit1()->text(), QStringLiteral("12.1KB"));
    EXPECT_EQ(edit2()->text(), QString());
    trigger("N9");
    EXPECT_EQ(edit2()->text(), fileDateText(dir.file(QStringLiteral("IMG_0001.jpg"))));
    // What the camera recorded goes into the line with the focus; without it nothing does.
    type(QStringLiteral("x"), QString());
    const struct {
        int file;
        const char* action;
        QLineEdit* field;
        QString first;
        QString second;
        QString status;
    } camera[] = {
        {0, "captureTimeFill", edit1(), "x", "", "撮影日時の記録がありません"},
        {0, "cameraFill", edit1(), "x", "", "撮影情報の記録がありません"},
        {1, "captureTimeFill", edit1(), "24/05/06x", "", ""},
        {1, "cameraFill", edit2(), "24/05/06x", "NIKON D70 18mm 1/60秒 F4.0 ISO200", ""},
    };
    for (const auto& row : camera) {
        if (row.file != list()->currentRow()) {
            select(row.file);
            type(QStringLiteral("x"), QString());
        }
        row.field->setFocus();
        row.field->setCursorPosition(0);
        trigger(row.action);
        EXPECT_EQ(edit1()->text(), row.first) << row.action;
        EXPECT_EQ(edit2()->text(), row.second) << row.action;
        EXPECT_EQ(editor.panelText(1), row.status) << row.action;
    }
    EXPECT_EQ(editor.comments().lookUp(QStringLiteral("IMG_0002.jpg")).second,
              QStringLiteral("NIKON D70 18mm 1/60秒 F4.0 ISO200"));
    EXPECT_FALSE(editor.isModified());  // fill commands do not set it
    EXPECT_TRUE(prompts.log.isEmpty());
}

TEST_F(CommentEditorTest, FillAllGivesEveryFileItsTextsAndLeavesTheLastInTheEdits) {
    TempDir dir;
    dir.write(QStringLiteral("a.jpg"), QByteArray(256, 'x'));
    dir.write(QStringLiteral("b.jpg"), QByteArray(1000, 'x'));
    dir.write(QStringLiteral("c.jpg"), QByteArray());
    ASSERT_TRUE(editor.loadFolder(dir.path()));
    trigger("Replace1");
    EXPECT_EQ(editor.comments().lookUp(QStringLiteral("a.jpg")).second, QStringLiteral("0.2KB"));
    EXPECT_EQ(editor.comments().lookUp(QStringLiteral("b.jpg")).second, QStringLiteral("1.0KB"));
    EXPECT_EQ(editor.comments().lookUp(QStringLiteral("c.jpg")).first, QStringLiteral("c.jpg"));
    EXPECT_EQ(edit1()->text(), QStringLiteral("c.jpg"));
    EXPECT_EQ(edit2()->text(), QStringLiteral("0.0KB"));
    trigger("N3");
    const QString date = fileDateText(dir.file(QStringLiteral("a.jpg")));
    EXPECT_EQ(editor.comments().lookUp(QStringLiteral("a.jpg")).first, date);
    EXPECT_EQ(editor.comments().lookUp(QStringLiteral("a.jpg")).second, QString());
    EXPECT_FALSE(editor.isModified());
}

TEST_F(CommentEditorTest, FillAllStopsWithAnErrorWhenAFileHasGone) {
    TempDir dir;
    dir.write(QStringLiteral("a.jpg"), QByteArray(256, 'x'));
    dir.write(QStringLiteral("b.jpg"), QByteArray(256, 'x'));
    ASSERT_TRUE(editor.loadFolder(dir.path()));
    QFile::remove(dir.file(QStringLiteral("b.jpg")));
    trigger("N2");
    EXPECT_EQ(editor.comments().lookUp(QStringLiteral("a.jpg")).first, QStringLiteral("0.2KB"));
    EXPECT_EQ(editor.comments().lookUp(QStringLiteral("b.jpg")).first, QString());
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log[0].startsWith(QStringLiteral("error: ")));
}

TEST_F(CommentEditorTest, FilledCommentsAreLostByOpenWithoutAQuestion) {
    TempDir dir;
    makeImages(dir);
    ASSERT_TRUE(editor.loadFolder(dir.path()));
    trigger("N3");
    trigger("Open1");  // picker cancelled
    EXPECT_FALSE(prompts.log.join(QString()).contains(QStringLiteral("question")));
    EXPECT_EQ(pickerCalls, QStringList{dir.path()});
    EXPECT_EQ(editor.folder(), dir.path());
    EXPECT_EQ(editor.comments().size(), 0);
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("PicComment.txt"))));
}

TEST_F(CommentEditorTest, OpenAsksAfterUpdateEvenWhenSavedAndCancelReloadsTheFile) {
    TempDir dir;
    makeImages(dir);
    ASSERT_TRUE(editor.loadFolder(dir.path()));
    select(0);
    type(QStringLiteral("saved"), QString());
    click("Button2");
    click("Button1");
    type(QStringLiteral("unsaved"), QString());
    click("Button2");
    prompts.answers = {false};
    trigger("Open1");
    EXPECT_EQ(prompts.log.last(),
              QStringLiteral("question: コメントが修正されています。\nファイルを保存しますか？"));
    EXPECT_FALSE(editor.isModified());
    EXPECT_EQ(edit1()->text(), QString());
    EXPECT_EQ(editor.comments().lookUp(QStringLiteral("A.JPG")).first, QStringLiteral("saved"));

    // Yes saves first, then the picker's folder is listed.
    TempDir other;
    test::writeTestJpeg(other.file(QStringLiteral("z.jpg")), 8, 8);
    select(0);
    type(QStringLiteral("again"), QString());
    click("Button2");
    prompts.answers = {true};
    picked->push_back(other.path());
    trigger("Open1");
    CommentTable onDisk;
    onDisk.load(dir.path());
    EXPECT_EQ(onDisk.lookUp(QStringLiteral("A.JPG")).first, QStringLiteral("again"));
    EXPECT_EQ(editor.folder(), other.path());
    EXPECT_EQ(editor.fileNames(), QStringList{QStringLiteral("z.jpg")});
    EXPECT_EQ(editor.comments().size(), 0);
}

TEST_F(CommentEditorTest, SecondFolderShowsNoneOfTheFirstFoldersComments) {
    TempDir first;
    TempDir second;
    test::writeTestJpeg(first.file(QStringLiteral("p.jpg")), 8, 8);
    test::writeTestJpeg(second.file(QStringLiteral("p.jpg")), 8, 8);
    first.write(QStringLiteral("PicComment.txt"),
                commentFile({kSep, QStringLiteral("p.jpg"), QStringLiteral("first"), QString()}));
    ASSERT_TRUE(editor.loadFolder(first.path()));
    select(0);
    EXPECT_EQ(edit1()->text(), QStringLiteral("first"));
    type(QStringLiteral("edited"), QString());
    click("Button2");
    ASSERT_TRUE(editor.loadFolder(second.path()));
    EXPECT_FALSE(editor.isModified());
    EXPECT_EQ(edit1()->text(), QString());
    select(0);
    EXPECT_EQ(edit1()->text(), QString());
    EXPECT_EQ(editor.comments().size(), 0);
}

TEST_F(CommentEditorTest, UnencodableCommentIsRefusedAndNothingWritten) {
    TempDir dir;
    makeImages(dir);
    const QByteArray old =
        commentFile({kSep, QStringLiteral("b.jpg"), QStringLiteral("old"), QString()});
    dir.write(QStringLiteral("PicComment.txt"), old);
    ASSERT_TRUE(editor.loadFolder(dir.path()));
    editor.show();
    select(1);
    type(QStringLiteral("smile 😀"), QString());
    click("Button2");
    click("Button5");
    ASSERT_FALSE(prompts.log.isEmpty());
    EXPECT_TRUE(
        prompts.log.last().startsWith(QStringLiteral("error: b.jpg のコメントを保存できません。")))
        << prompts.log.last().toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("PicComment.txt")), old);
    EXPECT_TRUE(editor.isVisible());  // stays open so the comment can be corrected
    EXPECT_EQ(editor.comments().lookUp(QStringLiteral("b.jpg")).first, QStringLiteral("smile 😀"));
}

TEST_F(CommentEditorTest, SaveIntoAVanishedFolderReportsItAndKeepsTheTable) {
    TempDir parent;
    const QString folder = parent.file(QStringLiteral("photos"));
    ASSERT_NO_FATAL_FAILURE(editThenRemoveFolder(folder));
    editor.show();
    click("Button5");
    EXPECT_EQ(prompts.log.last(),
              QStringLiteral("error: ") + cannotCreateMessage(CommentTable::filePath(folder)));
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.comments().lookUp(QStringLiteral("a.jpg")).first, QStringLiteral("kept"));
}

TEST_F(CommentEditorTest, OpenStopsWhenTheSaveItAskedForFails) {
    TempDir parent;
    const QString folder = parent.file(QStringLiteral("photos"));
    ASSERT_NO_FATAL_FAILURE(editThenRemoveFolder(folder));
    prompts.answers = {true};
    trigger("Open1");
    EXPECT_TRUE(prompts.log.last().startsWith(QStringLiteral("error: ")));
    EXPECT_TRUE(pickerCalls.isEmpty());
    EXPECT_TRUE(editor.isModified());
    EXPECT_EQ(edit1()->text(), QStringLiteral("kept"));
    EXPECT_EQ(editor.comments().lookUp(QStringLiteral("a.jpg")).first, QStringLiteral("kept"));
}

TEST_F(CommentEditorTest, SaveIntoAReadOnlyFolderKeepsTheOldFile) {
    TempDir dir;
    const QByteArray old = commentFileWithEdit(dir, QStringLiteral("new"));
    test::openUp(dir.path());
    test::makeReadOnly(dir.path());
    {
        test::AsOtherUser user;  // permissions bind the superuser only through another user
        ASSERT_TRUE(user.active());
        click("Button1");
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(prompts.log.last().startsWith(QStringLiteral("error: ")));
    EXPECT_EQ(dir.read(QStringLiteral("PicComment.txt")), old);
    EXPECT_EQ(editor.comments().lookUp(QStringLiteral("b.jpg")).first, QStringLiteral("new"));
}

// A failed flush of the atomic file: the old file stays and the write error is shown.
TEST_F(CommentEditorTest, WriteFailureShowsTheWriteErrorMessageAndKeepsTheOldFile) {
    TempDir dir;
    const QByteArray old = commentFileWithEdit(dir, QString(400, QLatin1Char('x')));
    // The file can be created, but nothing can be written into it.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 0;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    editor.show();
    click("Button5");
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(
        prompts.log.last(),
        QStringLiteral("error: ファイル書き込みエラーが発生しました。\n処理は中断されました。"));
    EXPECT_EQ(dir.read(QStringLiteral("PicComment.txt")), old);
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.comments().lookUp(QStringLiteral("b.jpg")).first.size(), 400);
}

// Comments not yet in the file are not dropped by 終了, Esc or the close box: Yes saves them
// (what is typed too), No closes without saving, Cancel stays. Nothing changed closes quietly.
TEST_F(CommentEditorTest, ClosingWithUnsavedCommentsAsks) {
    using Answer = Prompts::Answer;
    const struct {
        const char* how;
        const char* change;  // "update", "fill", "typed" or "" for none
        Answer answer;
        const char* onDisk;  // the first line of A.JPG in the file, "-" for no file
        bool closed;
    } rows[] = {{"終了", "update", Answer::Yes, "stored", true},
                {"Esc", "typed", Answer::Yes, "typed", true},
                {"close box", "fill", Answer::No, "-", true},
                {"終了", "update", Answer::Cancel, "-", false},
                {"Esc", "", Answer::Cancel, "-", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.how) + " " + row.change);
        TempDir dir;
        makeImages(dir);
        ASSERT_TRUE(editor.loadFolder(dir.path()));
        select(0);
        const QString change = row.change;
        if (change == "update") {
            type(QStringLiteral("stored"), QString());
            click("Button2");
        } else if (change == "typed") {
            type(QStringLiteral("typed"), QString());
        } else if (change == "fill") {
            trigger("N13");
        }
        editor.show();
        prompts.log.clear();
        prompts.choices = {row.answer};
        if (QString(row.how) == "終了") {
            trigger("Exit1");
        } else if (QString(row.how) == "Esc") {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&editor, &esc);
        } else {
            editor.close();
        }
        const QString asked = QStringLiteral("question3: 変更を保存しますか？");
        EXPECT_EQ(prompts.log.value(0), change.isEmpty() ? QString() : asked);
        EXPECT_EQ(editor.isVisible(), !row.closed);
        if (QString(row.onDisk) == "-") {
            EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("PicComment.txt"))));
        } else {
            CommentTable onDisk;
            onDisk.load(dir.path());
            EXPECT_EQ(onDisk.lookUp(QStringLiteral("A.JPG")).first, row.onDisk);
        }
        editor.hide();
    }
}

// 保存 and 保存して終了 store what is typed for the selected file before they save, so
// "saved" is true of what the user sees.
TEST_F(CommentEditorTest, SaveStoresTheTypedLinesFirst) {
    for (const char* button : {"Button1", "Button5"}) {
        SCOPED_TRACE(button);
        TempDir dir;
        makeImages(dir);
        ASSERT_TRUE(editor.loadFolder(dir.path()));
        editor.show();
        select(1);
        type(QStringLiteral("夕焼け"), QStringLiteral("二行目"));
        prompts.log.clear();
        click(button);
        EXPECT_EQ(prompts.log,
                  QStringList{QStringLiteral("information: コメントファイルを保存しました。")});
        CommentTable onDisk;
        onDisk.load(dir.path());
        EXPECT_EQ(onDisk.lookUp(QStringLiteral("b.jpg")).first, QStringLiteral("夕焼け"));
        EXPECT_EQ(onDisk.lookUp(QStringLiteral("b.jpg")).second, QStringLiteral("二行目"));
        EXPECT_FALSE(editor.hasUnsavedComments());
        EXPECT_EQ(editor.isVisible(), QString(button) == "Button1");
        editor.hide();
    }
}

TEST_F(CommentEditorTest, ClickIntoACommentLineSelectsAllOfIt) {
    edit1()->setText(QStringLiteral("夕焼けの海"));
    edit1()->deselect();
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(edit1(), &release);
    EXPECT_EQ(edit1()->selectedText(), QStringLiteral("夕焼けの海"));
}

TEST_F(CommentEditorTest, SaveBeforeAnyFolderWasOpenedWritesNothing) {
    click("Button1");
    EXPECT_TRUE(prompts.log.isEmpty());
    EXPECT_EQ(editor.folder(), QString());
}

TEST_F(CommentEditorTest, EmptyFolderSavesAnEmptyFileAndCloses) {
    TempDir dir;
    ASSERT_TRUE(editor.loadFolder(dir.path()));
    editor.show();
    click("Button5");
    EXPECT_EQ(prompts.log,
              QStringList{QStringLiteral("information: コメントファイルを保存しました。")});
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("PicComment.txt"))));
    EXPECT_EQ(dir.read(QStringLiteral("PicComment.txt")), QByteArray());
    EXPECT_FALSE(editor.isVisible());
}

}  // namespace
