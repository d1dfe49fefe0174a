// The conversion through iconv: the shared table of texts and bytes, and long texts.
#include "base/ansi_text.h"
#include "tests/common/ansi_cases.h"

#include <gtest/gtest.h>

namespace {

TEST(AnsiText, LongTextCrossesConversionBuffers) {
    const std::wstring text(5000, L'あ');
    const std::string bytes = qv::ToAnsi(text);
    EXPECT_EQ(bytes.size(), 10000u);
    EXPECT_EQ(qv::FromAnsi(bytes), text);
}

} // namespace
