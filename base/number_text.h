// Whole numbers and date fields as text, built without a fixed buffer a long figure could
// outgrow.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace qv {

// The value rounded to a whole number (halves to even), every digit written out: "6024300",
// "-15"; "inf" or "nan" for what is no number.
std::wstring WholeNumberText(double value);

// A percent with two decimals ("12.34", "100.00"), empty without one.
std::wstring PercentText(std::optional<double> percent);

// `value` in decimal with leading zeros up to `width` characters ("07", "2024", "-05").
std::wstring ZeroPadded(int value, std::size_t width);

} // namespace qv
