// Copying a file over an existing one. The copy goes to a side file of its own that is
// flushed to the disk and then replaces the target in one rename (see ReplaceFile); a failure
// leaves the target as it was.
#pragma once

#include <filesystem>

namespace qv {

bool CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace qv
