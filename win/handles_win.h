// Owners for kernel handles, GDI device contexts (the paint's included), objects and selections,
// and for the thread's DPI awareness: each releases what it holds when it goes out of scope.
#pragma once

#include <windows.h>

#include <utility>

namespace qv {

// Owns a kernel handle (mutex, process, thread) and closes it with the owner.
class KernelHandle {
  public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    KernelHandle& operator=(KernelHandle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    ~KernelHandle() { Close(); }
    HANDLE Get() const { return handle_; }

  private:
    void Close() {
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
        handle_ = nullptr;
    }
    HANDLE handle_ = nullptr;
};

// A window's device context from GetDC (client area) or GetWindowDC (whole window),
// released with ReleaseDC on the same window.
class WindowDc {
  public:
    enum class Area { Client, WholeWindow };
    explicit WindowDc(HWND window, Area area = Area::Client)
        : window_(window), dc_(area == Area::Client ? GetDC(window) : GetWindowDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND window_;
    HDC dc_;
};

// BeginPaint and EndPaint as one owner, for WM_PAINT.
class PaintScope {
  public:
    explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC get() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A memory device context compatible with another one, deleted with DeleteDC.
class MemoryDc {
  public:
    explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HDC dc_;
};

// Sole owner of a GDI object (bitmap, palette, brush, ...), deleted with DeleteObject.
template <typename Handle> class GdiObject {
  public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { reset(); }
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.handle_, nullptr));
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Gives up ownership (for an object that now belongs to someone else).
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) {
        if (handle_ != nullptr) {
            DeleteObject(handle_);
        }
        handle_ = handle;
    }

  private:
    Handle handle_ = nullptr;
};

using UniqueBitmap = GdiObject<HBITMAP>;
using UniquePalette = GdiObject<HPALETTE>;

// Selects an object into a DC and selects the previous one back on destruction, so the
// object is free to be deleted or read afterwards.
class ObjectSelection {
  public:
    ObjectSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ObjectSelection() { Restore(); }
    ObjectSelection(const ObjectSelection&) = delete;
    ObjectSelection& operator=(const ObjectSelection&) = delete;

    // False when the selection failed (the object is selected elsewhere, say).
    explicit operator bool() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }
    // Selects the previous object back now; the destructor then does nothing.
    void Restore() {
        if (*this) {
            SelectObject(dc_, previous_);
        }
        previous_ = nullptr;
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Selects a palette into a DC and the previous palette back on destruction.
class PaletteSelection {
  public:
    PaletteSelection(HDC dc, HPALETTE palette)
        : dc_(dc), previous_(SelectPalette(dc, palette, FALSE)) {}
    ~PaletteSelection() { Restore(); }
    PaletteSelection(const PaletteSelection&) = delete;
    PaletteSelection& operator=(const PaletteSelection&) = delete;

    explicit operator bool() const { return previous_ != nullptr; }
    void Restore() {
        if (previous_ != nullptr) {
            SelectPalette(dc_, previous_, FALSE);
        }
        previous_ = nullptr;
    }

  private:
    HDC dc_;
    HPALETTE previous_;
};

// Saves a DC's state (colours, modes, selections) and restores it on destruction, for a DC
// that belongs to someone else (WM_DRAWITEM's, say).
class SavedDcState {
  public:
    explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDcState() {
        if (saved_ != 0) {
            RestoreDC(dc_, saved_);
        }
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

  private:
    HDC dc_;
    int saved_;
};

// Switches the calling thread's DPI awareness for the lifetime of the object and restores
// the previous awareness afterwards. The program itself is DPI-unaware (its windows keep
// their pixel layout); captures run per-monitor aware so that window coordinates, device
// contexts and BitBlt all work in the game's physical pixels whatever the display scaling.
// On systems without per-thread awareness (before Windows 10 1607) it does nothing.
class ScopedDpiAwareness {
  public:
    explicit ScopedDpiAwareness(
        DPI_AWARENESS_CONTEXT context = DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) {
        if (const auto set = SetFunction()) {
            previous_ = set(context);
            // Older Windows 10 builds lack V2; plain per-monitor awareness also gives
            // physical pixels for captures.
            if (previous_ == nullptr && context == DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) {
                previous_ = set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
            }
        }
    }
    ~ScopedDpiAwareness() {
        if (previous_ != nullptr) {
            SetFunction()(previous_);
        }
    }
    ScopedDpiAwareness(const ScopedDpiAwareness&) = delete;
    ScopedDpiAwareness& operator=(const ScopedDpiAwareness&) = delete;

    // True when the thread's awareness was switched (and will be restored).
    bool Active() const { return previous_ != nullptr; }

  private:
    using SetContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
    static SetContext SetFunction() {
        static const SetContext function = [] {
            const HMODULE user32 = GetModuleHandleW(L"user32.dll");
            return user32 == nullptr ? nullptr
                                     : reinterpret_cast<SetContext>(reinterpret_cast<void*>(
                                           GetProcAddress(user32, "SetThreadDpiAwarenessContext")));
        }();
        return function;
    }

    DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

} // namespace qv
