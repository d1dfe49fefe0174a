#include "base/ansi_text.h"
#include "config/config_file.h"
#include "file_size_limit.h"
#include "tests/common/config_texts.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace qv {
namespace {

namespace fs = std::filesystem;

std::string DefaultFileBytes() {
    return ToAnsi(test::WrittenConfigText());
}

// ---- The written file ----------------------------------------------------------------------

TEST(ConfigFileFormat, DefaultFileIsExactBytes) {
    const std::string bytes = FormatConfigFile(DefaultSettings());
    EXPECT_EQ(bytes.size(), 282u);
    EXPECT_EQ(bytes, DefaultFileBytes());
}

TEST(ConfigFileFormat, ColumnsHoldValuesRightAligned) {
    Settings s = DefaultSettings();
    s.captureRegions[0] = {1200, -5, 200, 100};
    s.autoStart = true;
    s.captureInterval = 3600;
    s.beepOnCapture = true;
    s.startDelay = 0;
    s.debugMode = true; // never written
    const std::string bytes = FormatConfigFile(s);
    const std::string expected =
        ToAnsi(test::WrittenConfigText({.region1 = L" 1200 ,   -5 , 200 , 100",
                                        .autoStart = L"   True",
                                        .interval = L"   3600",
                                        .beep = L"   True",
                                        .delay = L"      0"}));
    EXPECT_EQ(bytes, expected);
}

// ---- Reading -------------------------------------------------------------------------------

// The values of the six lines; the file gets plain comments.
struct Lines {
    std::string region1 = "1, 1, 1, 1";
    std::string region2 = "463, 570, 90, 9";
    std::string autoStart = "False";
    std::string interval = "20";
    std::string beep = "False";
    std::string delay = "15";
};

std::string File(const Lines& l = {}) {
    return l.region1 + ", region one\r\n" + l.region2 + ", region two\r\n" + l.autoStart +
           ", auto\r\n" + l.interval + ", interval\r\n" + l.beep + ", beep\r\n" + l.delay +
           ", delay\r\n\r\n";
}

Settings With(void (*change)(Settings&)) {
    Settings s = DefaultSettings();
    change(s);
    return s;
}

struct ReadCase {
    const char* name;
    std::string text;
    std::optional<Settings> expected; // nothing: unreadable
};

TEST(ConfigFileRead, ItemGrammar) {
    const std::optional<Settings> defaults = DefaultSettings();
    const ReadCase cases[] = {
        {"written default file", DefaultFileBytes(), defaults},
        {"items across line ends",
         "1\r\n1\r\n1\r\n1\r\nc\r\n463\r\n570\r\n90\r\n9\r\nc\r\nfalse\r\nc\r\n20\r\nc\r\n0\r\nc\r"
         "\n15\r\n"
         "c",
         defaults},
        {"bare LF line ends", "1,1,1,1,c\n463,570,90,9,c\nFalse,c\n20,c\nFalse,c\n15,c\n",
         defaults},
        {"bare CR line ends", "1,1,1,1,c\r463,570,90,9,c\rFalse,c\r20,c\rFalse,c\r15,c\r",
         defaults},
        {"blanks and tabs around items",
         File({.region1 = " \t 7 \t ,\t8 ,  9,10 ",
               .region2 = "463 , 570,90 ,9",
               .autoStart = "\t TRUE \t",
               .interval = " 25\t",
               .beep = " 1 ",
               .delay = "  0  "}),
         With([](Settings& s) {
             s.captureRegions[0] = {7, 8, 9, 10};
             s.autoStart = true;
             s.captureInterval = 25;
             s.beepOnCapture = true;
             s.startDelay = 0;
         })},
        {"a blank separates two numbers", File({.region1 = "1 2, 3, 4"}), With([](Settings& s) {
             s.captureRegions[0] = {1, 2, 3, 4};
         })},
        {"number text after the digits is ignored", File({.region1 = "12abc, 1, 1, 1"}),
         With([](Settings& s) { s.captureRegions[0].x = 12; })},
        {"signed numbers", File({.region1 = "-3, +4, 1, 1"}), With([](Settings& s) {
             s.captureRegions[0] = {-3, 4, 1, 1};
         })},
        {"number not beginning with a digit", File({.region1 = "x1, 1, 1, 1"}), std::nullopt},
        {"empty number", File({.region1 = ", 1, 1, 1"}), std::nullopt},
        {"flag true lower case", File({.autoStart = "true", .interval = "20", .beep = "tRuE"}),
         With([](Settings& s) { s.autoStart = s.beepOnCapture = true; })},
        {"flag numbers", File({.autoStart = "-2", .interval = "20", .beep = "0.0"}),
         With([](Settings& s) { s.autoStart = true; })},
        {"flag numbers ending in zero", File({.autoStart = "10", .beep = "100"}),
         With([](Settings& s) { s.autoStart = s.beepOnCapture = true; })},
        {"flag number with two points", File({.autoStart = "1.2.3"}), std::nullopt},
        {"flag other word", File({.autoStart = "yes"}), std::nullopt},
        {"flag empty", File({.autoStart = ""}), std::nullopt},
        {"flag number with junk", File({.autoStart = "1x"}), std::nullopt},
        {"comment with an extra comma shifts the items",
         "1,1,1,1, region, one\r\n463,570,90,9,c\r\nFalse,c\r\n20,c\r\nFalse,c\r\n15,c\r\n",
         std::nullopt},
        {"extra comma in the last comment is never read",
         "1,1,1,1,c\r\n463,570,90,9,c\r\nFalse,c\r\n20,c\r\nFalse,c\r\n15, a, b, c\r\n", defaults},
        {"comment missing at the end",
         "1,1,1,1,c\r\n463,570,90,9,c\r\nFalse,c\r\n20,c\r\nFalse,c\r\n15", std::nullopt},
        {"five lines", "1,1,1,1,c\r\n463,570,90,9,c\r\nFalse,c\r\n20,c\r\nFalse,c\r\n",
         std::nullopt},
        {"empty file", "", std::nullopt},
        {"number past 32 bits", File({.region1 = "2147483648, 1, 1, 1"}), std::nullopt},
        {"smallest 32-bit number", File({.region1 = "-2147483648, 1, 1, 1"}),
         With([](Settings& s) { s.captureRegions[0].x = INT32_MIN; })},
        {"values outside the dialog ranges are kept",
         File({.region2 = "1500, 570, 1000, 9", .interval = "7", .delay = "600"}),
         With([](Settings& s) {
             s.captureRegions[1] = {1500, 570, 1000, 9};
             s.captureInterval = 7;
             s.startDelay = 600;
         })},
    };
    for (const ReadCase& c : cases) {
        EXPECT_EQ(ParseConfigFile(c.text), c.expected) << c.name;
    }
}

TEST(ConfigFileRead, ValuesTheProgramCannotRunWithAreUnreadable) {
    struct Case {
        const char* name;
        std::string text;
        bool readable;
    };
    const Case cases[] = {
        {"width 0", File({.region1 = "1, 1, 0, 1"}), false},
        {"height -1", File({.region2 = "463, 570, 90, -1"}), false},
        {"width 1 height 1", File({.region1 = "1, 1, 1, 1"}), true},
        // Each side of a region is at most 4096 pixels; the products never overflow.
        {"largest region", File({.region2 = "0, 0, 4096, 4096"}), true},
        {"side beyond the limit", File({.region1 = "0, 0, 1, 4097"}), false},
        {"long thin region", File({.region2 = "0, 0, 8000000, 1"}), false},
        {"square of 2^30.5", File({.region2 = "0, 0, 1518500250, 1518500250"}), false},
        {"square of 2e9", File({.region2 = "0, 0, 2000000000, 2000000000"}), false},
        {"right edge overflows", File({.region2 = "2147483600, 0, 100, 9"}), false},
        {"bottom edge overflows", File({.region2 = "0, 2147483600, 90, 100"}), false},
        {"one region wide, the other tall",
         File({.region1 = "0, 0, 4096, 1", .region2 = "0, 0, 1, 4096"}), true},
        {"interval 0", File({.interval = "0"}), false},
        {"interval 1", File({.interval = "1"}), true},
        {"interval whose milliseconds fit", File({.interval = "2147483"}), true},
        {"interval whose milliseconds overflow", File({.interval = "2147484"}), false},
        {"delay -1", File({.delay = "-1"}), false},
        {"delay 0", File({.delay = "0"}), true},
        {"delay whose milliseconds overflow", File({.delay = "2147484"}), false},
    };
    for (const Case& c : cases) {
        const std::optional<Settings> read = ParseConfigFile(c.text);
        EXPECT_EQ(read.has_value(), c.readable) << c.name;
        if (read) {
            EXPECT_TRUE(IsRunnable(*read)) << c.name;
        }
    }
}

// ---- The operation on a folder -------------------------------------------------------------

struct Message {
    std::wstring text;
    std::wstring title;
};

class RecordingSink : public MessageSink {
  public:
    void ShowMessage(std::wstring_view text, std::wstring_view title) override {
        messages.push_back({std::wstring(text), std::wstring(title)});
    }
    std::vector<Message> messages;
};

class ConfigFileProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        folder_ =
            fs::temp_directory_path() /
            ("qv_config_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + std::to_string(counter++) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        settings_.debugMode = true;
    }
    void TearDown() override { fs::remove_all(folder_); }

