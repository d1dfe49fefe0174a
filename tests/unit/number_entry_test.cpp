#include "config/number_entry.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

using qv::EntryCheck;
using qv::EntryKey;
using qv::NumberEntryRequest;
using qv::NumberEntrySession;
using qv::StepDirection;

struct ReadCase {
    const wchar_t* text;
    double expected;
};

class ReadNumberRule : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadNumberRule, ReadsTheLeadingNumber) {
    EXPECT_EQ(qv::ReadNumber(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadNumberRule,
    ::testing::Values(ReadCase{L"", 0}, ReadCase{L"-", 0}, ReadCase{L"abc", 0},
                      ReadCase{L"463", 463}, ReadCase{L"12.5", 12.5}, ReadCase{L"1e2", 100},
                      ReadCase{L"1-2", 1}, ReadCase{L" 1 2 . 5 ", 12.5}, ReadCase{L"- 3", -3},
                      ReadCase{L"+7", 7}, ReadCase{L".5", 0.5}, ReadCase{L"5.", 5},
                      ReadCase{L"1.e1", 10}, ReadCase{L"2e", 2}, ReadCase{L"2e-", 2},
                      ReadCase{L"2e-1", 0.2}, ReadCase{L"1 e 2", 100}, ReadCase{L"3x4", 3},
                      ReadCase{L"1E-999", 0}, ReadCase{L"ー5", 0}));

TEST(ReadNumber, TooLargeForADoubleIsAnInfinityOfItsSign) {
    EXPECT_EQ(qv::ReadNumber(L"1E999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(qv::ReadNumber(L"-1E999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(qv::ReadNumber(std::wstring(400, L'9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(qv::ReadNumber(L"1E99999999999999999999"), std::numeric_limits<double>::infinity());
}

TEST(PermittedCharacters, OnlyThoseOfANumber) {
    EXPECT_TRUE(qv::HasOnlyPermittedCharacters(L""));
    EXPECT_TRUE(qv::HasOnlyPermittedCharacters(L"0123456789 -.Ee"));
    EXPECT_FALSE(qv::HasOnlyPermittedCharacters(L"12a"));  // a pasted letter
    EXPECT_FALSE(qv::HasOnlyPermittedCharacters(L"+5"));   // a sign the entry cannot hold
    EXPECT_FALSE(qv::HasOnlyPermittedCharacters(L"１２")); // double-byte digits
    EXPECT_FALSE(qv::HasOnlyPermittedCharacters(L"12\t")); // blanks other than space
}

TEST(EntryKeys, TypedPassedMovedOrSuppressed) {
    for (wchar_t c : std::wstring(L"0123456789-.Ee\x08\x7f")) {
        EXPECT_EQ(qv::ClassifyEntryKey(c), EntryKey::Pass) << int(c);
    }
    EXPECT_EQ(qv::ClassifyEntryKey(13), EntryKey::FocusEnter);
    // Space, a letter, "+", Ctrl+C / Ctrl+V / Ctrl+X, a double-byte character.
    for (wchar_t c : std::wstring(L" a+\x03\x16\x18あ")) {
        EXPECT_EQ(qv::ClassifyEntryKey(c), EntryKey::Suppress) << int(c);
    }
}

TEST(ShortestDecimal, NoTrailingZerosAndReadableBack) {
    EXPECT_EQ(qv::ShortestDecimal(5.0), L"5");
    EXPECT_EQ(qv::ShortestDecimal(1200), L"1200");
    EXPECT_EQ(qv::ShortestDecimal(12.5), L"12.5");
    EXPECT_EQ(qv::ShortestDecimal(-4995), L"-4995");
    EXPECT_EQ(qv::ShortestDecimal(-0.0), L"0");
    EXPECT_EQ(qv::ShortestDecimal(0.1 + 0.2), L"0.30000000000000004");
    // Exponent forms carry no "+", so the entry can read them back.
    for (double v : {1e22, -1e22, 1.5e-7, 1.7976931348623157e308}) {
        const std::wstring text = qv::ShortestDecimal(v);
        EXPECT_TRUE(qv::HasOnlyPermittedCharacters(text)) << text;
        EXPECT_EQ(qv::ReadNumber(text), v) << text;
    }
}

TEST(RoundHalfToEven, CallersRounding) {
    EXPECT_EQ(qv::RoundHalfToEven(12.5), 12);
    EXPECT_EQ(qv::RoundHalfToEven(13.5), 14);
    EXPECT_EQ(qv::RoundHalfToEven(-2.5), -2);
    EXPECT_EQ(qv::RoundHalfToEven(-3.5), -4);
    EXPECT_EQ(qv::RoundHalfToEven(12.5001), 13);
    EXPECT_EQ(qv::RoundHalfToEven(2147483647.4), 2147483647);
    EXPECT_EQ(qv::RoundHalfToEven(2147483647.5), std::nullopt);
    EXPECT_EQ(qv::RoundHalfToEven(-2147483648.5), -2147483648);
    EXPECT_EQ(qv::RoundHalfToEven(std::numeric_limits<double>::infinity()), std::nullopt);
}

NumberEntrySession Session(const wchar_t* min, const wchar_t* max, const wchar_t* ini,
                           const wchar_t* step) {
    return NumberEntrySession::Start(NumberEntryRequest{min, max, ini, step, L"", L""});
}

TEST(EntrySession, BoundsInEitherOrderAndTheStepsSignDropped) {
    const NumberEntrySession a = Session(L"5", L"1200", L"463", L"1");
    const NumberEntrySession b = Session(L"1200", L"5", L"463", L"-1");
    for (const auto& s : {a, b}) {
        EXPECT_EQ(s.lower, 5);
        EXPECT_EQ(s.upper, 1200);
        EXPECT_EQ(s.step, 1);
        EXPECT_EQ(s.current, 463);
    }
    const NumberEntrySession equal = Session(L"7", L"7", L"0", L"1");
    EXPECT_EQ(equal.lower, 7);
    EXPECT_EQ(equal.upper, 7);
}

struct StepCase {
    const wchar_t* entry;
    StepDirection direction;
    const wchar_t* min;
    const wchar_t* max;
    const wchar_t* step;
    const wchar_t* expected;
    double current; // the session's value afterwards
};

class Steppers : public ::testing::TestWithParam<StepCase> {};

TEST_P(Steppers, ClampOnTheSteppingSideOnly) {
    const StepCase& c = GetParam();
    NumberEntrySession s = Session(c.min, c.max, L"0", c.step);
    const std::optional<std::wstring> text = qv::StepEntry(c.entry, c.direction, s);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, c.expected);
    EXPECT_EQ(s.current, c.current);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, Steppers,
    ::testing::Values(StepCase{L"5000", StepDirection::Up, L"1", L"3600", L"5", L"3600", 3600},
                      StepCase{L"5000", StepDirection::Down, L"1", L"3600", L"5", L"4995", 4995},
                      StepCase{L"1", StepDirection::Up, L"5", L"1200", L"1", L"2", 2},
                      StepCase{L"1", StepDirection::Down, L"5", L"1200", L"1", L"5", 5},
                      StepCase{L"", StepDirection::Up, L"0", L"300", L"5", L"5", 5},
                      StepCase{L"", StepDirection::Down, L"0", L"300", L"5", L"0", 0},
                      StepCase{L"12.5", StepDirection::Up, L"4", L"200", L"1", L"13.5", 13.5},
                      StepCase{L"298", StepDirection::Up, L"0", L"300", L"5", L"300", 300},
                      StepCase{L"1E999", StepDirection::Up, L"1", L"3600", L"5", L"3600", 3600},
                      StepCase{L"1E999", StepDirection::Down, L"1", L"3600", L"5", L"3600", 3600},
                      StepCase{L"-1E999", StepDirection::Up, L"1", L"3600", L"5", L"1", 1}));

TEST(Steppers, RefuseAnInvalidCharacterAndChangeNothing) {
    NumberEntrySession s = Session(L"5", L"1200", L"463", L"1");
    for (const wchar_t* entry : {L"46x", L"４６３", L"+1"}) {
        EXPECT_EQ(qv::StepEntry(entry, StepDirection::Up, s), std::nullopt);
        EXPECT_EQ(qv::StepEntry(entry, StepDirection::Down, s), std::nullopt);
        EXPECT_EQ(s.current, 463);
    }
}

struct CheckCase {
    const wchar_t* entry;
    const wchar_t* min;
    const wchar_t* max;
    EntryCheck expected;
    double current; // the session's value afterwards (463 before)
};

class EnterButton : public ::testing::TestWithParam<CheckCase> {};

TEST_P(EnterButton, BoundsAreInclusive) {
    const CheckCase& c = GetParam();
    NumberEntrySession s = Session(c.min, c.max, L"463", L"1");
    EXPECT_EQ(qv::CheckEntry(c.entry, s), c.expected) << c.entry;
    EXPECT_EQ(s.current, c.current) << c.entry;
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, EnterButton,
    ::testing::Values(CheckCase{L"5", L"5", L"1200", EntryCheck::Accepted, 5},
                      CheckCase{L"1200", L"5", L"1200", EntryCheck::Accepted, 1200},
                      CheckCase{L"1200", L"1200", L"5", EntryCheck::Accepted, 1200},
                      CheckCase{L"4.999", L"5", L"1200", EntryCheck::BelowLower, 4.999},
                      CheckCase{L"1", L"1200", L"5", EntryCheck::BelowLower, 1},
                      CheckCase{L"1200.01", L"5", L"1200", EntryCheck::AboveUpper, 1200.01},
                      CheckCase{L"", L"0", L"300", EntryCheck::Accepted, 0},
                      CheckCase{L"", L"1", L"3600", EntryCheck::BelowLower, 0},
                      CheckCase{L"1e2", L"5", L"1200", EntryCheck::Accepted, 100},
                      CheckCase{L"1E999", L"1", L"3600", EntryCheck::AboveUpper,
                                std::numeric_limits<double>::infinity()},
                      CheckCase{L"-1E999", L"1", L"3600", EntryCheck::BelowLower,
                                -std::numeric_limits<double>::infinity()},
                      CheckCase{L"12a", L"5", L"1200", EntryCheck::InvalidCharacter, 463},
                      CheckCase{L"12あ", L"5", L"1200", EntryCheck::InvalidCharacter, 463}));

TEST(EnterButton, MessagesOfEachRefusal) {
    EXPECT_EQ(qv::MessageFor(EntryCheck::InvalidCharacter).text, L"無効文字が含まれています。");
    EXPECT_EQ(qv::MessageFor(EntryCheck::InvalidCharacter).title, L"入力チェック");
    EXPECT_EQ(qv::MessageFor(EntryCheck::BelowLower).text, L"入力下限を超えています");
    EXPECT_EQ(qv::MessageFor(EntryCheck::AboveUpper).text, L"入力上限を超えています");
    EXPECT_EQ(qv::MessageFor(EntryCheck::AboveUpper).title, L"入力エラー");
    EXPECT_TRUE(qv::MessageFor(EntryCheck::Accepted).text.empty());
}

} // namespace
