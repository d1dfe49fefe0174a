// The main window's log box: appending with a cap on line breaks, and the two text helpers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// The log box as the appending code sees it. The shell wraps the multi-line edit control.
class LogBox {
  public:
    virtual ~LogBox() = default;
    virtual std::wstring Text() const = 0;
    virtual void SetText(std::wstring_view text) = 0;
    // Caret to `position` (clamped by the box to its length), no selection; scrolls into view.
    virtual void SetCaret(std::size_t position) = 0;
    virtual void RepaintNow() = 0;
};

inline constexpr std::int32_t kLogLineBreakCap = 512;

// Non-overlapping occurrences of `separator` in `text`.
std::int32_t CountOccurrences(std::wstring_view text, std::wstring_view separator);

// 1-based position of the n-th non-overlapping occurrence, or 0 when there are fewer.
std::int32_t FindOccurrence(std::wstring_view text, std::wstring_view separator, std::int32_t n);

// Appends `text`; when the box then holds more than `cap` CR LF, the oldest part is cut so
// that exactly cap + 1 line breaks remain, the first one at the start.
void AppendLog(LogBox& box, std::wstring_view text, std::int32_t cap);

} // namespace qv
