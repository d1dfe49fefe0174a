// The main window's look, in a test exe that carries the program's resources: the icon of
// Quorvane.exe and of the main window's class, and captions that fit their labels.
#include "app/program_win.h"
#include "app/system_info_win.h"
#include "measurement/program_state.h"
#include "services/debug_log.h"
#include "win/ui_win.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

class RecordedMessages : public qv::MessageBoxSink {
  public:
    void ShowMessage(std::wstring_view text, std::wstring_view) override {
        shown.emplace_back(text);
    }
    std::vector<std::wstring> shown;
};

// A fresh program's main window, with its files in a temporary folder.
class MainWindowLook : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  (L"qv_look_" + std::to_wstring(GetCurrentProcessId()));
        std::filesystem::create_directories(folder_);
        debugLog_.emplace(folder_, clock_, logHost_, messages_);
        program_.emplace(qv::ProgramServices{state_, *debugLog_, messages_, clock_, folder_});
        ASSERT_TRUE(program_->Form_Load());
    }
    void TearDown() override {
        if (program_ && program_->MainWindow() != nullptr) {
            DestroyWindow(program_->MainWindow());
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) { // the main window's WM_QUIT
        }
        program_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::filesystem::path folder_;
    qv::ProgramState state_;
    RecordedMessages messages_;
    qv::SystemClock clock_;
    qv::Win32DebugLogHost logHost_;
    std::optional<qv::DebugLog> debugLog_;
    std::optional<qv::Program> program_;
};

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) {
        return 0;
    }
    BITMAP bitmap{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// Widths of the images in the first icon group of the exe beside this test (0 means 256).
std::multiset<int> FirstIconGroupSizes(const std::wstring& exe) {
    std::multiset<int> sizes;
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        return sizes;
    }
    LPWSTR first = nullptr;
    EnumResourceNamesW(
        module, RT_GROUP_ICON,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
            *reinterpret_cast<LPWSTR*>(param) = IS_INTRESOURCE(name) ? name : nullptr;
            return FALSE;
        },
        reinterpret_cast<LONG_PTR>(&first));
    HRSRC found = first != nullptr ? FindResourceW(module, first, RT_GROUP_ICON) : nullptr;
    const auto* group = found != nullptr
                            ? static_cast<const BYTE*>(LockResource(LoadResource(module, found)))
                            : nullptr;
    if (group != nullptr) {
        // GRPICONDIR: reserved, type, count (WORDs), then 14-byte entries starting with width.
        const WORD count = *reinterpret_cast<const WORD*>(group + 4);
        for (WORD i = 0; i < count; ++i) {
            const int width = group[6 + 14 * i];
            sizes.insert(width == 0 ? 256 : width);
        }
    }
    FreeLibrary(module);
    return sizes;
}

TEST_F(MainWindowLook, TheExesFirstIconHasFiveSizesAndTheWindowClassBothIcons) {
    const std::filesystem::path exe = qv::ProgramFolder() / L"Quorvane.exe";
    EXPECT_EQ(FirstIconGroupSizes(exe.wstring()), (std::multiset<int>{16, 24, 32, 48, 256}));

    const HWND main = program_->MainWindow();
    const auto largeIcon = reinterpret_cast<HICON>(GetClassLongPtrW(main, GCLP_HICON));
    const auto smallIcon = reinterpret_cast<HICON>(GetClassLongPtrW(main, GCLP_HICONSM));
    EXPECT_EQ(largeIcon, qv::ProgramIcon(qv::IconSize::Large));
    EXPECT_EQ(smallIcon, qv::ProgramIcon(qv::IconSize::Small));
    EXPECT_NE(largeIcon, LoadIconW(nullptr, IDI_APPLICATION)); // ours, not the system's
    EXPECT_EQ(IconWidth(largeIcon), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(IconWidth(smallIcon), GetSystemMetrics(SM_CXSMICON));
}

TEST_F(MainWindowLook, NoLabelIsNarrowerThanItsCaptionInItsOwnFont) {
    std::vector<std::wstring> measured;
    for (HWND child = GetWindow(program_->MainWindow(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 32);
        const std::wstring text = qv::WindowText(child);
        if (lstrcmpiW(cls, L"Static") != 0 || text.empty()) {
            continue;
        }
        HDC dc = GetDC(child);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(child, dc);
        RECT client{};
        GetClientRect(child, &client);
        EXPECT_GE(client.right, extent.cx) << "label id " << GetDlgCtrlID(child);
        measured.push_back(text);
    }
    EXPECT_NE(std::find(measured.begin(), measured.end(), L"測定結果"), measured.end());
}

} // namespace
