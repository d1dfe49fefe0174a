// Conversion between the program's UTF-16/UTF-32 wide text and the bytes of its files,
// which are always code page 932 (Shift-JIS) whatever the system's own code page is.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace qv {

// Wide text to code page 932 bytes. Characters without a CP932 form become '?'.
std::string ToAnsi(std::wstring_view text);

// Code page 932 bytes to wide text. Invalid byte sequences become U+FFFD.
std::wstring FromAnsi(std::string_view bytes);

// Width of the text in CP932 bytes (a double-byte character counts two).
std::size_t AnsiLength(std::wstring_view text);

enum class AnsiWrite {
    Append,    // after what the file holds (a missing file is made)
    Replace,   // in place of it
    CreateNew, // into a new file: fails when the name is taken, whatever holds it; a new
               // file that did not take the whole text is removed again
};

// Writes the text to the file as CP932 bytes: open, write, close, so a crash loses at most
// the text being written. False when the file cannot be opened or written.
bool WriteAnsiFile(const std::filesystem::path& path, std::wstring_view text,
                   AnsiWrite how = AnsiWrite::Append);

} // namespace qv
