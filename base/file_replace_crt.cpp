// The side file and the move through the Microsoft C runtime, so that the portable core needs
// no Win32 header. _commit asks the system to write the file's buffers to the disk.
#ifdef _WIN32

#include "base/file_replace.h"

#include <climits>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <system_error>

namespace qv {

namespace file_io {

std::intptr_t CreateNew(const std::filesystem::path& path) {
    const int fd = ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                            _S_IREAD | _S_IWRITE);
    return fd < 0 ? -1 : fd;
}

std::intptr_t WriteSome(std::intptr_t handle, std::span<const char> bytes) {
    constexpr std::size_t kChunk = 1 << 20; // _write takes an unsigned count
    const auto size = static_cast<unsigned>(bytes.size() < kChunk ? bytes.size() : kChunk);
    return ::_write(static_cast<int>(handle), bytes.data(), size);
}

bool Sync(std::intptr_t handle) {
    return ::_commit(static_cast<int>(handle)) == 0;
}

bool Close(std::intptr_t handle) {
    return ::_close(static_cast<int>(handle)) == 0;
}

} // namespace file_io

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
