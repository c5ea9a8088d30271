#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStringList>

#include "core/settings/catalogsettings.h"
#include "core/text/errors.h"
#include "support/settingsfixture.h"
#include "support/tempdir.h"

using namespace tessaly;

namespace {

// The keys and defaults as the program writes them (tests/data/settings/default.ini).
const QStringList kKeys = test::defaultSettingsKeys();
const QStringList kDefaults = test::defaultSettingsValues();
// Every pair a file written now holds: the 42 blocks and the lines after them.
const int kPairs = 47;

// The values every settings file holds, as text, in file order (a line after the last block
// that is empty by default is written only once it holds a value).
QStringList values(const CatalogSettings& s) {
    QStringList vals;
    for (const SettingRow& row : settingRows()) {
        if (!row.appended || *row.defaultValue) vals << row.valueText(s);
    }
    return vals;
}

// A settings file of the given version holding the first pairCount pairs of these values.
QByteArray settingsFile(const QString& version, const QStringList& vals, int pairCount,
                        const QStringList& keys = kKeys) {
    QString text = "Quorvel Ver" + version + "\r\n";
    for (int i = 0; i < pairCount; ++i) text += keys[i] + "\r\n" + vals[i] + "\r\n";
    return test::sjisBytes(text);
}

// Values unlike every default, numbers where the field is read as a number.
QStringList changedValues() {
    QStringList vals;
    for (int i = 0; i < kPairs; ++i) vals << QStringLiteral("値%1").arg(i + 1);
    vals[1] = "255";
    vals[6] = "-20";
    vals[7] = "40";
    vals[8] = "60";
    return vals;
}

QStringList withDefaultsFrom(QStringList vals, int firstDefault) {
    for (int i = firstDefault; i < kPairs; ++i) vals[i] = kDefaults[i];
    return vals;
}

}  // namespace

TEST(Settings, MissingFileGivesTheDefaults) {
    test::TempDir dir;
    const CatalogSettings s = loadSettings(dir.path());
    EXPECT_EQ(values(s), kDefaults);
    EXPECT_EQ(s.appFolder, dir.path());
    EXPECT_EQ(s.version, "1.60");
    EXPECT_EQ(settingsFilePath(dir.path()), dir.path() + "/Quorvel.ini");
    EXPECT_EQ(settingsFilePath("/"), "/Quorvel.ini");
}

TEST(Settings, DefaultSaveIsTheWholeFileExactly) {
    test::TempDir dir;
    CatalogSettings s;
    s.appFolder = dir.path();
    saveSettings(s);
    const QByteArray bytes = dir.read("Quorvel.ini");
    EXPECT_EQ(test::sjisLines(bytes), test::defaultSettingsLines());
    EXPECT_EQ(bytes, test::defaultSettingsFile());
    ASSERT_EQ(kKeys.size(), kPairs);
    EXPECT_EQ(values(s), kDefaults);
    // Every row is present in a file of the version written, so a new row needs a new version.
    for (const SettingRow& row : settingRows())
        EXPECT_LE(row.since, s.version.toDouble()) << row.key;
}

// Each setting is one row, found by its field; the rows after the last block come last, since
// a row between the blocks would move every later value of the files already written.
TEST(Settings, EachSettingIsOneRowFoundByItsField) {
    QStringList keys;
    bool afterBlocks = false;
    for (const SettingRow& row : settingRows()) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(row.text ? settingRow(row.text) : settingRow(row.number), &row);
        EXPECT_NE(!row.text, !row.number);
        keys << QString::fromUtf8(row.key);
        EXPECT_TRUE(row.appended || !afterBlocks);
        afterBlocks = afterBlocks || row.appended;
        EXPECT_TRUE(!row.exact || row.label);  // a refused path is named in the message
    }
    EXPECT_EQ(keys.removeDuplicates(), 0);
    EXPECT_EQ(settingRow(&CatalogSettings::appFolder), nullptr);
}

