// The launcher's choice between a web address and a file, its records, its message and the
// busy cursor around the shell's start.
#include "measurement_fakes.h"
#include "services/file_launcher.h"

#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace qv {
namespace {

TEST(FileLauncherTest, WebAddressOrPath) {
    struct Row {
        std::wstring target;
        bool address;
    };
    const Row rows[] = {
        {L"https://quorvane.example.org/", true},
        {L"http://example.org", true},
        {L"ftp://files.example.org/a.txt", true},
        {L"svn+ssh://host/repo", true},
        {L"C:\\games\\readme.txt", false},
        {L"C://games/readme.txt", false}, // a drive letter, not a scheme
        {L"readme.txt", false},
        {L"://nothing", false},
        {L"1http://x", false},
        {L"my file://x", false},
        {L"mailto:someone@example.org", false},
        {L"", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(IsWebAddress(row.target), row.address)
            << std::string(row.target.begin(), row.target.end());
    }
}

TEST(FileLauncherTest, FileNameOfPath) {
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"C:\\games\\readme.txt", L"readme.txt"},
        {L"readme.txt", L"readme.txt"},
        {L"C:readme.txt", L"readme.txt"},
        {L"D:/data/ログ.txt", L"ログ.txt"},
        {L"C:\\games\\", L"games\\"},
        {L"\\\\server\\share\\表.txt", L"表.txt"},
        {L"", L""},
    };
    for (const auto& [path, name] : rows) {
        EXPECT_EQ(FileNameOfPath(path), name);
    }
}

// The system, the wait and the message box in one, so the events keep their order.
class FakeLauncherHost : public LauncherHost, public Waiter, public MessageSink {
  public:
    std::set<std::wstring> files;
    std::vector<std::wstring> events; // everything the launcher did, in order
    bool quit = false;
    bool shellFails = false;

    bool FileExists(std::wstring_view path) override {
        events.push_back(L"exists? " + std::wstring(path));
        return files.count(std::wstring(path)) != 0;
    }
    bool ShellOpen(std::wstring_view target) override {
        events.push_back(L"open " + std::wstring(target));
        return !shellFails;
    }
    void SetBusyCursor(bool busy) override { events.push_back(busy ? L"busy" : L"default"); }
    WaitResult WaitMilliseconds(double ms) override {
        events.push_back(L"wait " + std::to_wstring(static_cast<int>(ms)));
        return quit ? WaitResult::QuitRequested : WaitResult::Elapsed;
    }
    void ShowMessage(std::wstring_view text, std::wstring_view title) override {
        events.push_back(L"box " + std::wstring(title) + L": " + std::wstring(text));
    }
};

// The records go to the program's real debug log.
class LaunchTest : public testing_fakes::MeasurementFixture {
  protected:
    LaunchOutcome Launch(std::wstring_view target, std::int32_t ms) {
        return LaunchFile(target, ms, host, host, host, debugLog);
    }
    FakeLauncherHost host;
};

TEST_F(LaunchTest, WebAddressGoesToTheShellWithoutALookAtTheDisk) {
    EXPECT_EQ(Launch(L"https://quorvane.example.org/", 500), LaunchOutcome::Opened);
    EXPECT_EQ(host.events,
              (std::vector<std::wstring>{L"busy", L"open https://quorvane.example.org/",
                                         L"wait 500", L"default"}));
    EXPECT_EQ(Records(),
              (std::vector<std::wstring>{L"Execution File Start ･･･  https://quorvane.example.org/",
                                         L"Execution File Finish"}));
}

TEST_F(LaunchTest, ExistingFileOpensAndAZeroWaitStillPassesThroughTheWait) {
    host.files.insert(L"C:\\games\\readme.txt");
    EXPECT_EQ(Launch(L"C:\\games\\readme.txt", 0), LaunchOutcome::Opened);
    EXPECT_EQ(host.events,
              (std::vector<std::wstring>{L"exists? C:\\games\\readme.txt", L"busy",
                                         L"open C:\\games\\readme.txt", L"wait 0", L"default"}));
    EXPECT_EQ(Records(),
              (std::vector<std::wstring>{L"Execution File Start ･･･  C:\\games\\readme.txt",
                                         L"Execution File Finish"}));
}

TEST_F(LaunchTest, MissingFileIsReportedByNameAndRecordedByFullPath) {
    EXPECT_EQ(Launch(L"C:\\games\\readme.txt", 500), LaunchOutcome::NotFound);
    EXPECT_EQ(host.events,
              (std::vector<std::wstring>{L"exists? C:\\games\\readme.txt",
                                         L"box 実行エラー: readme.txtファイルが見つかりません。"}));
    EXPECT_EQ(Records(),
              std::vector<std::wstring>{L"Execution File Not Find  C:\\games\\readme.txt"});
}

TEST_F(LaunchTest, TargetTheShellCannotOpenIsReportedInsteadOfTheFinish) {
    host.files.insert(L"C:\\games\\readme.txt");
    host.shellFails = true;
    EXPECT_EQ(Launch(L"C:\\games\\readme.txt", 500), LaunchOutcome::OpenFailed);
    EXPECT_EQ(host.events,
              (std::vector<std::wstring>{L"exists? C:\\games\\readme.txt", L"busy",
                                         L"open C:\\games\\readme.txt", L"default",
                                         L"box 実行エラー: readme.txtを開けませんでした。"}));
    EXPECT_EQ(Records(),
              (std::vector<std::wstring>{L"Execution File Start ･･･  C:\\games\\readme.txt",
                                         L"Execution File Failed"}));
}

TEST_F(LaunchTest, QuitDuringTheWaitRestoresTheCursorAndWritesNoFinish) {
    host.quit = true;
    EXPECT_EQ(Launch(L"https://quorvane.example.org/", 500), LaunchOutcome::QuitRequested);
    ASSERT_FALSE(host.events.empty());
    EXPECT_EQ(host.events.back(), L"default");
    EXPECT_EQ(Records().size(), 1u); // the start only
}

} // namespace
} // namespace qv
