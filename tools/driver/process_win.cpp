// Programs started by the driver. Each Process owns its handle and ends a program that is
// still running when the scenario is over, so no leftover holds a run folder or a mutex.
#include "tools/driver/driver.h"

#include <utility>

namespace qv::e2e {

std::optional<Process> Process::Launch(const std::wstring& exe, std::wstring_view args) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!args.empty()) {
        commandLine += L" ";
        commandLine += args;
    }
    size_t slash = exe.find_last_of(L"\\/");
    std::wstring folder = slash == std::wstring::npos ? std::wstring(L".") : exe.substr(0, slash);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
        std::fprintf(stderr, "Process::Launch: cannot start %s (error %lu)\n", Utf8(exe).c_str(),
                     GetLastError());
        return std::nullopt;
    }
    CloseHandle(info.hThread);
    // Returns once the program waits for input, or after the timeout; either is fine.
    WaitForInputIdle(info.hProcess, 5000);
    return Process(info.hProcess, info.dwProcessId);
}

Process::Process(Process&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), pid_(std::exchange(other.pid_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        if (process_) {
            CloseHandle(process_);
        }
        process_ = std::exchange(other.process_, nullptr);
        pid_ = std::exchange(other.pid_, 0);
    }
    return *this;
}

Process::~Process() {
    Kill();
    if (process_) {
        CloseHandle(process_);
    }
}

bool Process::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(Millis timeout) {
    if (!process_) {
        return true;
    }
    if (WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0) {
        return true;
    }
    std::fprintf(stderr, "Process %lu still runs after %lld ms; its windows:", pid_,
                 static_cast<long long>(timeout.count()));
    for (const auto& w : TopLevelWindows(pid_)) {
        std::fprintf(stderr, " [%s \"%s\"%s]", Utf8(w.className).c_str(), Utf8(w.text).c_str(),
                     w.visible ? "" : " hidden");
    }
    std::fprintf(stderr, "\n");
    return false;
}

std::optional<DWORD> Process::ExitCode() const {
    DWORD code = 0;
    if (!process_ || !GetExitCodeProcess(process_, &code) || code == STILL_ACTIVE) {
        return std::nullopt;
    }
    return code;
}

void Process::Kill() {
    if (Running()) {
        TerminateProcess(process_, 999);
        WaitForSingleObject(process_, 3000);
    }
}

} // namespace qv::e2e