// Switches read by their rows' rules, decimal fields as numbers (settingInt).
TEST(Settings, SwitchesAndNumbersReadAsThePagesTakeThem) {
    using S = CatalogSettings;
    const struct {
        S::Text field;
        const char* value;
        bool on;
        int number;
    } cases[] = {
        {&S::titleBold, "on", true, 0},
        {&S::titleBold, "yes", false, 0},
        {&S::titleBold, "", false, 0},
        {&S::thumbFilter, "", true, 0},
        {&S::thumbFilter, "off", false, 0},
        {&S::footerLinkEnabled, "yes", true, 0},
        {&S::noBrowserLaunch, "on", true, 0},
        {&S::thumbWidth, " 120 ", false, 120},
        {&S::thumbWidth, "on", false, 0},
        {&S::titleColor, "grey", false, 0},
        {&S::titleBackColor, "65280", false, 65280},
        {&S::appFolder, "on", false, 0},
    };
    for (const auto& c : cases) {
        CatalogSettings s;
        s.*c.field = QString::fromUtf8(c.value);
        EXPECT_EQ(s.isOn(c.field), c.on) << c.value;
        EXPECT_EQ(s.number(c.field), c.number) << c.value;
    }
    CatalogSettings s;
    s.setOn(&S::titleBold, true);
    EXPECT_EQ(s.titleBold, "on");
    s.setOn(&S::thumbFilter, false);
    EXPECT_EQ(s.thumbFilter, "off");
}

// A ranged number is brought within its row's range; one that is unset (does not read, or
// reads 0 or less where the range starts above 0) is the row's default. Every default is in
// its range.
TEST(Settings, RangedNumbersKeepWithinTheirRows) {
    using S = CatalogSettings;
    const struct {
        S::Text field;
        const char* value;
        int number;
    } cases[] = {
        {&S::webCopyLongSide, "1600", 1600}, {&S::webCopyLongSide, "99999", 8192},
        {&S::webCopyLongSide, "100", 320},   {&S::webCopyLongSide, "0", 2048},
        {&S::webCopyLongSide, "-5", 2048},   {&S::webCopyLongSide, "wide", 2048},
        {&S::tableBorder, "-3", 0},          {&S::tableBorder, "0", 0},
        {&S::thumbQuality, "101", 100},      {&S::titleColor, "12345678", 12345678},
    };
    for (const auto& c : cases) {
        CatalogSettings s;
        s.*c.field = QString::fromUtf8(c.value);
        EXPECT_EQ(s.rangedNumber(c.field), c.number) << c.value;
    }
    for (const SettingRow& row : settingRows()) {
        SCOPED_TRACE(row.key);
        EXPECT_TRUE(row.range.contains(row.defaultNumber()));
        EXPECT_TRUE(!row.range.bounded() || row.type == SettingType::Number ||
                    row.type == SettingType::Integer);
    }
}

// The page style is a line after the last block, read by its key; anything but "modern" is
// the classic style.
TEST(Settings, PageStyleLineAfterTheBlocks) {
    test::TempDir dir;
    CatalogSettings s;
    s.appFolder = dir.path();
    EXPECT_FALSE(s.modernPages());
    s.pageStyle = "modern";
    saveSettings(s);
    EXPECT_TRUE(dir.read("Quorvel.ini")
                    .contains("\r\n" + test::sjisBytes("[ページ形式]") + "\r\nmodern\r\n"));
    EXPECT_TRUE(loadSettings(dir.path()).modernPages());
    s.pageStyle = "Modern";
    EXPECT_FALSE(s.modernPages());
}

TEST(Settings, Version13FileLoadsItsThreeBlocksAndKeepsLaterDefaults) {
    test::TempDir dir;
    const QStringList vals = changedValues();
    const QByteArray file = settingsFile("1.3", vals, 26);
    ASSERT_EQ(test::sjisLines(file).size(), 53);
    dir.write("Quorvel.ini", file);
    CatalogSettings s = loadSettings(dir.path());
    EXPECT_EQ(values(s), withDefaultsFrom(vals, 26));
    EXPECT_EQ(s.htmlFileName, "index.htm");
    EXPECT_EQ(s.headerDefault, "on");
    EXPECT_EQ(s.slideMaxWidth, "1000");
    EXPECT_EQ(s.backgroundColor, 255);
    EXPECT_EQ(s.windowLeft, -20);

    saveSettings(s);
    const QStringList lines = test::sjisLines(dir.read("Quorvel.ini"));
    ASSERT_EQ(lines.size(), test::defaultSettingsLines().size());
    EXPECT_EQ(lines[0], "Quorvel Ver1.60");
    EXPECT_EQ(lines[14], "-20");
    EXPECT_EQ(lines[84], "750");
}

TEST(Settings, VersionNumberSelectsTheBlocks) {
    const QStringList vals = changedValues();
    const struct {
        const char* version;
        int pairs;
    } cases[] = {{"1.6", kPairs}, {"1.60", kPairs}, {"1.59", 39},    {"1.55", 39},
                 {"1.54", 36},    {"1.32", 36},     {"1.31", 28},    {"1.3", 26},
                 {"1.1", 23},     {"0.9", 17},      {"2.0", kPairs}, {" 1.6 ", kPairs}};
    for (const auto& c : cases) {
        test::TempDir dir;
        dir.write("Quorvel.ini", settingsFile(c.version, vals, kPairs));
        EXPECT_EQ(values(loadSettings(dir.path())), withDefaultsFrom(vals, c.pairs))
            << "version " << c.version;
    }
    // A 1.60 file written before the appended line ends after block 7: its default stays.
    test::TempDir dir;
    dir.write("Quorvel.ini", settingsFile("1.60", vals, 42));
    EXPECT_EQ(values(loadSettings(dir.path())), withDefaultsFrom(vals, 42));
}

