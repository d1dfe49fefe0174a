// The parts of the code page 932 conversion that do not depend on the platform.
#include "base/ansi_text.h"

#include "base/file_replace.h"

#include <fstream>

namespace qv {

std::size_t AnsiLength(std::wstring_view text) {
    return ToAnsi(text).size();
}

bool WriteAnsiFile(const std::filesystem::path& path, std::wstring_view text, AnsiWrite how) {
    if (how == AnsiWrite::CreateNew) {
        NewFile file(path); // an exclusive create: no other file is ever opened
        return file.Created() && file.Write(ToAnsi(text)) && file.FlushAndClose();
    }
    const auto mode = how == AnsiWrite::Append ? std::ios::app : std::ios::trunc;
    std::ofstream out(path, std::ios::binary | std::ios::out | mode);
    if (!out) {
        return false;
    }
    // Converted once the file is open: a file held by another program costs no conversion.
    const std::string bytes = ToAnsi(text);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

} // namespace qv
