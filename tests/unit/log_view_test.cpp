#include "measurement/log_view.h"

#include <gtest/gtest.h>
#include <string>

namespace qv {
namespace {

class FakeLogBox : public LogBox {
  public:
    std::wstring text;
    std::size_t caret = 0;
    int repaints = 0;
    std::wstring Text() const override { return text; }
    void SetText(std::wstring_view t) override { text = t; }
    void SetCaret(std::size_t position) override { caret = std::min(position, text.size()); }
    void RepaintNow() override { ++repaints; }
};

std::wstring Entry(int n) {
    return L"entry " + std::to_wstring(n) + L"\r\n";
}

TEST(LogView, CountAndFindLineBreaks) {
    EXPECT_EQ(FindOccurrence(L"a\r\nb\r\n", L"\r\n", 2), 5);
    EXPECT_EQ(FindOccurrence(L"a\r\nb\r\n", L"\r\n", 1), 2);
    EXPECT_EQ(FindOccurrence(L"a\r\nb\r\n", L"\r\n", 3), 0);
    EXPECT_EQ(CountOccurrences(L"no breaks here", L"\r\n"), 0);
    EXPECT_EQ(CountOccurrences(L"\r\n\r\n\r\n", L"\r\n"), 3);
    // Non-overlapping: "aaa" holds one "aa".
    EXPECT_EQ(CountOccurrences(L"aaa", L"aa"), 1);
    EXPECT_EQ(FindOccurrence(L"aaaa", L"aa", 2), 3);
}

TEST(LogView, AppendToEmptyBoxPutsCaretAfterTheText) {
    FakeLogBox box;
    AppendLog(box, L"abc\r\n", kLogLineBreakCap);
    EXPECT_EQ(box.text, L"abc\r\n");
    EXPECT_EQ(box.caret, 5u);
    EXPECT_EQ(box.repaints, 1);
}

TEST(LogView, CapKeepsTheNewest512EntriesUnderOneEmptyLine) {
    FakeLogBox box;
    for (int n = 1; n <= 512; ++n) {
        AppendLog(box, Entry(n), kLogLineBreakCap);
    }
    EXPECT_EQ(CountOccurrences(box.text, L"\r\n"), 512);
    EXPECT_EQ(box.text.substr(0, 8), L"entry 1\r");

    AppendLog(box, Entry(513), kLogLineBreakCap);
    EXPECT_EQ(CountOccurrences(box.text, L"\r\n"), 513);
    EXPECT_EQ(box.text.substr(0, 11), L"\r\nentry 2\r\n");
    EXPECT_EQ(box.caret, box.text.size());

    AppendLog(box, Entry(514), kLogLineBreakCap);
    EXPECT_EQ(CountOccurrences(box.text, L"\r\n"), 513);
    EXPECT_EQ(box.text.substr(0, 11), L"\r\nentry 3\r\n");
    EXPECT_TRUE(box.text.ends_with(Entry(514)));
}

TEST(LogView, TwoBreakSummaryIsCutByTheSameRule) {
    FakeLogBox box;
    for (int n = 1; n <= 512; ++n) {
        AppendLog(box, Entry(n), kLogLineBreakCap);
    }
    AppendLog(box, L"summary\r\n\r\n", kLogLineBreakCap);
    EXPECT_EQ(CountOccurrences(box.text, L"\r\n"), 513);
    EXPECT_EQ(box.text.substr(0, 11), L"\r\nentry 3\r\n");
    EXPECT_TRUE(box.text.ends_with(L"summary\r\n\r\n"));
}

TEST(LogView, ZeroCapNeverCuts) {
    FakeLogBox box;
    for (int n = 1; n <= 600; ++n) {
        AppendLog(box, Entry(n), 0);
    }
    EXPECT_EQ(CountOccurrences(box.text, L"\r\n"), 600);
}

} // namespace
} // namespace qv