TEST(Settings, KeyLinesAreNeverExamined) {
    test::TempDir dir;
    QStringList keys = kKeys;
    keys.swapItemsAt(0, 1);
    keys[40] = "[something else]";
    const QStringList vals = changedValues();
    dir.write("Quorvel.ini", settingsFile("1.60", vals, kPairs, keys));
    const CatalogSettings s = loadSettings(dir.path());
    EXPECT_EQ(values(s), vals);
    EXPECT_EQ(s.startFolder, "値1");
    EXPECT_EQ(s.backgroundColor, 255);
}

TEST(Settings, ShortFileGivesEmptyTextsAndKeepsIntegerDefaults) {
    test::TempDir dir;
    QStringList vals = changedValues();
    dir.write("Quorvel.ini", settingsFile("1.60", vals, 3));
    const CatalogSettings s = loadSettings(dir.path());
    QStringList expected;
    for (int i = 0; i < 42; ++i) expected << (i < 3 ? vals[i] : QString());
    // The lines after the blocks are read only while the file goes on.
    for (int i = 42; i < kPairs; ++i) expected << kDefaults[i];
    expected[6] = "0";  // integers keep their defaults
    expected[7] = "0";
    expected[8] = "95";
    EXPECT_EQ(values(s), expected);

    // A file that ends after a key line without its line end.
    dir.write("Quorvel.ini",
              test::sjisBytes("Quorvel Ver1.60\r\n[起動フォルダ]\r\n/photos\r\n[背景色]"));
    const CatalogSettings t = loadSettings(dir.path());
    EXPECT_EQ(t.startFolder, "/photos");
    EXPECT_EQ(t.backgroundColor, 8421504);
    EXPECT_EQ(t.rotateBackup, "");
}

TEST(Settings, UnreadableNumbersKeepTheirDefaults) {
    test::TempDir dir;
    QStringList vals = changedValues();
    vals[1] = "grey";
    vals[6] = "";
    vals[7] = "12px";
    vals[8] = "99999999999";
    dir.write("Quorvel.ini", settingsFile("1.60", vals, kPairs));
    const CatalogSettings s = loadSettings(dir.path());
    EXPECT_EQ(s.backgroundColor, 8421504);
    EXPECT_EQ(s.windowLeft, 0);
    EXPECT_EQ(s.windowTop, 0);
    EXPECT_EQ(s.rotateQuality, 95);
    EXPECT_EQ(s.slideMaxHeight, "値42");

    // A version that is no number is read as a current file; one below 0.9 has no blocks.
    dir.write("Quorvel.ini", settingsFile("x.y", changedValues(), kPairs));
    EXPECT_EQ(values(loadSettings(dir.path())), changedValues());
    dir.write("Quorvel.ini", settingsFile("0.5", changedValues(), kPairs));
    EXPECT_EQ(values(loadSettings(dir.path())), kDefaults);
    // An empty file is no settings file: reported as a settings problem, not read as empty
    // names that would fail later as write errors.
    dir.write("Quorvel.ini", QByteArray());
    EXPECT_THROW(loadSettings(dir.path()), SettingsError);
}

TEST(Settings, ValuesAreKeptExactlyAndSavedTwiceIdentically) {
    test::TempDir dir;
    QStringList vals = withDefaultsFrom(changedValues(), 9);
    vals[0] = "  /写真/旅行 ";
    vals[26] = "index.htm ";
    vals[30] = "<b>ヘッダー</b> & ";
    dir.write("Quorvel.ini", settingsFile("1.60", vals, kPairs));
    const QByteArray original = dir.read("Quorvel.ini");
    CatalogSettings s = loadSettings(dir.path());
    EXPECT_EQ(s.htmlFileName, "index.htm ");
    EXPECT_EQ(s.startFolder, "  /写真/旅行 ");
    saveSettings(s);
    EXPECT_EQ(dir.read("Quorvel.ini"), original);
    saveSettings(s);
    EXPECT_EQ(dir.read("Quorvel.ini"), original);
    EXPECT_EQ(loadSettings(dir.path()), s);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Quorvel.ini"});
}

