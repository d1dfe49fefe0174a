// Small Win32 helpers of the shell: owned GDI handles, the program folder, message boxes,
// the system clock.
#pragma once

#include "services/local_time.h"
#include "services/message_sink.h"

#include <windows.h>

#include <filesystem>
#include <string>

namespace qv {

// The folder that holds the running exe; every file of the program lives there.
std::filesystem::path ProgramFolder();

std::wstring WindowText(HWND hwnd);

// The program's window font, "Terminal" with the Shift-JIS character set. A positive height
// is the character cell, so a substituted outline font keeps to the designed label widths as
// the raster font does; a negative one is the character height.
HFONT CreateTerminalFont(int height, int weight = FW_NORMAL, bool underline = false);

// The character height of a point size on this screen, as a negative font height.
int FontHeightForPoints(int points);

// Modal message box with one OK button and no icon, owned by `owner_` when it is a window.
class MessageBoxSink : public MessageSink {
  public:
    void SetOwner(HWND owner) { owner_ = owner; }
    void ShowMessage(std::wstring_view text, std::wstring_view title) override;

  private:
    HWND owner_ = nullptr;
};

// Local time from GetLocalTime, milliseconds from timeGetTime.
class SystemClock : public Clock {
  public:
    LocalTime Now() override;
    std::uint32_t Milliseconds() override;
};

} // namespace qv

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
            handle_ = other.handle_;
            other.handle_ = nullptr;
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

} // namespace qv