    ConfigFileResult Run(ConfigFileMode mode) {
        const ConfigFileContext context{settings_, folder_, sink_, [this] { ++callbacks_; },
                                        [this](std::wstring_view r) { records_.emplace_back(r); }};
        return ProcessConfigFile(mode, context);
    }

    fs::path ConfigPath() const { return folder_ / "QvanConfig.ini"; }
    fs::path BackupPath() const { return folder_ / "QvanConfigBack.ini"; }
    // Another process's side file for the same target.
    fs::path ForeignSidePath() const { return folder_ / "QvanConfig.ini.1-0.tmp"; }

    static void Write(const fs::path& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    static std::string Contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    void ExpectOneReadMessage() const {
        ASSERT_EQ(sink_.messages.size(), 1u);
        EXPECT_EQ(sink_.messages[0].title, L"設定ファイル読込み");
        EXPECT_EQ(sink_.messages[0].text,
                  L"読込みできない設定ファイルです\r\n初期値で継続します\r\n");
    }
    void ExpectOneWriteMessage() const {
        ASSERT_EQ(sink_.messages.size(), 1u);
        EXPECT_EQ(sink_.messages[0].title, L"設定ファイル書き込み");
        EXPECT_EQ(sink_.messages[0].text, L"設定をファイルに保存できませんでした。");
    }
    Settings DefaultsWithDebug() const {
        Settings s = DefaultSettings();
        s.debugMode = true;
        return s;
    }

    fs::path folder_;
    Settings settings_;
    RecordingSink sink_;
    int callbacks_ = 0;
    std::vector<std::wstring> records_;
};

TEST_F(ConfigFileProcess, MissingFileWritesDefaultsSilently) {
    EXPECT_EQ(Run(ConfigFileMode::READ), ConfigFileResult::Saved);
    EXPECT_TRUE(sink_.messages.empty());
    EXPECT_EQ(Contents(ConfigPath()), DefaultFileBytes());
    EXPECT_EQ(settings_, DefaultsWithDebug()); // debug mode left alone
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"QvanConfig.ini"});
    EXPECT_EQ(callbacks_, 1);
}

