// Conversion between the program's UTF-16/UTF-32 wide text and the bytes of its files,
// which are always code page 932 (Shift-JIS) whatever the system's own code page is.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

// Wide text to code page 932 bytes. Characters without a CP932 form become '?'.
std::string ToAnsi(std::wstring_view text);

// Code page 932 bytes to wide text. Invalid byte sequences become U+FFFD.
std::wstring FromAnsi(std::string_view bytes);

// Width of the text in CP932 bytes (a double-byte character counts two).
std::size_t AnsiLength(std::wstring_view text);

} // namespace qv
