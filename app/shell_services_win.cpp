#include "app/shell_services_win.h"

#include "capture/message_wait_win.h"
#include "capture/screen_capture_win.h"
#include "capture/window_picture_win.h"
#include "services/system_info_win.h"

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
    // A save cut short because the program is ending is no failure.
    if (!MessagePump::Instance().QuitRequested() && saveFailed_) {
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

void PopupPresenter::ShowPopupMessage(std::wstring_view text, std::wstring_view title,
                                      std::int32_t fontSize) {
    form_.ShowPopupMessage(text, title, fontSize);
}

void PopupPresenter::HidePopupMessage() {
    form_.HidePopupMessage();
}

bool Win32Recognition::RecognizeExpReadout() {
    const RecognitionOutcome outcome = qv::RecognizeExpReadout(
        state_.captureBuffer, state_.glyphs, state_.settings.captureRegions[kExpCaptureIndex],
        state_.settings.debugMode, state_.expReading, *this);
    return outcome == RecognitionOutcome::Completed;
}

MemoryStatus Win32Recognition::QueryMemoryStatus() {
    return qv::QueryMemoryStatus();
}

} // namespace qv
