#include "services/file_launcher.h"

namespace qv {

namespace {

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool IsSchemeCharacter(wchar_t c) {
    return IsAsciiLetter(c) || (c >= L'0' && c <= L'9') || c == L'+' || c == L'-' || c == L'.';
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

} // namespace

bool IsWebAddress(std::wstring_view target) {
    const std::size_t colon = target.find(L"://");
    if (colon == std::wstring_view::npos || colon < 2 || !IsAsciiLetter(target[0])) {
        return false;
    }
    for (std::size_t i = 1; i < colon; ++i) {
        if (!IsSchemeCharacter(target[i])) {
            return false;
        }
    }
    return true;
}

std::wstring FileNameOfPath(std::wstring_view path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const bool marker = IsSeparator(path[i]) || path[i] == L':';
        if (marker && !IsSeparator(path[i + 1])) {
            start = i + 1;
        }
    }
    return std::wstring(path.substr(start));
}

std::wstring FileNotFoundMessage(std::wstring_view target) {
    return FileNameOfPath(target) + L"ファイルが見つかりません。";
}

std::wstring OpenFailedMessage(std::wstring_view target) {
    return FileNameOfPath(target) + L"を開けませんでした。";
}

LaunchOutcome LaunchFile(std::wstring_view target, std::int32_t waitMilliseconds,
                         LauncherHost& host, Waiter& waiter, MessageSink& messages,
                         DebugLog& debugLog) {
    if (!IsWebAddress(target) && !host.FileExists(target)) {
        messages.ShowMessage(FileNotFoundMessage(target), kLaunchErrorTitle);
        debugLog.Write(std::wstring(L"Execution File Not Find  ") + std::wstring(target));
        return LaunchOutcome::NotFound;
    }
    debugLog.Write(std::wstring(L"Execution File Start ･･･  ") + std::wstring(target));
    host.SetBusyCursor(true);
    if (!host.ShellOpen(target)) {
        host.SetBusyCursor(false);
        messages.ShowMessage(OpenFailedMessage(target), kLaunchErrorTitle);
        debugLog.Write(L"Execution File Failed");
        return LaunchOutcome::OpenFailed;
    }
    // The busy cursor stays while the other program starts.
    const bool elapsed = waiter.WaitMilliseconds(waitMilliseconds) == WaitResult::Elapsed;
    host.SetBusyCursor(false);
    if (!elapsed) {
        return LaunchOutcome::QuitRequested;
    }
    debugLog.Write(L"Execution File Finish");
    return LaunchOutcome::Opened;
}

} // namespace qv
