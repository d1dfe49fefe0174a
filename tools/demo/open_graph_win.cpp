// For the demo run: chooses "グラフ" in Quorvane's menu, puts the graph window at the given
// place and gives the foreground back to the game, whose window must be in front to be read.
//   OpenGraph.exe X Y WIDTH HEIGHT
#include "tools/driver/driver.h"

#include <cstdio>
#include <cwchar>

using namespace qv::e2e;

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fputs("OpenGraph.exe X Y WIDTH HEIGHT\n", stderr);
        return 2;
    }
    int place[4]{};
    for (int i = 0; i < 4; ++i) {
        place[i] = static_cast<int>(std::wcstol(argv[i + 1], nullptr, 10));
    }
    HWND main = FindTopWindow(qv::kMainWindowTitle, Millis(30000));
    if (main == nullptr || ChooseMenu(main, {L"グラフ"}) != MenuResult::Chosen) {
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
