#include "base/ansi_text.h"
#include "services/debug_log.h"
#include "services/program_identity.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::wstring kSystem = L"OSInfo:5-1-2600-2-Service Pack 3-3-0-256-1-0\r\nWindows XP\r\n";
const std::wstring kStart = L"Starting Program " QV_PROGRAM_VERSION L"･･･";

class FakeHost : public qv::Clock, public qv::DebugLogHost {
  public:
    qv::LocalTime now{2024, 10, 2, 18, 4, 9, 0};
    qv::MemoryStatus memory{55, 0, 1234567ull * 1024 + 1023, 0, 0, 0, 0};
    std::wstring system = kSystem;

    qv::LocalTime Now() override { return now; }
    std::uint32_t Milliseconds() override { return 0; }
    qv::MemoryStatus QueryMemoryStatus() override { return memory; }
    std::wstring SystemDescription() override { return system; }
};

class RecordingSink : public qv::MessageSink {
  public:
    std::vector<std::pair<std::wstring, std::wstring>> shown;
    void ShowMessage(std::wstring_view text, std::wstring_view title) override {
        shown.emplace_back(text, title);
    }
};

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string kMemoryLine = "  Available Physical Memory 1,234,567 kByte    45 %\r\n";

class DebugLogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() / ("qv-debuglog-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Log() const { return ReadBytes(folder / "debug.txt"); }
    std::string Header(const std::wstring& message) const {
        return qv::ToAnsi(kSystem) + kMemoryLine + qv::ToAnsi(message) + "\r\n";
    }

    fs::path folder;
    FakeHost host;
    RecordingSink sink;
};

TEST(Timestamp, FixedPatternWithLeadingZeros) {
    EXPECT_EQ(qv::FormatTimestamp({2024, 10, 2, 18, 4, 9, 500}), L"2024/10/02 18:04:09");
    EXPECT_EQ(qv::FormatTimestamp({2001, 1, 1, 0, 0, 0, 0}), L"2001/01/01 00:00:00");
}

TEST(MemoryLine, ColumnsAndDerivedFigures) {
    qv::MemoryStatus status{55, 0, 1234567ull * 1024 + 1023, 0, 0, 0, 0};
    EXPECT_EQ(qv::BuildMemoryLine(status), qv::FromAnsi(kMemoryLine));
    // 0 KB free is "0" right-aligned, never an empty column; 100 % load is 0 % free.
    status = {100, 0, 1023, 0, 0, 0, 0};
    EXPECT_EQ(qv::BuildMemoryLine(status),
              L"  Available Physical Memory         0 kByte     0 %\r\n");
    // Figures above 4 GB are shown as they are.
    status = {10, 0, 64ull << 30, 0, 0, 0, 0};
    EXPECT_EQ(qv::BuildMemoryLine(status),
              L"  Available Physical Memory 67,108,864 kByte    90 %\r\n");
}

