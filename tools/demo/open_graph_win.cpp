// For the demo run: chooses "表示" > "グラフ" in Quorvane's menu, puts the graph window at the
// given place and gives the foreground back to the game, whose window must be in front to be read.
//   OpenGraph.exe [--desktop NAME] X Y WIDTH HEIGHT
// Windows of a Wine desktop (explorer /desktop=NAME) are invisible from outside it: with
// --desktop the helper joins that desktop before looking for Quorvane, and still runs to the
// end in the caller's console, so its exit code tells whether the graph opened.
#include "services/program_identity.h"
#include "tools/driver/driver.h"

#include <cstdio>
#include <cwchar>

using namespace qv::e2e;

namespace {

// Moves this thread to the named desktop; it must not own a window yet.
bool JoinDesktop(const wchar_t* name) {
    HDESK desktop = OpenDesktopW(name, 0, FALSE, GENERIC_ALL);
    return desktop != nullptr && SetThreadDesktop(desktop);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int first = 1;
    if (argc == 7 && std::wcscmp(argv[1], L"--desktop") == 0) {
        if (!JoinDesktop(argv[2])) {
            std::fputs("OpenGraph: the Wine desktop was not found\n", stderr);
            return 1;
        }
        first = 3;
    }
    if (argc - first != 4) {
        std::fputs("OpenGraph.exe [--desktop NAME] X Y WIDTH HEIGHT\n", stderr);
        return 2;
    }
    int place[4]{};
    for (int i = 0; i < 4; ++i) {
        place[i] = static_cast<int>(std::wcstol(argv[first + i], nullptr, 10));
    }
    HWND main = FindTopWindow(qv::kMainWindowTitle, Millis(30000));
    if (main == nullptr || ChooseMenu(main, {L"表示", L"グラフ"}) != MenuResult::Chosen) {
        std::fputs("OpenGraph: Quorvane's menu item was not found\n", stderr);
        return 1;
    }
    HWND graph = FindTopWindow(L"EXPグラフ");
    if (graph == nullptr) {
        std::fputs("OpenGraph: the graph window did not open\n", stderr);
        return 1;
    }
    SetWindowPos(graph, nullptr, place[0], place[1], place[2], place[3],
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (HWND game = FindWindowW(nullptr, qv::kGameTitle)) {
        BringToFront(game);
    }
    return 0;
}
