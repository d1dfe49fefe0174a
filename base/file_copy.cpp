#include "base/file_copy.h"

#include "base/file_replace.h"

#include <array>
#include <fstream>

namespace qv {

bool CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in) {
        return false;
    }
    return ReplaceFile(to, [&in](NewFile& file) {
        std::array<char, 64 * 1024> chunk;
        while (in) {
            in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            const auto count = static_cast<std::size_t>(in.gcount());
            if (count > 0 && !file.Write(std::span<const char>(chunk.data(), count))) {
                return false;
            }
        }
        return !in.bad();
    });
}

} // namespace qv
