#include "base/ansi_text.h"
#include "tests/common/ansi_cases.h"

#include <gtest/gtest.h>

namespace {

using qv::test::AnsiCase;

class AnsiText : public ::testing::TestWithParam<AnsiCase> {};

TEST_P(AnsiText, ExactBytesAndRoundTrip) {
    const AnsiCase& c = GetParam();
    EXPECT_EQ(qv::ToAnsi(c.text), c.bytes);
    EXPECT_EQ(qv::FromAnsi(c.bytes), c.text);
    EXPECT_EQ(qv::AnsiLength(c.text), c.bytes.size());
}

INSTANTIATE_TEST_SUITE_P(Texts, AnsiText, ::testing::ValuesIn(qv::test::kAnsiCases));

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
