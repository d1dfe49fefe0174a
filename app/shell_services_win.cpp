#include "app/shell_services_win.h"

#include "app/system_info_win.h"
#include "capture/screen_capture_win.h"
#include "capture/window_picture_win.h"
#include "win/message_pump_win.h"

namespace qv {

std::optional<WindowId> Win32Desktop::FindWindowByTitle(std::wstring_view title) {
    HWND found = FindWindowW(nullptr, std::wstring(title).c_str());
    if (found == nullptr) {
        return std::nullopt;
    }
    return reinterpret_cast<WindowId>(found);
}

WindowId Win32Desktop::ForegroundWindow() {
    return reinterpret_cast<WindowId>(GetForegroundWindow());
}

void Win32Desktop::CaptureWindowRegion(WindowId window, const CaptureRegion& region, int slot) {
    qv::CaptureWindowRegion(reinterpret_cast<HWND>(window), region, buffer_, slot);
}

bool Win32Desktop::SaveForegroundWindowBitmap(const std::filesystem::path& path) {
    if (qv::SaveForegroundWindowBitmap(path)) {
        return true;
    }
    // Nothing is pumped in here, so a false is always a file that could not be written.
    if (saveFailed_) {
        saveFailed_(path.filename().wstring());
    }
    return false;
}

void Win32Desktop::Beep() {
    MessageBeep(MB_OK);
}

WaitResult PumpWaiter::WaitMilliseconds(double milliseconds) {
    return qv::WaitMilliseconds(milliseconds) ? WaitResult::Elapsed : WaitResult::QuitRequested;
}

LocalTime SystemClock::Now() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return LocalTime{st.wYear,   st.wMonth,  st.wDay,         st.wHour,
                     st.wMinute, st.wSecond, st.wMilliseconds};
}

std::uint32_t SystemClock::Milliseconds() {
    return MillisecondCounter();
}

void MessageBoxSink::ShowMessage(std::wstring_view text, std::wstring_view title) {
    const HWND owner = (owner_ != nullptr && IsWindow(owner_)) ? owner_ : nullptr;
    MessageBoxW(owner, std::wstring(text).c_str(), std::wstring(title).c_str(),
                MB_OK | MB_SETFOREGROUND);
}

std::optional<ExpReadout> Win32Recognition::RecognizeExpReadout() {
    ExpReading reading;
    ExpPercent percent;
    const RecognitionOutcome outcome = qv::RecognizeExpReadout(
        state_.captureBuffer, state_.glyphs, state_.settings.captureRegions[kExpCaptureIndex],
        state_.settings.debugMode, reading, *this, &percent);
    if (outcome != RecognitionOutcome::Completed) {
        return std::nullopt;
    }
    return ExpReadout{reading.value_or(0), percent};
}

MemoryStatus Win32Recognition::QueryMemoryStatus() {
    return qv::QueryMemoryStatus();
}

} // namespace qv
