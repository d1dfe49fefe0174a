// Starting and ending the program as a user does, checked through the files it writes.
#include "tests/e2e/e2e_fixture.h"

namespace qv::e2e {
namespace {

bool HasVisibleMessageBox(DWORD pid) {
    for (const auto& w : TopLevelWindows(pid)) {
        if (w.visible && w.className == L"#32770") {
            return true;
        }
    }
    return false;
}

bool EndsEveryLineWithCrLf(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) {
            return false;
        }
    }
    return bytes.ends_with("\r\n");
}

using ProgramStartTest = ProgramTest;

TEST_F(ProgramStartTest, FirstStartInAnEmptyFolder) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(HasVisibleMessageBox(processes_.back().Id()));

    auto bytes = Bytes(kDebugLog);
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(EndsEveryLineWithCrLf(*bytes));
    DebugLog log = Log();
    ASSERT_TRUE(log.hasStartRecord);
    EXPECT_EQ(log.startRecords, 1);
    ASSERT_FALSE(log.header.empty());
    // The header's last line is the memory line, right before the start record.
    EXPECT_TRUE(log.header.back().starts_with(L"  Available Physical Memory"))
        << Utf8(log.header.back());
    EXPECT_TRUE(log.header.back().ends_with(L"%"));
    for (const auto& record : log.records) {
        EXPECT_FALSE(record.timestamp.empty()) << "no timestamp: " << Utf8(record.message);
    }
    EXPECT_EQ(
        MessagesWithoutLayout(log.records),
        (std::vector<std::wstring>{L"Reading ConfigFile･･･End ", L"PatternFile ChangeData･･･End ",
                                   L"Creating ExpDataTable･･･End ", kStartupDoneRecord}));

    EXPECT_EQ(Bytes(kConfigFile), DefaultConfigFile());
    EXPECT_EQ(DefaultConfigFile().size(), 282u);
    EXPECT_FALSE(Exists(kDebugBackup));
    EXPECT_FALSE(Exists(kConfigBackup));

    auto texts = ChildTexts(main);
    for (const wchar_t* caption : {L"測定状況", L"測定結果"}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), caption), texts.end()) << Utf8(caption);
    }

    CloseProgram(main, processes_.back());
}

TEST_F(ProgramStartTest, MenuTreeAndIdleStates) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);

    struct Expected {
        MenuPath path;
        bool enabled;
        bool dropDown;
    };
    const Expected items[] = {
        {{L"ファイル"}, true, true},
        {{L"ファイル", L"プリントスクリーン"}, true, false},
        {{L"ファイル", L"終了"}, true, false},
        {{L"設定"}, true, false},
        {{L"開始"}, true, false},
        {{L"停止"}, false, false},
        {{L"一時停止"}, false, false},
        {{L"ヘルプ"}, true, true},
        {{L"ヘルプ", L"バージョン情報..."}, true, false},
    };
    for (const auto& e : items) {
        auto item = MenuItem(main, e.path);
        ASSERT_TRUE(item) << Utf8(e.path.back());
        EXPECT_EQ(item->enabled, e.enabled) << Utf8(e.path.back());
        EXPECT_EQ(item->hasSubmenu, e.dropDown) << Utf8(e.path.back());
    }
    auto bar = MenuItems(main);
    ASSERT_TRUE(bar);
    std::vector<std::wstring> captions;
    for (const auto& item : *bar) {
        captions.push_back(item.caption);
    }
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"ファイル", L"設定", L"開始", L"停止",
                                                   L"一時停止", L"表示", L"ヘルプ"}));
    EXPECT_EQ(ChooseMenu(main, {L"停止"}), MenuResult::Disabled);
}

TEST_F(ProgramStartTest, EachStartKeepsThePreviousLogAsBackup) {
    // Three runs: the second makes the backup, the third must replace it.
    std::optional<std::string> previousLog;
    for (int run = 1; run <= 3; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        HWND main = Start();
        ASSERT_NE(main, nullptr);
        if (previousLog) {
            EXPECT_EQ(Bytes(kDebugBackup), previousLog);
        } else {
            EXPECT_FALSE(Exists(kDebugBackup));
        }
        DebugLog log = Log();
        EXPECT_EQ(log.startRecords, 1) << "the log was not started afresh";
        ASSERT_FALSE(log.records.empty());
        EXPECT_EQ(MessagesWithoutLayout(log.records).front(), L"Reading ConfigFile･･･End ");
        ASSERT_TRUE(RequestClose(main));
        ASSERT_TRUE(processes_.back().WaitForExit());
        previousLog = Bytes(kDebugLog);
        ASSERT_TRUE(previousLog);
    }
}

