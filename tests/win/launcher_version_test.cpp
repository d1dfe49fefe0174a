// The file launcher on the real system (a missing file's message box and record) and the
// version dialog in-process (its texts, its link, its close box). Modal loops run here, so
// the steps come from a thread timer that every message loop of this thread dispatches.
#include "app/file_launcher_win.h"
#include "app/form_popup_win.h"
#include "app/form_version_win.h"
#include "app/shell_services_win.h"
#include "base/ansi_text.h"
#include "services/about_info.h"
#include "tests/win/fixed_log_host.h"
#include "tests/win/timer_script.h"
#include "win/busy_cursor_win.h"
#include "win/handles_win.h"
#include "win/message_pump_win.h"
#include "win/ui_win.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
}

HWND OwnDialog(const wchar_t* title) {
    HWND found = FindWindowW(L"#32770", title);
    DWORD pid = 0;
    GetWindowThreadProcessId(found, &pid);
    return found != nullptr && pid == GetCurrentProcessId() && IsWindowVisible(found) ? found
                                                                                      : nullptr;
}

std::vector<std::wstring> ChildTexts(HWND parent) {
    std::vector<std::wstring> texts;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(TextOf(child));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

bool Contains(const std::vector<std::wstring>& texts, const std::wstring& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

using qv::TimerScript;

using qv::FixedHost;

fs::path FreshFolder(const char* name) {
    fs::path folder = fs::temp_directory_path() / name;
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder);
    return folder;
}

std::wstring ReadLog(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return qv::FromAnsi(bytes);
}

TEST(FileLauncherWin, MissingFileShowsItsNameInAMessageBoxAndRecordsTheFullPath) {
    const fs::path folder = FreshFolder("qv_launcher_missing");
    FixedHost host;
    qv::MessageBoxSink messages;
    qv::DebugLog log(folder, host, host, messages);
    ASSERT_TRUE(log.Write(L"test begins", L"INIT"));
    qv::BusyCursor cursor;
    qv::Win32Launcher launcher(cursor);
    qv::PumpWaiter waiter;
    const std::wstring target = (folder / L"無い資料.txt").wstring();

    std::wstring boxText;
    TimerScript script;
    const bool completed = script.Run(
        {[&] {
            HWND box = OwnDialog(L"実行エラー");
            if (box == nullptr) {
                return false;
            }
            for (const std::wstring& text : ChildTexts(box)) {
                boxText += text.find(L"ファイル") != std::wstring::npos ? text : L"";
            }
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return true;
        }},
        [&] {
            EXPECT_EQ(qv::LaunchFile(target, 500, launcher, waiter, messages, log),
                      qv::LaunchOutcome::NotFound);
        },
        [] {
            if (HWND box = OwnDialog(L"実行エラー")) {
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        });
    EXPECT_TRUE(completed);
    EXPECT_EQ(boxText, L"無い資料.txtファイルが見つかりません。");
    const std::wstring text = ReadLog(folder / "debug.txt");
    EXPECT_TRUE(text.ends_with(L" Execution File Not Find  " + target + L"\r\n")) << text.size();
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

// Records what the dialog asks of the launcher and of the wait; the wait is the real one.
class RecordingLauncher : public qv::LauncherHost, public qv::Waiter, public qv::MessageSink {
  public:
    std::vector<std::wstring> opened;
    std::function<void()> duringWait;
    bool FileExists(std::wstring_view) override { return false; }
    bool ShellOpen(std::wstring_view target) override {
        opened.emplace_back(target);
        return true;
    }
    void SetBusyCursor(bool) override {}
    qv::WaitResult WaitMilliseconds(double ms) override {
        waits.push_back(static_cast<std::int32_t>(ms));
        if (duringWait) {
            duringWait();
        }
        return qv::WaitMilliseconds(ms) ? qv::WaitResult::Elapsed : qv::WaitResult::QuitRequested;
    }
    void ShowMessage(std::wstring_view, std::wstring_view) override {}
    std::vector<std::int32_t> waits;
};

HWND VersionDialog() {
    return OwnDialog(L"バージョン情報");
}

void ClickLink(HWND dialog) {
    HWND link = GetDlgItem(dialog, qv::FormVersion::kLinkId);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(qv::FormVersion::kLinkId, STN_CLICKED),
                 reinterpret_cast<LPARAM>(link));
}

// The version dialog over a recording launcher, shown modally while a script's steps run.
class FormVersionWin : public ::testing::Test {
  protected:
    // True when every step ran in time; a dialog still open after that is destroyed.
    bool ShowWhile(std::vector<TimerScript::Step> steps) {
        TimerScript script;
        return script.Run(
            std::move(steps), [&] { form_.ShowModal(nullptr); },
            [] {
                if (HWND dialog = VersionDialog()) {
                    DestroyWindow(dialog);
                }
            });
    }

    RecordingLauncher launcher_;
    FixedHost host_;
    qv::DebugLog log_{FreshFolder("qv_version_dialog"), host_, host_, launcher_};
    qv::BusyCursor cursor_;
    qv::FormVersion form_{launcher_, launcher_, launcher_, log_, cursor_};
};

TEST_F(FormVersionWin, ShowsItsTextsOpensTheHomePageOncePerClickAndClosesWithItsCloseBox) {
    std::vector<std::wstring> texts;
    bool openingDuringWait = false;
    // A second click while the page is being opened is not another opening.
    launcher_.duringWait = [&] {
        openingDuringWait = form_.Opening();
        if (launcher_.opened.size() == 1) {
            ClickLink(VersionDialog());
        }
    };
    const auto closeBox = [] {
        PostMessageW(VersionDialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    };
    // The texts of the dialog once it is up.
    const auto readTexts = [&] {
        HWND dialog = VersionDialog();
        if (dialog == nullptr) {
            return false;
        }
        texts = ChildTexts(dialog);
        return true;
    };
    ASSERT_TRUE(
        ShowWhile({readTexts,
                   [&] {
                       ClickLink(VersionDialog());
                       return true;
                   },
                   [&] { return launcher_.opened.size() == 1 && !form_.Opening(); },
                   [&] {
                       ClickLink(VersionDialog());
                       return true;
                   },
                   [&] { return launcher_.opened.size() == 2 && !form_.Opening(); }, closeBox}));
    EXPECT_FALSE(form_.IsOpen());
    EXPECT_TRUE(Contains(texts, qv::kProgramVersion));
    EXPECT_TRUE(Contains(texts, std::wstring(qv::kVersionDialogName)));
    EXPECT_EQ(launcher_.opened, (std::vector<std::wstring>{L"https://quorvane.example.org/",
                                                           L"https://quorvane.example.org/"}));
    EXPECT_EQ(launcher_.waits, (std::vector<std::int32_t>{500, 500}));
    EXPECT_TRUE(openingDuringWait);

    // The close box unloaded it: the next opening builds it and sets the version again.
    texts.clear();
    EXPECT_TRUE(ShowWhile({readTexts, closeBox}));
    EXPECT_TRUE(Contains(texts, qv::kProgramVersion));
}

// The link's own cursor (linked into this test from the program's resources), the version
// label fitted to its text, and the labels' point sizes as character heights.
TEST_F(FormVersionWin, LinkCursorVersionLabelAndFonts) {
    ICONINFO cursor{};
    BITMAP mask{};
    LOGFONTW versionFont{};
    SIZE versionText{};
    RECT versionLabel{};
    ASSERT_TRUE(ShowWhile({[&] {
        HWND dialog = VersionDialog();
        if (dialog == nullptr) {
            return false;
        }
        HWND link = GetDlgItem(dialog, qv::FormVersion::kLinkId);
        SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        if (GetIconInfo(GetCursor(), &cursor)) {
            GetObjectW(cursor.hbmMask, sizeof(mask), &mask);
        }
        HWND ver = nullptr;
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            ver = TextOf(child) == qv::kProgramVersion ? child : ver;
        }
        if (ver != nullptr) {
            auto* font = reinterpret_cast<HFONT>(SendMessageW(ver, WM_GETFONT, 0, 0));
            GetObjectW(font, sizeof(versionFont), &versionFont);
            const qv::WindowDc dc(ver);
            const qv::ObjectSelection selected(dc.get(), font);
            GetTextExtentPoint32W(dc.get(), qv::kProgramVersion,
                                  static_cast<int>(std::size(qv::kProgramVersion) - 1),
                                  &versionText);
            GetClientRect(ver, &versionLabel);
        }
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    }}));
    EXPECT_FALSE(cursor.fIcon);
    EXPECT_EQ(cursor.xHotspot, 12u);
    EXPECT_EQ(cursor.yHotspot, 1u);
    EXPECT_EQ(mask.bmWidth, 32);
    if (cursor.hbmMask != nullptr) {
        DeleteObject(cursor.hbmMask);
    }
    if (cursor.hbmColor != nullptr) {
        DeleteObject(cursor.hbmColor);
    }
    EXPECT_GE(versionLabel.right, versionText.cx) << "the version is clipped";
    const qv::WindowDc screen(nullptr);
    EXPECT_EQ(versionFont.lfHeight, -MulDiv(975, GetDeviceCaps(screen.get(), LOGPIXELSY), 7200));
}

// During the launcher's busy half second every window of the program shows the hourglass,
// the popup included.
TEST(AppCursorWin, BusyCursorOverEveryWindowOfTheProgram) {
    bool shown = false;
    qv::PumpWaiter waiter;
    qv::FormPopup popup(shown, waiter);
    popup.ShowPopupMessage(QV_GAME_TITLE L"が起動していません", L"エラー", 14);
    ASSERT_NE(popup.Handle(), nullptr);
    qv::BusyCursor cursor;
    cursor.Set(true);
    SendMessageW(popup.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(popup.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    cursor.Set(false);
    SendMessageW(popup.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(popup.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    DestroyWindow(popup.Handle());
}

} // namespace
