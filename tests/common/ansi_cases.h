// Texts and their exact code page 932 bytes, and the tests of the conversion against them,
// shared by the Linux (iconv) and the Windows (WideCharToMultiByte) test programs so both
// implementations meet one table. Each program includes this in one file only.
#pragma once

#include "base/ansi_text.h"

#include <array>
#include <gtest/gtest.h>
#include <string>

namespace qv::test {

struct AnsiCase {
    std::wstring text;
    std::string bytes;
};

inline const std::array<AnsiCase, 8> kAnsiCases = {{
    {L"", ""},
    {L"a\r\n", "a\r\n"},
    {L"End of Program \r\n", "End of Program \r\n"},
    {L"キャプチャ領域1、開始座標とサイズ",
     "\x83\x4c\x83\x83\x83\x76\x83\x60\x83\x83\x97\xcc\x88\xe6"
     "1\x81\x41\x8a\x4a\x8e\x6e\x8d\xc0\x95\x57\x82\xc6\x83\x54\x83\x43\x83\x59"},
    {L"Processor数: ", "Processor\x90\x94: "},
    {L"･･･End ", "\xa5\xa5\xa5"
                 "End "},
    {L"デバッグログ（debug.txt）", "\x83\x66\x83\x6f\x83\x62\x83\x4f\x83\x8d\x83\x4f\x81\x69"
                                   "debug.txt\x81\x6a"},
    {std::wstring(L"a\0b", 3), std::string("a\0b", 3)},
}};

class Cp932 : public ::testing::TestWithParam<AnsiCase> {};

TEST_P(Cp932, ExactBytesAndRoundTrip) {
    const AnsiCase& c = GetParam();
    EXPECT_EQ(ToAnsi(c.text), c.bytes);
    EXPECT_EQ(FromAnsi(c.bytes), c.text);
    EXPECT_EQ(AnsiLength(c.text), c.bytes.size());
}

INSTANTIATE_TEST_SUITE_P(Texts, Cp932, ::testing::ValuesIn(kAnsiCases));

TEST(Cp932, UnmappableAndInvalidInput) {
    EXPECT_EQ(ToAnsi(L"a\u00E9b"), "a?b");
    // A lone lead byte and a lead byte before an invalid trail byte each become U+FFFD.
    EXPECT_EQ(FromAnsi("x\x81"), L"x\uFFFD");
    EXPECT_EQ(FromAnsi("\x81 y"), L"\uFFFD y");
}

} // namespace qv::test