TEST_F(DebugLogTest, FirstRunCreatesHeaderAndNoBackup) {
    qv::DebugLog log(folder, host, host, sink);
    ASSERT_TRUE(log.Write(kStart, L"INIT"));
    EXPECT_EQ(Log(), Header(kStart));
    // The half-width dots are single CP932 bytes.
    const std::string startLine = "Starting Program Ver." QV_VERSION_TEXT "\xA5\xA5\xA5\r\n";
    EXPECT_EQ(Log().substr(Log().size() - startLine.size()), startLine);
    EXPECT_FALSE(fs::exists(folder / "debugBackUp.txt"));
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(DebugLogTest, OrdinaryRecordsAreAppendedWithTimestamp) {
    qv::DebugLog log(folder, host, host, sink);
    log.Write(kStart, L"INIT");
    ASSERT_TRUE(log.Write(L"Reading ConfigFile･･･End ", L""));
    host.now = {2024, 10, 2, 18, 4, 10, 0};
    log.Write(L"", L"");
    EXPECT_EQ(Log(), Header(kStart) +
                         "2024/10/02 18:04:09 Reading ConfigFile\xA5\xA5\xA5"
                         "End \r\n" +
                         "2024/10/02 18:04:10 \r\n");
}

TEST_F(DebugLogTest, SecondRunKeepsTheFirstAsBackup) {
    qv::DebugLog first(folder, host, host, sink);
    first.Write(kStart, L"INIT");
    first.Write(L"End of Program ", L"");
    const std::string firstRun = Log();

    host.memory.memoryLoad = 0;
    qv::DebugLog second(folder, host, host, sink);
    ASSERT_TRUE(second.Write(L"again", L"INIT"));
    EXPECT_EQ(ReadBytes(folder / "debugBackUp.txt"), firstRun);
    EXPECT_EQ(Log(), qv::ToAnsi(kSystem) +
                         "  Available Physical Memory 1,234,567 kByte   100 %\r\nagain\r\n");
}

TEST_F(DebugLogTest, TagComparisonIsCaseSensitive) {
    qv::DebugLog log(folder, host, host, sink);
    log.Write(kStart, L"INIT");
    log.Write(L"x", L"init");
    log.Write(L"y", L"Init");
    EXPECT_EQ(Log(), Header(kStart) + "2024/10/02 18:04:09 x\r\n2024/10/02 18:04:09 y\r\n");
    EXPECT_FALSE(fs::exists(folder / "debugBackUp.txt"));
}

TEST_F(DebugLogTest, DeletedFileIsRecreatedWithHeaderAndBackupUntouched) {
    qv::DebugLog log(folder, host, host, sink);
    log.Write(L"run 1", L"INIT");
    log.Write(L"run 2", L"INIT");
    const std::string backup = ReadBytes(folder / "debugBackUp.txt");
    fs::remove(folder / "debug.txt");

    ASSERT_TRUE(log.Write(L"after delete", L""));
    EXPECT_EQ(Log(), Header(L"after delete"));
    EXPECT_EQ(ReadBytes(folder / "debugBackUp.txt"), backup);
}

TEST_F(DebugLogTest, EmptyInitMessageWritesHeaderAndEmptyLine) {
    host.system.clear(); // version query failed: header starts with the memory line
    qv::DebugLog log(folder, host, host, sink);
    log.Write(L"", L"INIT");
    EXPECT_EQ(Log(), kMemoryLine + "\r\n");
}

TEST_F(DebugLogTest, UnwritableLogIsDroppedAndReportedOnce) {
    fs::create_directory(folder / "debug.txt");
    qv::DebugLog log(folder, host, host, sink);
    EXPECT_FALSE(log.Write(kStart, L"INIT"));
    EXPECT_FALSE(log.Write(L"a", L""));
    EXPECT_FALSE(log.Write(L"b", L"INIT"));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].second, L"デバッグログ");
    EXPECT_EQ(sink.shown[0].first,
              L"デバッグログ（debug.txt）に書き込めません。ログの記録を省いて続行します。");
    EXPECT_TRUE(fs::is_directory(folder / "debug.txt"));
}

TEST_F(DebugLogTest, MissingFolderIsReportedOnce) {
    qv::DebugLog log(folder / "missing", host, host, sink);
    EXPECT_FALSE(log.Write(kStart, L"INIT"));
    EXPECT_FALSE(log.Write(L"a", L""));
    EXPECT_EQ(sink.shown.size(), 1u);
}

TEST_F(DebugLogTest, FailedBackupKeepsThePreviousLogAndAppendsTheNewRun) {
    qv::DebugLog log(folder, host, host, sink);
    log.Write(L"run 1", L"INIT");
    const std::string previous = Log();
    fs::create_directory(folder / "debugBackUp.txt"); // the copy cannot replace a folder

    ASSERT_TRUE(log.Write(L"run 2", L"INIT"));
    EXPECT_EQ(Log(), previous + Header(L"run 2"));
    EXPECT_TRUE(sink.shown.empty());
}

// /dev/full accepts the open and fails the write, as a full disk does.
TEST_F(DebugLogTest, WriteThatFailsOnAFullDiskCountsAsAFailure) {
    std::error_code ec;
    fs::create_symlink("/dev/full", folder / "debug.txt", ec);
    if (ec) {
        GTEST_SKIP() << "no /dev/full to fail the write";
    }
    qv::DebugLog log(folder, host, host, sink);
    EXPECT_FALSE(log.Write(L"a"));
    EXPECT_FALSE(log.Write(L"b"));
    EXPECT_EQ(sink.shown.size(), 1u);
}

TEST_F(DebugLogTest, FileExistsForFilesAndFolders) {
    EXPECT_TRUE(qv::FileExists(folder));
    EXPECT_FALSE(qv::FileExists(folder / "debug.txt"));
    std::ofstream(folder / "debug.txt") << "x";
    EXPECT_TRUE(qv::FileExists(folder / "debug.txt"));
}

} // namespace