TEST_F(ConfigFileProcess, UnreadableFilesAreBackedUpAndReplacedByDefaults) {
    const std::string badFiles[] = {
        "",
        "1,1,1,1,c\r\n463,570,90,9,c\r\nFalse,c\r\n20,c\r\nFalse,c\r\n",
        File({.region1 = "5, 5, 0, 5"}), // a zero width, read into the settings before the check
        File({.autoStart = "maybe"}),
        // Cut off after the last number: the end of the file is where the bytes read end.
        "1,1,1,1,c\r\n463,570,90,9,c\r\nFalse,c\r\n20,c\r\nFalse,c\r\n15",
    };
    for (const std::string& bad : badFiles) {
        sink_.messages.clear();
        callbacks_ = 0;
        settings_ = Settings{};
        settings_.debugMode = true;
        Write(ConfigPath(), bad);
        Write(BackupPath(), "an older backup");
        EXPECT_EQ(Run(ConfigFileMode::READ), ConfigFileResult::Saved);
        ExpectOneReadMessage();
        EXPECT_EQ(Contents(BackupPath()), bad);
        EXPECT_EQ(Contents(ConfigPath()), DefaultFileBytes());
        EXPECT_EQ(settings_, DefaultsWithDebug());
        EXPECT_EQ(FolderEntries(),
                  (std::vector<std::string>{"QvanConfig.ini", "QvanConfigBack.ini"}));
        EXPECT_EQ(callbacks_, 1);
    }
}

