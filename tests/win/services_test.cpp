#include "app/shell_services_win.h"
#include "app/system_info_win.h"
#include "base/ansi_text.h"
#include "base/column_format.h"
#include "services/debug_log.h"
#include "services/program_identity.h"
#include "tests/common/ansi_cases.h"

#include <windows.h>

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

namespace fs = std::filesystem;

TEST(Cp932, DoubleByteColumnWidth) {
    EXPECT_EQ(qv::FormatColumn(L"開始座標", 12, 1, 0, false), L"   開始座標 ");
}

TEST(FileExistsWin, FilesAndFolders) {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const fs::path folder = fs::path(temp) / L"qv-services-テスト";
    fs::create_directories(folder);
    EXPECT_TRUE(qv::FileExists(folder));
    EXPECT_FALSE(qv::FileExists(folder / L"debug.txt"));
    std::ofstream(folder / L"debug.txt") << "x";
    EXPECT_TRUE(qv::FileExists(folder / L"debug.txt"));
    fs::remove_all(folder);
    EXPECT_FALSE(qv::FileExists(folder));
}

TEST(SystemInfoWin, DescriptionOfThisMachine) {
    const std::wstring text = qv::GetSystemDescription();
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.rfind(L"OSInfo:", 0), 0u) << qv::ToAnsi(text);
    const std::wstring lastLine = text.substr(text.rfind(L"\r\n", text.size() - 3) + 2);
    EXPECT_EQ(lastLine.rfind(L"    Processor数: ", 0), 0u) << qv::ToAnsi(text);
    EXPECT_EQ(text.substr(text.size() - 2), L"\r\n");
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    EXPECT_EQ(lastLine,
              L"    Processor数: " + std::to_wstring(info.dwNumberOfProcessors) + L"\r\n");
}

TEST(SystemInfoWin, MemoryStatusIsSixtyFourBit) {
    const qv::MemoryStatus status = qv::QueryMemoryStatus();
    MEMORYSTATUSEX ex{};
    ex.dwLength = sizeof(ex);
    ASSERT_TRUE(GlobalMemoryStatusEx(&ex));
    EXPECT_EQ(status.totalPhysical, ex.ullTotalPhys);
    EXPECT_GT(status.availablePhysical, 0u);
    EXPECT_LE(status.memoryLoad, 100u);
}

class NoMessages : public qv::MessageSink {
  public:
    int count = 0;
    void ShowMessage(std::wstring_view, std::wstring_view) override { ++count; }
};

TEST(DebugLogWin, RealHostWritesHeaderAndRecords) {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const fs::path folder = fs::path(temp) / L"qv-debuglog-win";
    fs::remove_all(folder);
    fs::create_directories(folder);
    qv::SystemClock clock;
    qv::Win32DebugLogHost host;
    NoMessages sink;
    qv::DebugLog log(folder, clock, host, sink);
    ASSERT_TRUE(log.Write(L"Starting Program " QV_PROGRAM_VERSION L"･･･", L"INIT"));
    ASSERT_TRUE(log.Write(L"Reading ConfigFile･･･End ", L""));

    std::ifstream in(folder / L"debug.txt", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    EXPECT_EQ(bytes.rfind("OSInfo:", 0), 0u);
    EXPECT_NE(bytes.find("    Processor\x90\x94: "), std::string::npos);
    EXPECT_NE(bytes.find("  Available Physical Memory "), std::string::npos);
    EXPECT_NE(bytes.find("%\r\nStarting Program Ver." QV_VERSION_TEXT "\xa5\xa5\xa5\r\n20"),
              std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 28), " Reading ConfigFile\xa5\xa5\xa5"
                                               "End \r\n");
    EXPECT_EQ(sink.count, 0);

    // A file held open without write sharing by another program: dropped, reported once.
    HANDLE locked = CreateFileW((folder / L"debug.txt").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(log.Write(L"a", L""));
    EXPECT_FALSE(log.Write(L"b", L"INIT"));
    CloseHandle(locked);
    EXPECT_EQ(sink.count, 1);
    EXPECT_TRUE(log.Write(L"c", L""));

    // The next start keeps this run as the backup, byte for byte, and starts afresh.
    std::ifstream before(folder / L"debug.txt", std::ios::binary);
    const std::string previous{std::istreambuf_iterator<char>(before),
                               std::istreambuf_iterator<char>()};
    before.close();
    ASSERT_TRUE(log.Write(L"again", L"INIT"));
    std::ifstream backup(folder / L"debugBackUp.txt", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(backup), std::istreambuf_iterator<char>()),
              previous);
    backup.close();
    EXPECT_LT(fs::file_size(folder / L"debug.txt"), previous.size());
    fs::remove_all(folder);
}

} // namespace
