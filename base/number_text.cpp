#include "base/number_text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace qv {

std::wstring WholeNumberText(double value) {
    // The longest whole double has 309 digits and a sign.
    std::array<char, 320> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, 0);
    if (error != std::errc()) {
        return {};
    }
    return std::wstring(buffer.data(), end);
}

std::wstring ZeroPadded(int value, std::size_t width) {
    std::wstring text = std::to_wstring(value);
    if (text.size() < width) {
        text.insert(value < 0 ? 1 : 0, width - text.size(), L'0');
    }
    return text;
}

std::wstring PercentText(std::optional<double> percent) {
    if (!percent) {
        return {};
    }
    const auto hundredths = static_cast<long long>(std::llround(*percent * 100));
    return std::to_wstring(hundredths / 100) + L"." +
           ZeroPadded(static_cast<int>(hundredths % 100), 2);
}

} // namespace qv