// The only copy of the user's settings is never replaced without its backup; the run goes on
// with the defaults.
TEST_F(ConfigFileProcess, UnreadableFileWhoseBackupFailsIsKept) {
    fs::create_directories(BackupPath() / "keep"); // the backup cannot be written
    Write(ConfigPath(), "garbage");
    EXPECT_EQ(Run(ConfigFileMode::READ), ConfigFileResult::Kept);
    ExpectOneReadMessage();
    EXPECT_EQ(Contents(ConfigPath()), "garbage");
    EXPECT_EQ(settings_, DefaultsWithDebug());
    EXPECT_EQ(records_, std::vector<std::wstring>{L"ConfigFile Kept (Backup Failed)  " +
                                                  ConfigPath().wstring()});
}

TEST_F(ConfigFileProcess, ErrorWhileLookingForTheFileCountsAsUnreadable) {
    fs::create_symlink("QvanConfig.ini", ConfigPath()); // a loop: exists() reports an error
    EXPECT_EQ(Run(ConfigFileMode::READ), ConfigFileResult::Kept);
    ExpectOneReadMessage();
    EXPECT_TRUE(fs::is_symlink(ConfigPath()));
    EXPECT_EQ(settings_, DefaultsWithDebug());
}

TEST_F(ConfigFileProcess, GoodFileIsReadAndLeftAsItIs) {
    const std::string good =
        "  10,20 , 30,40, own comment\r\n463,570,90,9,x\r\n true ,a\r\n 45 ,b\r\n"
        "1,c\r\n 600 ,d";
    Write(ConfigPath(), good);
    EXPECT_EQ(Run(ConfigFileMode::READ), ConfigFileResult::Read);
    EXPECT_TRUE(sink_.messages.empty());
    EXPECT_EQ(Contents(ConfigPath()), good);
    EXPECT_FALSE(fs::exists(BackupPath()));
    Settings expected = DefaultsWithDebug();
    expected.captureRegions[0] = {10, 20, 30, 40};
    expected.autoStart = true;
    expected.captureInterval = 45;
    expected.beepOnCapture = true;
    expected.startDelay = 600;
    EXPECT_EQ(settings_, expected);
    EXPECT_EQ(callbacks_, 1);
}

TEST_F(ConfigFileProcess, InitAndSaveWriteTheFile) {
    Write(ConfigPath(), File({.region1 = "9, 9, 9, 9"}));
    settings_.captureInterval = 3600;
    EXPECT_EQ(Run(ConfigFileMode::INIT), ConfigFileResult::Saved);
    EXPECT_EQ(settings_, DefaultsWithDebug());
    EXPECT_EQ(Contents(ConfigPath()), DefaultFileBytes());

    settings_.captureInterval = 3600;
    settings_.captureRegions[1].x = 1200;
    EXPECT_EQ(Run(ConfigFileMode::SAVE), ConfigFileResult::Saved);
    EXPECT_EQ(Contents(ConfigPath()),
              ToAnsi(test::WrittenConfigText(
                  {.region2 = L" 1200 ,  570 ,  90 ,   9", .interval = L"   3600"})));
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"QvanConfig.ini"});
    EXPECT_TRUE(sink_.messages.empty());
    EXPECT_EQ(callbacks_, 2);
}

