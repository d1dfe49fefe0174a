// Copying a file over an existing one. std::filesystem's overwrite_existing fails under some
// Windows runtimes when the target exists, so the copy goes to a side file that then
// replaces the target in one rename; a failure leaves the target as it was.
#pragma once

#include <filesystem>

namespace qv {

bool CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace qv
