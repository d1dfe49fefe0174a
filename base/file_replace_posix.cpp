// The side file and the move on POSIX systems (the portable build).
#ifndef _WIN32

#include "base/file_replace.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace qv {

namespace file_io {

std::intptr_t CreateNew(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return fd < 0 ? -1 : fd;
}

std::intptr_t WriteSome(std::intptr_t handle, std::span<const char> bytes) {
    ssize_t n = 0;
    do {
        n = ::write(static_cast<int>(handle), bytes.data(), bytes.size());
    } while (n < 0 && errno == EINTR);
    return n;
}

bool Sync(std::intptr_t handle) {
    return ::fsync(static_cast<int>(handle)) == 0;
}

bool Close(std::intptr_t handle) {
    return ::close(static_cast<int>(handle)) == 0;
}

} // namespace file_io

std::uint32_t CurrentProcessId() {
    return static_cast<std::uint32_t>(::getpid());
}

bool MoveReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    // The new directory entry reaches the disk too.
    const std::filesystem::path folder = to.has_parent_path() ? to.parent_path() : ".";
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace qv

#endif
