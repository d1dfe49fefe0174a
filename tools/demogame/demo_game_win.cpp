// A stand-in for the game: a top-level window titled "MapleStory" that paints an EXP figure
// where the game shows it. The figure comes from the command line, from the scripted demo
// run, or from a test that sets the text of the hidden figure control.
//
//   DemoGame.exe [--exp N] [--demo] [--menu] [--pos X Y] [--scale N] [--client W H] [--at X Y]
#include "services/program_identity.h"
#include "tools/demogame/demo_script.h"
#include "tools/demogame/figure_image.h"
#include "tools/demogame/status_figures.h"

#include <windows.h>

#include <shellapi.h>
#include <string>
#include <vector>

namespace {

using namespace qv::demo;

constexpr wchar_t kWindowClass[] = L"QvDemoGame";
constexpr wchar_t kFigureClass[] = L"QvDemoFigure";
constexpr int kFigureControlId = 100; // the driver's kDemoFigureEditId
constexpr UINT_PTR kScriptTimer = 1;

// Commands of the test menu (--menu), which exists to exercise the driver's menu hook.
enum Command : UINT { kCmdReset = 201, kCmdExit = 202, kCmdAdd = 203, kCmdDisabled = 204 };

struct Game {
    Options options;
    qv::GlyphImageSet glyphs;
    HWND figureControl = nullptr;
    unsigned step = 0;
};
Game g_game;

std::uint64_t CurrentFigure() {
    wchar_t text[32] = {};
    GetWindowTextW(g_game.figureControl, text, static_cast<int>(std::size(text)));
    std::wstring s = text;
    if (s.empty() || s.size() > 18 || s.find_first_not_of(L"0123456789") != std::wstring::npos) {
        return 0;
    }
    return std::stoull(s);
}

void ShowFigure(std::uint64_t figure) {
    SetWindowTextW(g_game.figureControl, std::to_wstring(figure).c_str());
}

void Blit(HDC dc, int x, int y, const qv::PixelArray& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.Width();
    info.bmiHeader.biHeight = -image.Height(); // top-down rows, as PixelArray stores them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(image.Width()),
                      static_cast<DWORD>(image.Height()), 0, 0, 0,
                      static_cast<UINT>(image.Height()), image.Data(), &info, DIB_RGB_COLORS);
}

// HP and MP in the two rows above the strip, or below it when there is no room above.
void DrawStatusFigures(HDC dc, int x, int y) {
    const int scale = g_game.options.scale;
    const int row = 12 * scale;
    const int first = y >= 2 * row ? y - 2 * row : y + row;
    Blit(dc, x, first, RenderStatusFigure(kDemoHp, g_game.glyphs, scale));
    Blit(dc, x, first + row, RenderStatusFigure(kDemoMp, g_game.glyphs, scale));
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH background = CreateSolidBrush(
        RGB(qv::RedOf(kBackground), qv::GreenOf(kBackground), qv::BlueOf(kBackground)));
    FillRect(dc, &ps.rcPaint, background);
    DeleteObject(background);

    const Options& o = g_game.options;
    const int x = o.atX.value_or(kFigureX);
    const int y = o.atY.value_or(kFigureY);
    Blit(dc, x, y, RenderFigure(CurrentFigure(), g_game.glyphs, o.scale));
    if (o.atX) {
        DrawStatusFigures(dc, x, y);
    }
    EndPaint(hwnd, &ps);
}

// The figure control keeps the figure as its window text; any change repaints the game.
LRESULT CALLBACK FigureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_SETTEXT) {
        InvalidateRect(GetParent(hwnd), nullptr, FALSE);
    }
    return result;
}

HMENU BuildTestMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, kCmdReset, L"リセット(&R)");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, kCmdExit, L"終了");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"ファイル");
    AppendMenuW(bar, MF_STRING, kCmdAdd, L"増加");
    AppendMenuW(bar, MF_STRING | MF_GRAYED, kCmdDisabled, L"無効");
    return bar;
}

void OnCommand(HWND hwnd, UINT id) {
    switch (id) {
    case kCmdReset:
        ShowFigure(0);
        break;
    case kCmdExit:
        DestroyWindow(hwnd);
        break;
    case kCmdAdd:
        ShowFigure(CurrentFigure() + 1000);
        break;
    default:
        break;
    }
}

LRESULT CALLBACK GameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_TIMER:
        if (wp == kScriptTimer) {
            ShowFigure(ScriptedFigure(g_game.options.figure, ++g_game.step));
        }
        return 0;
    case WM_INITMENUPOPUP:
        // Set only when the drop-down opens, as many programs do.
        EnableMenuItem(reinterpret_cast<HMENU>(wp), kCmdReset,
                       MF_BYCOMMAND | (CurrentFigure() != 0 ? MF_ENABLED : MF_GRAYED));
        return 0;
    case WM_COMMAND:
        OnCommand(hwnd, LOWORD(wp));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

std::vector<std::wstring> Arguments() {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args;
    for (int i = 1; argv && i < count; ++i) {
        args.emplace_back(argv[i]);
    }
    LocalFree(argv);
    return args;
}

bool RegisterClasses(HINSTANCE instance) {
    WNDCLASSW game{};
    game.lpfnWndProc = GameProc;
    game.hInstance = instance;
    game.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    game.lpszClassName = kWindowClass;
    WNDCLASSW figure{};
    figure.lpfnWndProc = FigureProc;
    figure.hInstance = instance;
    figure.lpszClassName = kFigureClass;
    return RegisterClassW(&game) && RegisterClassW(&figure);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    auto options = ParseOptions(Arguments());
    if (!options) {
        MessageBoxW(nullptr,
                    L"DemoGame.exe [--exp N] [--demo] [--menu] [--pos X Y] [--scale 1-3] "
                    L"[--client W H] [--at X Y]",
                    L"DemoGame", MB_OK);
        return 2;
    }
    g_game.options = *options;
    auto glyphs = LoadGlyphs(instance);
    if (!glyphs) {
        MessageBoxW(nullptr, L"The glyph images are missing.", L"DemoGame", MB_OK);
        return 1;
    }
    g_game.glyphs = std::move(*glyphs);
    if (!RegisterClasses(instance)) {
        return 1;
    }
    HMENU menu = options->testMenu ? BuildTestMenu() : nullptr;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT outer{0, 0, options->clientWidth, options->clientHeight};
    AdjustWindowRect(&outer, style, menu != nullptr);
    HWND hwnd =
        CreateWindowW(kWindowClass, qv::kGameTitle, style, options->x ? *options->x : CW_USEDEFAULT,
                      options->y ? *options->y : CW_USEDEFAULT, outer.right - outer.left,
                      outer.bottom - outer.top, nullptr, menu, instance, nullptr);
    if (!hwnd) {
        return 1;
    }
    g_game.figureControl = CreateWindowW(
        kFigureClass, L"", WS_CHILD, 0, 0, 0, 0, hwnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFigureControlId)), instance, nullptr);
    ShowFigure(options->figure);
    if (options->scripted) {
        SetTimer(hwnd, kScriptTimer, kStepMillis, nullptr);
    }
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
