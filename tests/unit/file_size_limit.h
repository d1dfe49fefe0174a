// A full disk for the tests: files this process writes cannot grow past a given size while the
// guard lives, so a write fails part-way (EFBIG) as it would on a full disk.
#pragma once

#include <csignal>
#include <cstddef>
#include <sys/resource.h>

namespace qv::testing_fakes {

class FileSizeLimit {
  public:
    explicit FileSizeLimit(std::size_t maxBytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = static_cast<rlim_t>(maxBytes);
        // Without this the write past the limit would end the test process with SIGXFSZ.
        savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        applied_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool Applied() const { return applied_; }

  private:
    rlimit saved_{};
    void (*savedHandler_)(int) = SIG_DFL;
    bool applied_ = false;
};

} // namespace qv::testing_fakes
