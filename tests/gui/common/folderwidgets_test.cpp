#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>

#include "gui/common/filelist.h"
#include "gui/common/folderlist.h"
#include "gui/common/volumebox.h"
#include "support/tempdir.h"

namespace tessaly {
namespace {

QStringList entryTexts(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
    return texts;
}

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(FolderList, ShowsAncestorsOpenFolderAndSortedSubFolders) {
    test::TempDir temp;
    const QString base = QDir::cleanPath(temp.path());
    for (const char* name : {"beta", "Alpha", "gamma", ".hidden"}) QDir(base).mkdir(name);
    touch(base + "/a-file.txt");

    FolderList list;
    ASSERT_TRUE(list.setDirectory(base));
    const QStringList parts = base.split('/', Qt::SkipEmptyParts);
    const QStringList texts = entryTexts(list);
    ASSERT_EQ(texts.size(), parts.size() + 1 + 3);
    EXPECT_EQ(texts.first(), "/");
    EXPECT_EQ(list.openIndex(), parts.size());
    EXPECT_EQ(texts.mid(1, parts.size()), parts);
    EXPECT_EQ(texts.mid(parts.size() + 1), QStringList({"Alpha", "beta", "gamma"}));
    EXPECT_EQ(list.entryPath(list.openIndex()), base);
    EXPECT_EQ(list.entryPath(list.openIndex() + 2), base + "/beta");
    EXPECT_EQ(list.entryPath(0), "/");
    EXPECT_EQ(list.currentRow(), list.openIndex());
}

TEST(FolderList, OpensEntriesAndRefusesMissingFolders) {
    test::TempDir temp;
    const QString base = QDir::cleanPath(temp.path());
    QDir(base).mkpath("one/two");
    FolderList list;
    ASSERT_TRUE(list.setDirectory(base + "/one/"));
    EXPECT_EQ(list.directory(), base + "/one");
    QStringList changed;
    QObject::connect(&list, &FolderList::directoryChanged,
                     [&](const QString& path) { changed << path; });
    EXPECT_FALSE(list.setDirectory(base + "/missing"));
    EXPECT_EQ(list.directory(), base + "/one");
    EXPECT_TRUE(changed.isEmpty());

    // Highlighting an entry does not open it; Enter does.
    list.setCurrentRow(list.openIndex() + 1);
    EXPECT_EQ(list.directory(), base + "/one");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&list, &enter);
    EXPECT_EQ(list.directory(), base + "/one/two");
    EXPECT_EQ(changed, QStringList({base + "/one/two"}));

    // The open folder vanished: its parent entry still opens; the stale one fails.
    QDir(base + "/one").rmdir("two");
    int failed = 0;
    QObject::connect(&list, &FolderList::openFailed, [&] { ++failed; });
    EXPECT_FALSE(list.openEntry(list.openIndex()));
    EXPECT_EQ(failed, 1);
    EXPECT_TRUE(list.openEntry(list.openIndex() - 1));
    EXPECT_EQ(list.directory(), base + "/one");
}

TEST(FolderList, RootHasOnlyItsOwnEntryAboveSubFolders) {
    FolderList list;
    ASSERT_TRUE(list.setDirectory("/"));
    EXPECT_EQ(list.openIndex(), 0);
    EXPECT_EQ(list.directory(), "/");
    ASSERT_GT(list.count(), 1);
    EXPECT_EQ(list.entryPath(1), "/" + list.item(1)->text());
}

TEST(FileList, ListsVisibleRegularFilesSortedIgnoringCase) {
    test::TempDir temp;
    const QString base = temp.path();
    for (const char* name : {"b.jpeg", "a.JPG", "C.jpg", ".secret.jpg", "readme"})
        touch(base + "/" + name);
    QDir(base).mkdir("sub.jpg");

    FileList list;
    int changed = 0;
    QObject::connect(&list, &FileList::contentsChanged, [&] { ++changed; });
    list.setDirectory(base);
    EXPECT_EQ(list.files(), QStringList({"a.JPG", "b.jpeg", "C.jpg", "readme"}));
    EXPECT_EQ(entryTexts(list), list.files());
    EXPECT_EQ(changed, 1);

    list.setMask("*.jpg");
    EXPECT_EQ(list.files(), QStringList({"a.JPG", "C.jpg"}));
    list.setMask("*.jpeg;*.JPG");
    EXPECT_EQ(list.files(), QStringList({"a.JPG", "b.jpeg", "C.jpg"}));

    touch(base + "/d.jpg");
    list.refresh();
    EXPECT_EQ(list.files().last(), "d.jpg");
    list.setDirectory(base + "/none");
    EXPECT_TRUE(list.files().isEmpty());
}

TEST(VolumeBox, FindsTheVolumeHoldingAPath) {
    const QStringList roots{"/", "/mnt", "/mnt/usb", "/media"};
    EXPECT_EQ(VolumeBox::rootOf("/mnt/usb/photos", roots), "/mnt/usb");
    EXPECT_EQ(VolumeBox::rootOf("/mnt/usbstick", roots), "/mnt");
    EXPECT_EQ(VolumeBox::rootOf("/home/user", roots), "/");
    EXPECT_EQ(VolumeBox::rootOf("/media", roots), "/media");

    VolumeBox box;
    EXPECT_GE(box.count(), 1);
    EXPECT_EQ(box.itemText(0), "/");
    box.setDrive(QDir::homePath());
    EXPECT_EQ(box.drive(), VolumeBox::rootOf(QDir::homePath(), VolumeBox::mountedRoots()));
}

}  // namespace
}  // namespace tessaly
