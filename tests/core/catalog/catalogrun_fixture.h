#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSize>

#include "catalogrun_fakehost.h"
#include "core/catalog/catalogrun.h"
#include "core/imaging/jpeg/jpegimage.h"
#include "support/tempdir.h"
#include "support/testimages.h"

namespace tessaly::test {

inline const QString kWriteError =
    QStringLiteral("info:ファイル書き込みエラーが発生しました。\n処理は中断されました。");

inline QSize jpegSize(const QString& path) {
    JpegImage image;
    image.loadFromFile(path);
    return QSize(image.width(), image.height());
}

class CatalogRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        input.folder = dir.path();
        input.title = QStringLiteral("旅の写真");
        input.date = QDate(2026, 1, 5);
        settings.noBrowserLaunch = QStringLiteral("on");
    }

    void addImage(const QString& name, int width = 66, int height = 45, bool selected = true) {
        writeTestJpeg(dir.file(name), width, height);
        input.names << name;
        input.selected.push_back(selected);
    }

    CatalogRunOutcome run() {
        CatalogRun catalogRun(settings, host, shell);
        return catalogRun.execute(input);
    }

    // The write error line was shown, followed by a line holding problem.
    bool writeErrorShown(const QString& problem = QString()) const {
        for (const QString& entry : host.log) {
            if (entry.startsWith(kWriteError) &&
                (problem.isEmpty() || entry.section(QLatin1Char('\n'), 2).contains(problem))) {
                return true;
            }
        }
        return false;
    }

    QString thumb(const QString& name) const { return dir.file("htm_image/" + name); }
    QStringList page() const { return sjisLines(dir.read("index.htm")); }
    QStringList slides() const { return sjisLines(dir.read("SShow.htm")); }
    QStringList cells() const {
        QStringList found;
        for (const QString& line : page()) {
            if (line.contains("<IMG src=")) found << line;
        }
        return found;
    }

    // Pages of an earlier run, which a run that fails or is stopped must leave byte for byte,
    // with nothing of its own beside them.
    void writeEarlierPages() const {
        dir.write("index.htm", "earlier index\r\n");
        dir.write("SShow.htm", "earlier slides\r\n");
    }
    void expectEarlierPages() const {
        EXPECT_EQ(dir.read("index.htm"), QByteArray("earlier index\r\n"));
        EXPECT_EQ(dir.read("SShow.htm"), QByteArray("earlier slides\r\n"));
        EXPECT_EQ(QDir(dir.path()).entryList({".tessaly-*"}, QDir::Files | QDir::Hidden),
                  QStringList());
    }

    TempDir dir;
    CatalogSettings settings;
    FakeRunHost host;
    FakeShell shell;
    CatalogRunInput input;
};

}  // namespace tessaly::test
