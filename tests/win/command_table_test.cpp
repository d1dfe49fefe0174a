// The one WM_COMMAND decoding of the program's top-level windows: a menu bar built from its
// rows, menu commands and control notifications run through the window's command table, and a
// posted task runs from the message loop.
#include "tests/win/test_window.h"
#include "win/base_window_win.h"
#include "win/menu_bar_win.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <vector>

namespace {

using Place = qv::MenuRow::Place;

constexpr int kEditId = 40;

class CommandWindow : public qv::BaseWindow<CommandWindow> {
  public:
    explicit CommandWindow(std::vector<int>& ran) {
        const qv::MenuRow rows[] = {
            {Place::DropDown, 0, L"File", nullptr},
            {Place::InDropDown, 11, L"Print", [&ran] { ran.push_back(11); }},
            {Place::Bar, 12, L"Run", [&ran] { ran.push_back(12); }},
        };
        HMENU bar = qv::BuildMenuBar(rows, *this);
        OnCommand(kEditId, EN_SETFOCUS, [&ran] { ran.push_back(kEditId); });
        CreateTopLevel(L"QvCommandWindow", L"commands", WS_OVERLAPPEDWINDOW, 0, 200, 100, bar,
                       nullptr);
    }
    ~CommandWindow() { DestroyWindow(hwnd_); }

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }
};

TEST(CommandTable, MenuRowsBuildTheBarAndTheirCommandsRunTheirHandlers) {
    std::vector<int> ran;
    CommandWindow window(ran);
    const HWND hwnd = window.Handle();
    ASSERT_NE(hwnd, nullptr);
    const HMENU bar = GetMenu(hwnd);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(GetMenuItemID(GetSubMenu(bar, 0), 0), 11u);
    EXPECT_EQ(GetMenuItemID(bar, 1), 12u);

    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(12, 0), 0);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(11, 0), 0);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(13, 0), 0); // bound to nothing
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(12, 1), 0); // an accelerator's, not a click
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(kEditId, EN_KILLFOCUS), 0);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(kEditId, EN_SETFOCUS), 0);
    EXPECT_EQ(ran, (std::vector<int>{12, 11, kEditId}));

    window.PostTask([&ran] { ran.push_back(99); });
    EXPECT_EQ(ran.size(), 3u) << "a posted task waits for the message loop";
    qv::PumpPending();
    EXPECT_EQ(ran, (std::vector<int>{12, 11, kEditId, 99}));
}

} // namespace
