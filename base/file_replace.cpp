#include "base/file_replace.h"

#include <atomic>
#include <chrono>
#include <string>
#include <system_error>
#include <thread>

namespace qv {
namespace {

// A side name taken by someone else is passed over for the next one.
constexpr int kSideNameAttempts = 8;
// Another program reading the target can hold up its replacement for a moment.
constexpr int kMoveAttempts = 10;
constexpr std::chrono::milliseconds kMoveRetryDelay{10};

std::filesystem::path SideFile(const std::filesystem::path& target) {
    static std::atomic<std::uint32_t> counter{0};
    std::filesystem::path side = target;
    side +=
        L"." + std::to_wstring(CurrentProcessId()) + L"-" + std::to_wstring(counter++) + L".tmp";
    return side;
}

bool MoveWithRetries(const std::filesystem::path& from, const std::filesystem::path& to) {
    for (int attempt = 1;; ++attempt) {
        if (MoveReplacing(from, to)) {
            return true;
        }
        if (attempt == kMoveAttempts) {
            return false;
        }
        std::this_thread::sleep_for(kMoveRetryDelay);
    }
}

} // namespace

NewFile::NewFile(const std::filesystem::path& path) : handle_(file_io::CreateNew(path)) {}

NewFile::~NewFile() {
    Close();
}

void NewFile::Close() {
    if (handle_ != kNone) {
        file_io::Close(handle_);
        handle_ = kNone;
    }
}

bool NewFile::Write(std::span<const char> bytes) {
    while (handle_ != kNone && !bytes.empty()) {
        const std::intptr_t n = file_io::WriteSome(handle_, bytes);
        if (n <= 0) {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return handle_ != kNone;
}

bool NewFile::FlushAndClose() {
    if (handle_ == kNone) {
        return false;
    }
    const bool flushed = file_io::Sync(handle_);
    const bool closed = file_io::Close(handle_);
    handle_ = kNone;
    return flushed && closed;
}

bool ReplaceFile(const std::filesystem::path& target, const std::function<bool(NewFile&)>& fill) {
    for (int attempt = 0; attempt < kSideNameAttempts; ++attempt) {
        const std::filesystem::path side = SideFile(target);
        bool written = false;
        {
            NewFile file(side);
            if (!file.Created()) {
                continue; // not ours: never written to, never removed
            }
            written = fill(file) && file.FlushAndClose();
        }
        if (written && MoveWithRetries(side, target)) {
            return true;
        }
        std::error_code ignored;
        std::filesystem::remove(side, ignored);
        return false;
    }
    return false;
}

bool ReplaceFile(const std::filesystem::path& target, std::span<const char> bytes) {
    return ReplaceFile(target, [bytes](NewFile& file) { return file.Write(bytes); });
}

} // namespace qv
