#include "app/screen_print.h"

#include "measurement/measurement_timing.h"

namespace qv {

std::wstring ScreenPrintFileName(const LocalTime& time) {
    return L"PrtScr" + FormatFileStamp(time) + L".bmp";
}

bool PrintScreenDelayed(const ScreenPrintContext& context) {
    if (context.waiter.WaitMilliseconds(kScreenPrintDelayMilliseconds) != WaitResult::Elapsed) {
        return false;
    }
    const std::wstring fileName = ScreenPrintFileName(context.clock.Now());
    const SnapshotStatus saved =
        SaveForegroundSnapshot(context.desktop, context.waiter, context.folder / fileName);
    if (saved == SnapshotStatus::QuitRequested) {
        return false;
    }
    if (saved == SnapshotStatus::WriteFailed) {
        context.debugLog.Write(L"Screen print save failed: " + fileName);
    }
    if (context.settings.beepOnCapture) {
        context.desktop.Beep();
    }
    if (context.bringMainWindowToFront) {
        context.bringMainWindowToFront();
    }
    context.debugLog.Write(L"Print Screen･･･End ");
    return true;
}

} // namespace qv
