// The configuration file on the Windows runtime: code page 932 bytes through the system's
// conversion, wide paths, and the replace-by-rename of the file and of its backup.
#include "config/config_file.h"
#include "tests/common/config_texts.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Independent of the program's own conversion: the system's code page 932 tables.
std::string Cp932(std::wstring_view text) {
    const int n = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                      0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

const std::string kDefaultFile = Cp932(qv::test::WrittenConfigText());

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::wstring> FileNames(const fs::path& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class RecordingSink : public qv::MessageSink {
  public:
    void ShowMessage(std::wstring_view text, std::wstring_view title) override {
        shown.emplace_back(std::wstring(title) + L"|" + std::wstring(text));
    }
    std::vector<std::wstring> shown;
};

class ConfigFileWin : public ::testing::Test {
  protected:
    ConfigFileWin() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        // A Japanese folder name: every path goes through the wide file functions.
        folder_ = fs::path(temp) / (L"qv-設定-" + std::to_wstring(stamp));
        fs::create_directories(folder_);
    }
    ~ConfigFileWin() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    qv::ConfigFileResult Run(qv::ConfigFileMode mode) {
        return qv::ProcessConfigFile(
            mode, qv::ConfigFileContext{settings_, folder_, sink_, [this] { ++afterWork_; }, {}});
    }
    fs::path Config() const { return folder_ / L"QvanConfig.ini"; }
    fs::path Backup() const { return folder_ / L"QvanConfigBack.ini"; }

    fs::path folder_;
    qv::Settings settings_;
    RecordingSink sink_;
    int afterWork_ = 0;
};

TEST_F(ConfigFileWin, MissingFileIsWrittenFromTheDefaultsInCodePage932) {
    ASSERT_EQ(kDefaultFile.size(), 282u);
    EXPECT_EQ(Run(qv::ConfigFileMode::READ), qv::ConfigFileResult::Saved);
    EXPECT_EQ(ReadBytes(Config()), kDefaultFile);
    EXPECT_EQ(settings_, qv::DefaultSettings());
    EXPECT_TRUE(sink_.shown.empty());
    EXPECT_EQ(afterWork_, 1);
    EXPECT_EQ(FileNames(folder_), std::vector<std::wstring>{L"QvanConfig.ini"});

    // Read back as it stands: not rewritten.
    settings_ = qv::Settings{};
    const auto before = fs::last_write_time(Config());
    EXPECT_EQ(Run(qv::ConfigFileMode::READ), qv::ConfigFileResult::Read);
    EXPECT_EQ(settings_, qv::DefaultSettings());
    EXPECT_EQ(fs::last_write_time(Config()), before);
}

TEST_F(ConfigFileWin, SaveReplacesAnExistingFileAndLeavesNoSideFile) {
    WriteBytes(Config(), std::string(2000, 'x')); // longer than the new text
    settings_ = qv::DefaultSettings();
    settings_.captureRegions[0].x = 1200;
    settings_.captureInterval = 3600;
    settings_.debugMode = true;
    for (int save = 0; save < 2; ++save) {
        EXPECT_EQ(Run(qv::ConfigFileMode::SAVE), qv::ConfigFileResult::Saved);
        EXPECT_EQ(ReadBytes(Config()),
                  Cp932(qv::test::WrittenConfigText(
                      {.region1 = L" 1200 ,    1 ,   1 ,   1", .interval = L"   3600"})));
    }
    EXPECT_TRUE(settings_.debugMode) << "the debug mode is not the file's business";
    EXPECT_EQ(FileNames(folder_), std::vector<std::wstring>{L"QvanConfig.ini"});
    EXPECT_TRUE(sink_.shown.empty());
    EXPECT_EQ(afterWork_, 2);
}

TEST_F(ConfigFileWin, UnreadableFileReplacesTheOldBackupAndIsReset) {
    const std::string bad = Cp932(L"1,1,1,1,a\r\n463,570,90,9,b\r\nMaybe,c\r\n20,d\r\n");
    WriteBytes(Config(), bad);
    WriteBytes(Backup(), "an older backup");
    settings_.debugMode = true;
    EXPECT_EQ(Run(qv::ConfigFileMode::READ), qv::ConfigFileResult::Saved);
    ASSERT_EQ(sink_.shown.size(), 1u);
    EXPECT_EQ(sink_.shown[0],
              L"設定ファイル読込み|読込みできない設定ファイルです\r\n初期値で継続します\r\n");
    EXPECT_EQ(ReadBytes(Backup()), bad);
    EXPECT_EQ(ReadBytes(Config()), kDefaultFile);
    qv::Settings expected = qv::DefaultSettings();
    expected.debugMode = true;
    EXPECT_EQ(settings_, expected);
    EXPECT_EQ(FileNames(folder_),
              (std::vector<std::wstring>{L"QvanConfig.ini", L"QvanConfigBack.ini"}));
}

TEST_F(ConfigFileWin, SaveThatCannotReplaceTheFileIsReportedAndCleansUp) {
    fs::create_directory(Config()); // a folder holds the file's name
    settings_ = qv::DefaultSettings();
    EXPECT_EQ(Run(qv::ConfigFileMode::SAVE), qv::ConfigFileResult::SaveFailed);
    ASSERT_EQ(sink_.shown.size(), 1u);
    EXPECT_EQ(sink_.shown[0], L"設定ファイル書き込み|設定をファイルに保存できませんでした。");
    EXPECT_TRUE(fs::is_directory(Config()));
    EXPECT_EQ(FileNames(folder_), std::vector<std::wstring>{L"QvanConfig.ini"});
    EXPECT_EQ(settings_, qv::DefaultSettings());
    EXPECT_EQ(afterWork_, 1);
}

} // namespace
