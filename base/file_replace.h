// Replacing a file as a whole. The new contents go to a side file of this write's own beside
// the target (named after the process and a counter, created only if no such file exists),
// are flushed to the disk, and then take the target's name in one rename. Neither a second
// writer (another copy of the program sharing the folder) nor a power cut can leave a torn or
// empty file under the target's name, and a failure leaves the target as it was and removes
// only the side file this write created.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>

namespace qv {

// A file made by this process only: creation fails when the name is taken.
class NewFile {
  public:
    explicit NewFile(const std::filesystem::path& path);
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    bool Created() const { return handle_ != kNone; }
    // False on a short or failed write.
    bool Write(std::span<const char> bytes);
    // Flushes the contents to the disk and closes the file; false when either fails.
    bool FlushAndClose();

  private:
    static constexpr std::intptr_t kNone = -1;
    void Close();
    std::intptr_t handle_ = kNone;
};

// What each runtime provides (file_replace_posix.cpp, file_replace_crt.cpp): a descriptor of a
// newly created file or -1; a write of part of `bytes` returning the count written, or <= 0 on
// failure; flushing to the disk; closing.
namespace file_io {
std::intptr_t CreateNew(const std::filesystem::path& path);
std::intptr_t WriteSome(std::intptr_t handle, std::span<const char> bytes);
bool Sync(std::intptr_t handle);
bool Close(std::intptr_t handle);
} // namespace file_io

// The id of this process, part of every side file's name.
std::uint32_t CurrentProcessId();

// Moves `from` over `to` (replacing it) and waits until the move is on the disk.
bool MoveReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Writes the target through `fill`, which writes the whole contents into the side file.
bool ReplaceFile(const std::filesystem::path& target, const std::function<bool(NewFile&)>& fill);
bool ReplaceFile(const std::filesystem::path& target, std::span<const char> bytes);

} // namespace qv
