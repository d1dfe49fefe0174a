// Fixed-width, right-aligned columns for figures written one under another (measurement
// summary, configuration file, debug log). Widths are counted in code page 932 bytes, so a
// double-byte character takes two columns as it does on screen.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace qv {

// What a column shows: a floating-point number, an integer, a truth value or a text.
using ColumnValue = std::variant<double, std::int64_t, bool, std::wstring>;

// The value as the column shows it, before alignment: numbers rounded to `decimals` digits
// after the point (0 or less: a whole number, halves away from zero), grouped by threes with
// "," unless noGrouping; a number that rounds to zero is "0"; truth values are "True"/"False".
// Returns nothing when decimals exceed kMaxColumnDecimals.
std::optional<std::wstring> ColumnDisplayText(const ColumnValue& value, int decimals,
                                              bool noGrouping);

constexpr int kMaxColumnDecimals = 99;

// One space, the display text right-aligned in a field, then the trailing gap, `width` bytes in
// all when the text fits (gap spaces after it, at least one). A display text longer than its
// field is written whole; the trailing gap then shrinks by the overflow (never below one
// space), so the column keeps its width where possible and later columns stay aligned.
// Returns nothing when width - gap - (double-byte characters of a text value) is below 1, when
// that arithmetic leaves the 32-bit range, or when decimals exceed kMaxColumnDecimals.
std::optional<std::wstring> FormatColumn(const ColumnValue& value, int width, int gap, int decimals,
                                         bool noGrouping);

} // namespace qv
