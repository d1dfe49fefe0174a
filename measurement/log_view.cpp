#include "measurement/log_view.h"

namespace qv {

namespace {
constexpr std::wstring_view kLineBreak = L"\r\n";
}

std::int32_t CountOccurrences(std::wstring_view text, std::wstring_view separator) {
    if (separator.empty()) {
        return 0;
    }
    std::int32_t count = 0;
    for (std::size_t at = text.find(separator); at != std::wstring_view::npos;
         at = text.find(separator, at + separator.size())) {
        ++count;
    }
    return count;
}

std::int32_t FindOccurrence(std::wstring_view text, std::wstring_view separator, std::int32_t n) {
    if (separator.empty() || n < 1) {
        return 0;
    }
    std::int32_t seen = 0;
    for (std::size_t at = text.find(separator); at != std::wstring_view::npos;
         at = text.find(separator, at + separator.size())) {
        if (++seen == n) {
            return static_cast<std::int32_t>(at + 1);
        }
    }
    return 0;
}

void AppendLog(LogBox& box, std::wstring_view text, std::int32_t cap) {
    std::wstring combined = box.Text();
    combined.append(text);
    const std::int32_t breaks = CountOccurrences(combined, kLineBreak);
    const std::size_t caret = combined.size();
    if (cap > 0 && breaks > cap) {
        const std::int32_t cut = FindOccurrence(combined, kLineBreak, breaks - cap);
        // Keep from the CR of that line break on, so the kept text starts with a break.
        box.SetText(std::wstring_view(combined).substr(static_cast<std::size_t>(cut - 1)));
    } else {
        box.SetText(combined);
    }
    box.SetCaret(caret);
    box.RepaintNow();
}

} // namespace qv
