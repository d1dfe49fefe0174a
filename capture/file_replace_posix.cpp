// The side file and the move on POSIX systems (the portable build).
#ifndef _WIN32

#include "capture/file_replace.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace qv {

NewFile::NewFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    handle_ = fd < 0 ? kNone : fd;
}

NewFile::~NewFile() {
    Close();
}

void NewFile::Close() {
    if (handle_ != kNone) {
        ::close(static_cast<int>(handle_));
        handle_ = kNone;
    }
}

bool NewFile::Write(std::span<const char> bytes) {
    while (handle_ != kNone && !bytes.empty()) {
        const ssize_t n = ::write(static_cast<int>(handle_), bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
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
    const bool flushed = ::fsync(static_cast<int>(handle_)) == 0;
    const bool closed = ::close(static_cast<int>(handle_)) == 0;
    handle_ = kNone;
    return flushed && closed;
}

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