TEST(Settings, UnencodableValueIsRefusedAndTheOldFileKept) {
    test::TempDir dir;
    CatalogSettings s;
    s.appFolder = dir.path();
    saveSettings(s);
    const QByteArray old = dir.read("Quorvel.ini");
    s.footerText = "作成 😀";
    try {
        saveSettings(s);
        FAIL() << "expected an EncodingError";
    } catch (const EncodingError& e) {
        EXPECT_TRUE(e.message().contains("U+1F600")) << e.what();
    }
    EXPECT_EQ(dir.read("Quorvel.ini"), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Quorvel.ini"});
}

TEST(Settings, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
    test::TempDir dir;
    const QString folder = dir.file("ro");
    ASSERT_TRUE(QDir().mkdir(folder));
    CatalogSettings s;
    s.appFolder = folder;
    saveSettings(s);
    const QByteArray old = test::readFile(folder + "/Quorvel.ini");
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::ExeOther);
    QFile::setPermissions(folder,
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    // The superuser writes anywhere: act as an ordinary user for the save.
    const bool asRoot = geteuid() == 0;
    if (asRoot && seteuid(65534) != 0) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "skipped: cannot drop the superuser's rights";
    }
    s.headerText = "changed";
    bool failed = false;
    try {
        saveSettings(s);
    } catch (const IoError&) {
        failed = true;
    }
    if (asRoot) {
        EXPECT_EQ(seteuid(0), 0);
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(failed);
    EXPECT_EQ(test::readFile(folder + "/Quorvel.ini"), old);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"Quorvel.ini"});
}

// Where the settings live: beside the program when a Quorvel.ini is there, else in the user's
// configuration folder ($XDG_CONFIG_HOME/tessaly, ~/.config/tessaly when that is unusable).
TEST(Settings, ThePortableFileOrElseTheUsersFolderIsUsed) {
    test::TempDir dir;
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    const bool hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("HOME", dir.file("home").toUtf8());
    const QString program = dir.file("bin"), config = dir.file("config");
    QDir().mkpath(program);
    const struct {
        const char* xdg;  // nullptr: unset
        const char* besideProgram;
        QString expected;
    } cases[] = {
        {nullptr, nullptr, dir.file("home/.config/tessaly")},
        {"", nullptr, dir.file("home/.config/tessaly")},
        {"relative/config", nullptr, dir.file("home/.config/tessaly")},
        {"CONFIG", nullptr, config + "/tessaly"},
        {"CONFIG/", nullptr, config + "/tessaly"},
        {"CONFIG", "Quorvel Ver1.60\r\n", program},
        {"CONFIG", "", program},                    // an empty file is a settings file too
        {"CONFIG", "folder", config + "/tessaly"},  // a folder named Quorvel.ini is not
    };
    for (const auto& c : cases) {
        QDir(program).removeRecursively();
        QDir().mkpath(program);
        if (!c.xdg) {
            qunsetenv("XDG_CONFIG_HOME");
        } else {
            qputenv("XDG_CONFIG_HOME", QString(c.xdg).replace("CONFIG", config).toUtf8());
        }
        if (c.besideProgram && QByteArray(c.besideProgram) == "folder") {
            QDir().mkpath(program + "/Quorvel.ini");
        } else if (c.besideProgram) {
            test::writeFile(program + "/Quorvel.ini", c.besideProgram);
        }
        EXPECT_EQ(settingsFolderFor(program), c.expected) << (c.xdg ? c.xdg : "unset");
    }

    // An installed copy: read from the user's folder, which the first save creates; the
    // program folder is never written and the home folder stands in for it.
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    QDir(program).removeRecursively();
    QDir().mkpath(program);
    CatalogSettings s = loadSettings(program, settingsFolderFor(program));
    EXPECT_EQ(s.appFolder, program);
    EXPECT_EQ(s.configFolder(), config + "/tessaly");
    EXPECT_EQ(s.homeFolder(), dir.file("home"));
    s.htmlFileName = "user.htm";
    saveSettings(s);
    EXPECT_TRUE(QDir(program).isEmpty());
    EXPECT_EQ(loadSettings(program, config + "/tessaly").htmlFileName, "user.htm");
    // A portable copy keeps everything beside the program.
    const CatalogSettings portable = loadSettings(dir.path(), dir.path());
    EXPECT_EQ(portable.settingsFolder, "");
    EXPECT_EQ(portable.configFolder(), dir.path());
    EXPECT_EQ(portable.homeFolder(), dir.path());

    qputenv("HOME", oldHome);
    if (hadConfig) {
        qputenv("XDG_CONFIG_HOME", oldConfig);
    } else {
        qunsetenv("XDG_CONFIG_HOME");
    }
}
