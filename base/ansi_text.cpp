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
        bool written = false;
        {
            NewFile file(path); // an exclusive create: no other file is ever opened
            if (!file.Created()) {
                return false;
            }
            written = file.Write(ToAnsi(text)) && file.FlushAndClose();
        }
        // The file is ours alone: one that did not take its text (a full disk) goes again, so
        // that the name is free for the next try and no empty file is left behind.
        std::error_code ignored;
        if (!written) {
            std::filesystem::remove(path, ignored);
        }
        return written;
    }
    std::error_code noFile;
    const std::uintmax_t before = std::filesystem::file_size(path, noFile);
    const auto mode = how == AnsiWrite::Append ? std::ios::app : std::ios::trunc;
    std::ofstream out(path, std::ios::binary | std::ios::out | mode);
    if (!out) {
        return false;
    }
    // Converted once the file is open: a file held by another program costs no conversion.
    const std::string bytes = ToAnsi(text);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out.fail()) {
        return true;
    }
    // A write cut off part-way (a full disk) leaves no torn line: an appended file goes back to
    // its last whole write, so the next write starts there.
    std::error_code ignored;
    if (how == AnsiWrite::Append && !noFile) {
        std::filesystem::resize_file(path, before, ignored);
    }
    return false;
}

} // namespace qv
