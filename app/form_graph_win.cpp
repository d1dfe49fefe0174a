#include "app/form_graph_win.h"

#include "measurement/status_panel.h"
#include "win/ui_win.h"

#include <vector>

namespace qv {

namespace {

constexpr wchar_t kClassName[] = L"QuorvaneFormGraph";
constexpr int kInitialWidth = 560, kInitialHeight = 360;
constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kAxis = RGB(64, 64, 64);
constexpr COLORREF kGrid = RGB(224, 224, 224);
constexpr COLORREF kLine = RGB(0, 80, 200);
constexpr COLORREF kFall = RGB(220, 40, 40);
constexpr COLORREF kPaused = RGB(232, 232, 232);

void TextAt(HDC dc, int x, int y, const std::wstring& text) {
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void VerticalLine(HDC dc, int x, int top, int bottom) {
    MoveToEx(dc, x, top, nullptr);
    LineTo(dc, x, bottom);
}

void HorizontalLine(HDC dc, int y, int left, int right) {
    MoveToEx(dc, left, y, nullptr);
    LineTo(dc, right, y);
}

} // namespace

bool FormGraph::EnsureWindow() {
    if (hwnd_ != nullptr) {
        return true;
    }
    if (!font_) {
        font_.reset(CreateTerminalFont(13));
        axisPen_.reset(CreatePen(PS_SOLID, 1, kAxis));
        gridPen_.reset(CreatePen(PS_SOLID, 1, kGrid));
        linePen_.reset(CreatePen(PS_SOLID, 1, kLine));
        fallPen_.reset(CreatePen(PS_SOLID, 1, kFall));
        background_.reset(CreateSolidBrush(kBackground));
        pausedBrush_.reset(CreateSolidBrush(kPaused));
    }
    // No owner: the graph stays up when the main window is minimised.
    return CreateTopLevel(kClassName, kGraphTitle, WS_OVERLAPPEDWINDOW, 0, kInitialWidth,
                          kInitialHeight, nullptr, nullptr);
}

bool FormGraph::Show() {
    if (!EnsureWindow()) {
        return false;
    }
    ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(hwnd_);
    Refresh();
    return true;
}

void FormGraph::Refresh() {
    if (hwnd_ != nullptr && IsWindowVisible(hwnd_) && !IsIconic(hwnd_)) {
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

void FormGraph::Destroy() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

LRESULT FormGraph::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel; erasing first would flicker
    case WM_PAINT:
        Form_Paint();
        return 0;
    case WM_SIZE:
        Form_Resize();
        return 0;
    case WM_CLOSE:
        Form_QueryUnload();
        return 0;
    default:
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

void FormGraph::Form_Resize() {
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void FormGraph::Form_QueryUnload() {
    ShowWindow(hwnd_, SW_HIDE);
}

// Drawn off-screen, then copied in one piece, so a repaint never shows half a picture.
void FormGraph::Form_Paint() {
    PaintScope paint(hwnd_);
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int width = client.right, height = client.bottom;
    if (paint.get() == nullptr || width <= 0 || height <= 0) {
        return;
    }
    MemoryDc memory(paint.get());
    UniqueBitmap picture(CreateCompatibleBitmap(paint.get(), width, height));
    if (!memory || !picture) {
        return;
    }
    ObjectSelection selected(memory.get(), picture.get());
    Draw(memory.get(), width, height);
    BitBlt(paint.get(), 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

void FormGraph::Draw(HDC dc, int width, int height) {
    RECT all{0, 0, width, height};
    FillRect(dc, &all, background_ ? background_.get() : GetSysColorBrush(COLOR_WINDOW));
    ObjectSelection font(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SIZE digit{};
    GetTextExtentPoint32W(dc, L"0", 1, &digit);
    const ChartMetrics metrics{digit.cx > 0 ? digit.cx : 8, tm.tmHeight > 0 ? tm.tmHeight : 16};

    const ExpSeries& series = record_.series;
    if (series.Empty()) {
        SetTextAlign(dc, TA_CENTER | TA_TOP);
        TextAt(dc, width / 2, (height - metrics.lineHeight) / 2, kGraphNoDataText);
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        return;
    }
    const ChartLayout layout = LayoutChart(series, width, height, metrics);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    TextAt(dc, metrics.charWidth, metrics.lineHeight / 2, ChartHeading(record_));
    if (layout.right <= layout.left || layout.bottom <= layout.top) {
        return;
    }
    for (const auto& [from, to] : layout.pauses) {
        RECT band{from, layout.top, to, layout.bottom};
        FillRect(dc, &band, pausedBrush_.get());
    }
    DrawAxes(dc, layout, metrics.lineHeight);
    {
        ObjectSelection pen(dc, fallPen_.get());
        for (const int x : layout.falls) {
            VerticalLine(dc, x, layout.top, layout.bottom);
        }
    }
    ObjectSelection pen(dc, linePen_.get());
    if (layout.line.size() == 1) {
        SetPixel(dc, layout.line[0].x, layout.line[0].y, kLine);
    } else if (!layout.line.empty()) {
        std::vector<POINT> points;
        points.reserve(layout.line.size());
        for (const PixelPoint& p : layout.line) {
            points.push_back(POINT{p.x, p.y});
        }
        Polyline(dc, points.data(), static_cast<int>(points.size()));
    }
}

// Grid lines at the ticks, the two axes, and the labels: EXP right-aligned left of the plot,
// clock times centred under it.
void FormGraph::DrawAxes(HDC dc, const ChartLayout& layout, int charHeight) {
    {
        ObjectSelection pen(dc, gridPen_.get());
        for (const PixelTick& t : layout.expTicks) {
            HorizontalLine(dc, t.pixel, layout.left, layout.right);
        }
        for (const PixelTick& t : layout.timeTicks) {
            VerticalLine(dc, t.pixel, layout.top, layout.bottom);
        }
    }
    ObjectSelection pen(dc, axisPen_.get());
    VerticalLine(dc, layout.left - 1, layout.top, layout.bottom + 1);
    HorizontalLine(dc, layout.bottom, layout.left - 1, layout.right);
    SetTextAlign(dc, TA_RIGHT | TA_TOP);
    for (const PixelTick& t : layout.expTicks) {
        TextAt(dc, layout.left - 4, t.pixel - charHeight / 2, t.label);
    }
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    for (const PixelTick& t : layout.timeTicks) {
        VerticalLine(dc, t.pixel, layout.bottom, layout.bottom + 4);
        TextAt(dc, t.pixel, layout.bottom + 5, t.label);
    }
    SetTextAlign(dc, TA_LEFT | TA_TOP);
}

} // namespace qv
