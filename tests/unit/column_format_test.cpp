#include "base/ansi_text.h"
#include "base/column_format.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using qv::ColumnValue;
using qv::FormatColumn;

struct ColumnCase {
    ColumnValue value;
    int width;
    int decimals;
    bool noGrouping;
    std::wstring expected;
};

class ColumnExamples : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(ColumnExamples, FormatsAsShown) {
    const ColumnCase& c = GetParam();
    EXPECT_EQ(FormatColumn(c.value, c.width, 1, c.decimals, c.noGrouping), c.expected);
}

const std::wstring kThreeFullWidth = L"ＡＢＣ"; // 6 bytes in CP932

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, ColumnExamples,
    ::testing::Values(
        ColumnCase{std::int64_t{1234567}, 11, 0, false, L" 1,234,567 "},
        ColumnCase{std::int64_t{45}, 5, 0, false, L"  45 "},
        ColumnCase{std::int64_t{0}, 11, 0, false, L"         0 "},
        ColumnCase{6024300.0, 14, 0, false, L"    6,024,300 "},
        ColumnCase{std::int64_t{123}, 6, 0, true, L"  123 "},
        ColumnCase{std::int64_t{1920}, 6, 0, true, L" 1920 "},
        ColumnCase{true, 6, 0, false, L" True "}, ColumnCase{true, 6, 0, true, L" True "},
        ColumnCase{false, 7, 0, false, L" False "},
        ColumnCase{1234.5, 12, 2, false, L"   1,234.50 "},
        ColumnCase{1234.5, 12, 2, true, L"    1234.50 "},
        ColumnCase{std::int64_t{-1500}, 8, 0, false, L" -1,500 "},
        ColumnCase{-1500.0, 8, 0, false, L" -1,500 "},
        ColumnCase{std::int64_t{-123456}, 10, 0, false, L" -123,456 "},
        ColumnCase{kThreeFullWidth, 10, 0, false, L"   ＡＢＣ "},
        // Exactly as long as the field: only the leading space and one trailing space.
        ColumnCase{std::int64_t{9999999}, 11, 0, false, L" 9,999,999 "},
        // Zero in a floating-point column, and values that round to zero, are "0".
        ColumnCase{0.0, 5, 0, false, L"   0 "}, ColumnCase{0.4, 5, 0, false, L"   0 "},
        ColumnCase{-0.4, 5, 0, false, L"   0 "}, ColumnCase{0.0, 8, 2, false, L"   0.00 "},
        // Halves of whole numbers round away from zero.
        ColumnCase{2.5, 5, 0, false, L"   3 "}, ColumnCase{-2.5, 5, 0, false, L"  -3 "},
        ColumnCase{std::int64_t{7}, 8, 2, false, L"   7.00 "},
        ColumnCase{1234567890123.0, 19, 0, false, L" 1,234,567,890,123 "}));

TEST(FormatColumn, TextValueOccupiesWidthInBytes) {
    const std::wstring text = *FormatColumn(kThreeFullWidth, 10, 1, 0, false);
    EXPECT_EQ(text.size(), 7u);
    EXPECT_EQ(qv::AnsiLength(text), 10u);
}

TEST(FormatColumn, GapOfSeveralSpaces) {
    EXPECT_EQ(FormatColumn(std::int64_t{45}, 7, 3, 0, false), L"  45   ");
    // A gap below one still writes one space.
    EXPECT_EQ(FormatColumn(std::int64_t{45}, 4, 0, 0, false), L"  45 ");
}

TEST(FormatColumn, OverflowKeepsTheTextWholeAndShrinksTheTrailingGap) {
    // Field of one: no room, the text is written whole after its leading space.
    EXPECT_EQ(FormatColumn(std::int64_t{1234}, 2, 1, 0, true), L" 1234 ");
    // Overflow by 2 with a gap of 4: the gap shrinks to 2 so the total stays at width.
    EXPECT_EQ(FormatColumn(std::int64_t{12345}, 8, 4, 0, true), L" 12345  ");
    // A double-byte text wider than its column.
    EXPECT_EQ(FormatColumn(L"ＡＢＣＤ", 9, 1, 0, false), L" ＡＢＣＤ ");
}

TEST(FormatColumn, FieldBelowOneFails) {
    EXPECT_FALSE(FormatColumn(std::int64_t{1}, 1, 1, 0, false));
    EXPECT_FALSE(FormatColumn(std::int64_t{1}, 3, 5, 0, false));
    // Three double-byte characters take three extra bytes: 4 - 1 - 3 = 0.
    EXPECT_FALSE(FormatColumn(kThreeFullWidth, 4, 1, 0, false));
    EXPECT_TRUE(FormatColumn(kThreeFullWidth, 5, 1, 0, false));
}

TEST(FormatColumn, ThirtyTwoBitOverflowFails) {
    EXPECT_FALSE(FormatColumn(std::int64_t{1}, INT32_MIN, 1, 0, false));
    EXPECT_FALSE(FormatColumn(std::int64_t{1}, INT32_MAX, -1, 0, false));
}

TEST(FormatColumn, UnreasonableDecimalsFail) {
    EXPECT_FALSE(FormatColumn(1.0, 10, 1, qv::kMaxColumnDecimals + 1, false));
    EXPECT_TRUE(FormatColumn(1.0, 10, 1, qv::kMaxColumnDecimals, false));
}

TEST(FormatColumn, NegativeDecimalsMeanWholeNumber) {
    EXPECT_EQ(FormatColumn(1234.4, 8, 1, -3, false), L"  1,234 ");
}

} // namespace
