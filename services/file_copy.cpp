#include "services/file_copy.h"

namespace qv {

bool CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::filesystem::path side = to;
    side += L".copying";
    std::error_code ec;
    std::filesystem::remove(side, ec);
    if (!std::filesystem::copy_file(from, side, ec) || ec) {
        std::filesystem::remove(side, ec);
        return false;
    }
    std::filesystem::rename(side, to, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(side, ignored);
        return false;
    }
    return true;
}

} // namespace qv