TEST_F(ConfigFileProcess, SaveLeavesSomeoneElsesSideFileAlone) {
    Write(ConfigPath(), File({.region1 = "9, 9, 9, 9"}));
    fs::create_directory(ForeignSidePath());
    settings_ = DefaultSettings();
    EXPECT_EQ(Run(ConfigFileMode::SAVE), ConfigFileResult::Saved);
    EXPECT_TRUE(sink_.messages.empty());
    EXPECT_EQ(Contents(ConfigPath()), DefaultFileBytes());
    EXPECT_TRUE(fs::is_directory(ForeignSidePath())); // not ours to remove
    EXPECT_EQ(callbacks_, 1);
}

TEST_F(ConfigFileProcess, FailedReplaceLeavesNoTempFile) {
    fs::create_directory(ConfigPath());
    fs::create_directory(ConfigPath() / "keep");
    EXPECT_EQ(Run(ConfigFileMode::INIT), ConfigFileResult::SaveFailed);
    ExpectOneWriteMessage();
    EXPECT_TRUE(fs::exists(ConfigPath() / "keep"));
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"QvanConfig.ini"});
    EXPECT_EQ(callbacks_, 1);
}

// A full disk: the new file is cut off one byte short.
TEST_F(ConfigFileProcess, SaveFailingPartWayKeepsTheOldFileAndLeavesNoSideFile) {
    const std::string old = File({.region1 = "9, 9, 9, 9"});
    Write(ConfigPath(), old);
    settings_ = DefaultSettings();
    {
        const testing_fakes::FileSizeLimit fullDisk(DefaultFileBytes().size() - 1);
        ASSERT_TRUE(fullDisk.Applied());
        EXPECT_EQ(Run(ConfigFileMode::SAVE), ConfigFileResult::SaveFailed);
    }
    ExpectOneWriteMessage();
    EXPECT_EQ(Contents(ConfigPath()), old);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"QvanConfig.ini"});
    EXPECT_EQ(callbacks_, 1);
}

TEST_F(ConfigFileProcess, UnreadableFolderInTheFilesPlaceIsKept) {
    fs::create_directory(ConfigPath()); // exists, but reads as nothing and cannot be copied
    fs::create_directory(ConfigPath() / "keep");
    EXPECT_EQ(Run(ConfigFileMode::READ), ConfigFileResult::Kept);
    ExpectOneReadMessage();
    EXPECT_EQ(settings_, DefaultsWithDebug());
    EXPECT_TRUE(fs::exists(ConfigPath() / "keep"));
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"QvanConfig.ini"});
    EXPECT_EQ(callbacks_, 1);
}

// Two copies of the program (two sessions sharing the folder) saving at once, while a third
// reads the file: every save succeeds and every read sees one whole file.
TEST_F(ConfigFileProcess, TwoWritersSavingAtOnceNeverTearTheFile) {
    Settings one = DefaultSettings();
    one.captureInterval = 30;
    Settings two = DefaultSettings();
    two.captureInterval = 40;
    const std::string whole[] = {FormatConfigFile(one), FormatConfigFile(two)};
    Write(ConfigPath(), whole[0]);

    std::atomic<int> writersLeft{2};
    std::atomic<int> failedSaves{0};
    const auto writer = [&](Settings settings) {
        RecordingSink sink;
        for (int i = 0; i < 200; ++i) {
            if (ProcessConfigFile(ConfigFileMode::SAVE,
                                  ConfigFileContext{settings, folder_, sink, {}, {}}) !=
                ConfigFileResult::Saved) {
                ++failedSaves;
            }
        }
        --writersLeft;
    };
    std::thread first(writer, one);
    std::thread second(writer, two);
    int tornReads = 0;
    while (writersLeft > 0) {
        const std::string read = Contents(ConfigPath());
        tornReads += (read != whole[0] && read != whole[1]) ? 1 : 0;
    }
    first.join();
    second.join();
    EXPECT_EQ(failedSaves, 0);
    EXPECT_EQ(tornReads, 0);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"QvanConfig.ini"});
}

} // namespace
} // namespace qv
