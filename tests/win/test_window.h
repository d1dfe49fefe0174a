// The Windows-side tests' one window class: a top-level window that paints an image at the
// top-left of its client area and counts the messages a wait should dispatch.
#pragma once

#include "capture/pixel_array.h"
#include "capture/screen_capture_win.h"
#include "win/base_window_win.h"
#include "win/handles_win.h"

#include <windows.h>

#include <utility>

namespace qv {

inline void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

class TestWindow : public BaseWindow<TestWindow> {
  public:
    static constexpr UINT kCountedMessage = WM_APP + 17;

    // Placed at `at` (outer size width x height) and shown with `show`.
    TestWindow(const wchar_t* title, DWORD style, PixelArray image, int width, int height,
               DWORD exStyle = 0, POINT at = {20, 20}, int show = SW_SHOW)
        : image_(std::move(image)) {
        if (CreateTopLevel(L"QvTestWindow", title, style, exStyle, width, height, nullptr,
                           nullptr)) {
            SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        ShowWindow(hwnd_, show);
        UpdateWindow(hwnd_);
        GdiFlush();
        PumpPending();
    }
    ~TestWindow() {
        if (hwnd_ != nullptr) {
            DestroyWindow(hwnd_);
        }
    }

    HWND get() const { return hwnd_; }

    // Polls until the window is in front; the system may take a moment under Wine.
    bool BringToFront() const {
        for (int attempt = 0; attempt < 200; ++attempt) {
            SetForegroundWindow(hwnd_);
            PumpPending();
            if (GetForegroundWindow() == hwnd_) {
                return true;
            }
            Sleep(10);
        }
        return false;
    }

    LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l) {
        switch (message) {
        case WM_PAINT: {
            const PaintScope paint(hwnd_);
            PaintPixels(paint.get(), 0, 0, image_);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case kCountedMessage:
            ++counted;
            return 0;
        case WM_TIMER:
            ++timerTicks;
            return 0;
        default:
            return DefWindowProcW(hwnd_, message, w, l);
        }
    }

    int counted = 0;
    int timerTicks = 0;

  private:
    PixelArray image_;
};

} // namespace qv