TEST_F(ProgramStartTest, SecondCopyIsRefusedAndLeavesTheFirstAlone) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    auto logBefore = Bytes(kDebugLog);

    Process* second = Launch();
    ASSERT_NE(second, nullptr);
    auto box = WaitForMessageBox(L"エラー", kDefaultWait, second->Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"既にプログラムは起動しています。");
    EXPECT_TRUE(NoTopWindowFor(kMainWindowTitle, Millis(0), second->Id()));
    ASSERT_TRUE(PressButton(box->hwnd));
    EXPECT_TRUE(second->WaitForExit());

    EXPECT_EQ(Bytes(kDebugLog), logBefore);
    EXPECT_FALSE(Exists(kDebugBackup));
    EXPECT_TRUE(IsWindow(main));
    CloseProgram(main, processes_.front());
}

TEST_F(ProgramStartTest, ClosingTheWindowWritesEndOfTheProgram) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(RequestClose(main));
    ASSERT_TRUE(processes_.back().WaitForExit());
    auto messages = Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), L"End of the Program");
}

TEST_F(ProgramStartTest, MenuEndWritesEndOfProgramAndNothingAfter) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(ChooseMenu(main, {L"ファイル", L"終了"}), MenuResult::Chosen);
    ASSERT_TRUE(processes_.back().WaitForExit());
    auto messages = MessagesWithoutLayout(Log().records);
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages.back(), L"End of Program ");
    EXPECT_EQ(messages[messages.size() - 2], kStartupDoneRecord);
}

TEST_F(ProgramStartTest, UnreadableConfigFileIsKeptAndReplacedByDefaults) {
    std::string fiveLines = DefaultConfigFile();
    size_t endOfLine6 = fiveLines.rfind("\r\n", fiveLines.size() - 3);
    fiveLines.resize(fiveLines.rfind("\r\n", endOfLine6 - 1) + 2);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"five lines", fiveLines},
        {"empty file", ""},
        {"flag word", AnsiBytes(L"1,1,1,1,a\r\n463,570,90,9,b\r\nMaybe,c\r\n20,d\r\nFalse,e\r\n"
                                L"15,f\r\n\r\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteFileBytes(File(kConfigFile), c.bytes));
        Process* process = Launch();
        ASSERT_NE(process, nullptr);
        auto box = WaitForMessageBox(L"設定ファイル読込み", kDefaultWait, process->Id());
        ASSERT_TRUE(box);
        EXPECT_NE(box->text.find(L"読込みできない設定ファイルです"), std::wstring::npos);
        EXPECT_NE(box->text.find(L"初期値で継続します"), std::wstring::npos);
        ASSERT_TRUE(PressButton(box->hwnd));
        HWND main = WaitUntilReady(*process);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(Bytes(kConfigBackup), c.bytes);
        EXPECT_EQ(Bytes(kConfigFile), DefaultConfigFile());
        ASSERT_TRUE(RequestClose(main));
        ASSERT_TRUE(process->WaitForExit());
    }
}

TEST_F(ProgramStartTest, UnwritableDebugLogIsReportedOnce) {
    ASSERT_TRUE(CreateDirectoryW(File(kDebugLog).c_str(), nullptr));
    Process* process = Launch();
    ASSERT_NE(process, nullptr);
    auto box = WaitForMessageBox(L"デバッグログ", kDefaultWait, process->Id());
    ASSERT_TRUE(box);
    ASSERT_TRUE(PressButton(box->hwnd));
    HWND main = FindTopWindow(kMainWindowTitle, kDefaultWait, process->Id());
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(NoTopWindowFor(L"デバッグログ", Millis(1500), process->Id()));
    EXPECT_TRUE(process->Running());
    ASSERT_TRUE(RequestClose(main));
    EXPECT_TRUE(process->WaitForExit());
}

} // namespace
} // namespace qv::e2e
