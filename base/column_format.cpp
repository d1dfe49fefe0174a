#include "base/column_format.h"

#include "base/ansi_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace qv {
namespace {

// Inserts "," between groups of three in the integer digits of a plain decimal text
// ("-1234567.50" -> "-1,234,567.50").
std::wstring GroupThousands(const std::wstring& plain) {
    const std::size_t digitsBegin = (!plain.empty() && plain[0] == L'-') ? 1 : 0;
    std::size_t digitsEnd = plain.find(L'.');
    if (digitsEnd == std::wstring::npos) {
        digitsEnd = plain.size();
    }
    std::wstring out = plain.substr(0, digitsBegin);
    for (std::size_t i = digitsBegin; i < digitsEnd; ++i) {
        const std::size_t remaining = digitsEnd - i;
        if (i > digitsBegin && remaining % 3 == 0) {
            out.push_back(L',');
        }
        out.push_back(plain[i]);
    }
    out.append(plain, digitsEnd, std::wstring::npos);
    return out;
}

std::wstring Widen(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

// Plain text of a number with `decimals` fraction digits (0: whole number), no grouping.
std::wstring PlainNumber(double value, int decimals) {
    if (std::isnan(value)) {
        return L"NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? L"-Infinity" : L"Infinity";
    }
    if (decimals == 0) {
        value = std::round(value); // halves away from zero
    }
    // Widest case: 309 integer digits, sign, point and kMaxColumnDecimals fraction digits.
    char buffer[320 + kMaxColumnDecimals];
    std::snprintf(buffer, sizeof(buffer), "%.*f", decimals, value);
    std::wstring text = Widen(buffer);
    // A negative value that rounds to zero shows no sign ("-0" or "-0.00" would be misleading).
    if (text[0] == L'-' && text.find_first_not_of(L"-0.") == std::wstring::npos) {
        text.erase(0, 1);
    }
    return text;
}

std::wstring PlainInteger(std::int64_t value, int decimals) {
    std::wstring text = std::to_wstring(value);
    if (decimals > 0) {
        text += L'.' + std::wstring(decimals, L'0');
    }
    return text;
}

struct DisplayTextVisitor {
    int decimals;
    bool noGrouping;

    std::wstring Number(std::wstring plain) const {
        return noGrouping ? plain : GroupThousands(plain);
    }
    std::wstring operator()(double v) const { return Number(PlainNumber(v, decimals)); }
    std::wstring operator()(std::int64_t v) const { return Number(PlainInteger(v, decimals)); }
    std::wstring operator()(bool v) const { return v ? L"True" : L"False"; }
    std::wstring operator()(const std::wstring& v) const { return v; }
};

// Double-byte characters of a text value (its CP932 bytes minus its characters); 0 otherwise.
std::int64_t ExtraWidth(const ColumnValue& value) {
    const auto* text = std::get_if<std::wstring>(&value);
    if (text == nullptr) {
        return 0;
    }
    return static_cast<std::int64_t>(AnsiLength(*text)) - static_cast<std::int64_t>(text->size());
}

bool FitsInt32(std::int64_t v) {
    return v >= std::numeric_limits<std::int32_t>::min() &&
           v <= std::numeric_limits<std::int32_t>::max();
}

} // namespace

std::optional<std::wstring> ColumnDisplayText(const ColumnValue& value, int decimals,
                                              bool noGrouping) {
    if (decimals > kMaxColumnDecimals) {
        return std::nullopt;
    }
    return std::visit(DisplayTextVisitor{decimals > 0 ? decimals : 0, noGrouping}, value);
}

std::optional<std::wstring> FormatColumn(const ColumnValue& value, int width, int gap, int decimals,
                                         bool noGrouping) {
    const std::int64_t extra = ExtraWidth(value);
    const std::int64_t columnBytes = std::int64_t{width} - gap; // width without the trailing gap
    const std::int64_t field = columnBytes - extra;
    if (!FitsInt32(columnBytes) || !FitsInt32(field) || field < 1) {
        return std::nullopt;
    }

    const std::optional<std::wstring> display = ColumnDisplayText(value, decimals, noGrouping);
    if (!display) {
        return std::nullopt;
    }

    const std::int64_t length = static_cast<std::int64_t>(display->size());
    const std::int64_t padding = length < field - 1 ? field - 1 - length : 0;
    std::wstring result(static_cast<std::size_t>(1 + padding), L' ');
    result += *display;

    // Bytes of the padded text: its characters plus one for each double-byte character.
    const std::int64_t paddedBytes = static_cast<std::int64_t>(result.size()) + extra;
    const std::int64_t shortfall = columnBytes - paddedBytes; // negative when the text overflows
    const std::int64_t trailing =
        std::max<std::int64_t>(1, std::int64_t{gap} + std::min<std::int64_t>(shortfall, 0));
    result.append(static_cast<std::size_t>(trailing), L' ');
    return result;
}

} // namespace qv
