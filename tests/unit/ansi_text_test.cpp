#include "services/ansi_text.h"

#include <gtest/gtest.h>

namespace {

struct AnsiCase {
    std::wstring text;
    std::string bytes;
};

class AnsiText : public ::testing::TestWithParam<AnsiCase> {};

TEST_P(AnsiText, ExactBytesAndRoundTrip) {
    const AnsiCase& c = GetParam();
    EXPECT_EQ(qv::ToAnsi(c.text), c.bytes);
    EXPECT_EQ(qv::FromAnsi(c.bytes), c.text);
    EXPECT_EQ(qv::AnsiLength(c.text), c.bytes.size());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AnsiText,
    ::testing::Values(AnsiCase{L"", ""}, AnsiCase{L"a\r\n", "a\r\n"},
                      AnsiCase{L"キャプチャ領域1、開始座標とサイズ",
                               "\x83\x4c\x83\x83\x83\x76\x83\x60\x83\x83\x97\xcc\x88\xe6"
                               "1\x81\x41\x8a\x4a\x8e\x6e\x8d\xc0\x95\x57\x82\xc6\x83\x54\x83"
                               "\x43\x83\x59"},
                      AnsiCase{L"Processor数: ", "Processor\x90\x94: "},
                      AnsiCase{L"･･･End ", "\xa5\xa5\xa5"
                                           "End "},
                      AnsiCase{std::wstring(L"a\0b", 3), std::string("a\0b", 3)}));

TEST(AnsiText, UnmappableAndInvalidInput) {
    EXPECT_EQ(qv::ToAnsi(L"a\u00E9b"), "a?b");
    EXPECT_EQ(qv::FromAnsi("x\x81"), L"x\uFFFD");
    EXPECT_EQ(qv::FromAnsi("\x81 y"), L"\uFFFD y");
}

TEST(AnsiText, LongTextCrossesConversionBuffers) {
    const std::wstring text(5000, L'あ');
    const std::string bytes = qv::ToAnsi(text);
    EXPECT_EQ(bytes.size(), 10000u);
    EXPECT_EQ(qv::FromAnsi(bytes), text);
}

} // namespace
