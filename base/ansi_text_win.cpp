// Code page 932 conversion through the Win32 API. The code page is named explicitly so the
// files are the same bytes whatever the system's own ANSI code page is.
#include "base/ansi_text.h"

#include <windows.h>

namespace qv {
namespace {

constexpr UINT kCodePage = 932;

int ToInt(std::size_t size) {
    return size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(size);
}

// Decodes one character starting at bytes[pos] (one or two bytes) into out.
// Returns the number of bytes consumed; an undecodable unit becomes U+FFFD and consumes one.
std::size_t DecodeOne(std::string_view bytes, std::size_t pos, std::wstring& out) {
    const bool lead = IsDBCSLeadByteEx(kCodePage, static_cast<BYTE>(bytes[pos])) != 0;
    const std::size_t width = (lead && pos + 1 < bytes.size()) ? 2 : 1;
    wchar_t unit[2];
    const int n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data() + pos,
                                      static_cast<int>(width), unit, 2);
    if (n > 0 && !(lead && width == 1)) {
        out.append(unit, n);
        return width;
    }
    out.push_back(L'\uFFFD');
    return 1;
}

} // namespace

std::string ToAnsi(std::wstring_view text) {
    std::string out;
    if (text.empty()) {
        return out;
    }
    const int length = ToInt(text.size());
    const int size = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), length,
                                         nullptr, 0, "?", nullptr);
    if (size <= 0) {
        return out;
    }
    out.resize(size);
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), length, out.data(), size, "?",
                        nullptr);
    return out;
}

std::wstring FromAnsi(std::string_view bytes) {
    std::wstring out;
    if (bytes.empty()) {
        return out;
    }
    const int length = ToInt(bytes.size());
    const int size =
        MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (size > 0) {
        out.resize(size);
        MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), length, out.data(),
                            size);
        return out;
    }
    // Some bytes are invalid: decode character by character so that only they are replaced.
    for (std::size_t pos = 0; pos < bytes.size();) {
        pos += DecodeOne(bytes, pos, out);
    }
    return out;
}

} // namespace qv
