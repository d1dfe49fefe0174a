// The side file and the move through the Microsoft C runtime, so that the portable core needs
// no Win32 header. _commit asks the system to write the file's buffers to the disk.
#ifdef _WIN32

#include "capture/file_replace.h"

#include <climits>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <system_error>

namespace qv {

NewFile::NewFile(const std::filesystem::path& path) {
    const int fd = ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                            _S_IREAD | _S_IWRITE);
    handle_ = fd < 0 ? kNone : fd;
}

NewFile::~NewFile() {
    Close();
}

void NewFile::Close() {
    if (handle_ != kNone) {
        ::_close(static_cast<int>(handle_));
        handle_ = kNone;
    }
}

bool NewFile::Write(std::span<const char> bytes) {
    constexpr std::size_t kChunk = 1 << 20;
    while (handle_ != kNone && !bytes.empty()) {
        const auto size = static_cast<unsigned>(bytes.size() < kChunk ? bytes.size() : kChunk);
        const int n = ::_write(static_cast<int>(handle_), bytes.data(), size);
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
    const bool flushed = ::_commit(static_cast<int>(handle_)) == 0;
    const bool closed = ::_close(static_cast<int>(handle_)) == 0;
    handle_ = kNone;
    return flushed && closed;
}

std::uint32_t CurrentProcessId() {
    return static_cast<std::uint32_t>(::_getpid());
}

bool MoveReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    // The runtime's rename replaces an existing target in one step.
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    return !ec;
}

} // namespace qv

#endif
