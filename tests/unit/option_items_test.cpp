#include "config/option_items.h"

#include <gtest/gtest.h>

namespace {

using qv::OptionField;

struct ItemRow {
    OptionField field;
    const wchar_t* prompt;
    const wchar_t* min;
    const wchar_t* max;
    const wchar_t* increment;
};

constexpr ItemRow kRows[] = {
    {OptionField::RegionX, L"キャプチャー始点X値を入力してください", L"5", L"1200", L"1"},
    {OptionField::RegionY, L"キャプチャー始点Y値を入力してください", L"5", L"1000", L"1"},
    {OptionField::RegionWidth, L"キャプチャーサイズX値を入力してください", L"4", L"200", L"1"},
    {OptionField::RegionHeight, L"キャプチャーサイズY値を入力してください", L"4", L"100", L"1"},
    {OptionField::CaptureInterval, L"キャプチャー周期を入力してください", L"1", L"3600", L"5"},
    {OptionField::StartDelay,
     L"起動時にメイプルストーリの起動を\r\n確認するまでの遅延時間を入力してください", L"0", L"300",
     L"5"},
};

TEST(OptionItems, TheSixSettingsOfTheDialog) {
    ASSERT_EQ(qv::OptionItems().size(), std::size(kRows));
    for (const ItemRow& row : kRows) {
        const qv::OptionItem& item = qv::OptionItemFor(row.field);
        EXPECT_EQ(item.field, row.field);
        EXPECT_EQ(item.prompt, row.prompt);
        EXPECT_EQ(item.min, row.min);
        EXPECT_EQ(item.max, row.max);
        EXPECT_EQ(item.increment, row.increment);
    }
}

TEST(OptionItems, RequestCarriesTitleAndThePresentValue) {
    const qv::Settings s = qv::DefaultSettings();
    const qv::NumberEntryRequest x1 = qv::MakeOptionEntryRequest(s, OptionField::RegionX, 1);
    EXPECT_EQ(x1.ini, L"463");
    EXPECT_EQ(x1.title, L"設定値入力");
    EXPECT_EQ(qv::MakeOptionEntryRequest(s, OptionField::RegionX, 0).ini, L"1");
    EXPECT_EQ(qv::MakeOptionEntryRequest(s, OptionField::RegionHeight, 1).ini, L"9");
    EXPECT_EQ(qv::MakeOptionEntryRequest(s, OptionField::CaptureInterval, 1).ini, L"20");
    EXPECT_EQ(qv::MakeOptionEntryRequest(s, OptionField::StartDelay, 0).ini, L"15");
}

struct Hooks {
    int bufferResizes = 0;
    int intervalChanges = 0;
    qv::OptionChangeHooks Get() {
        return {[this] { ++bufferResizes; }, [this] { ++intervalChanges; }};
    }
};

struct ApplyRow {
    OptionField field;
    int region;
    double entered;
    std::int32_t qv::Settings::*plain; // nullptr for region fields
    std::int32_t qv::CaptureRegion::*regionField;
    std::int32_t expected;
    int bufferResizes;
    int intervalChanges;
};

TEST(ApplyOptionEntry, EachFieldIsStoredRoundedWithItsFollowUp) {
    const ApplyRow rows[] = {
        {OptionField::RegionX, 0, 12.5, nullptr, &qv::CaptureRegion::x, 12, 1, 0},
        {OptionField::RegionY, 1, 13.5, nullptr, &qv::CaptureRegion::y, 14, 1, 0},
        {OptionField::RegionWidth, 1, 90.4, nullptr, &qv::CaptureRegion::width, 90, 1, 0},
        {OptionField::RegionHeight, 0, 100, nullptr, &qv::CaptureRegion::height, 100, 1, 0},
        {OptionField::CaptureInterval, 0, 3600, &qv::Settings::captureInterval, nullptr, 3600, 0,
         1},
        {OptionField::StartDelay, 1, 0, &qv::Settings::startDelay, nullptr, 0, 0, 0},
    };
    for (const ApplyRow& row : rows) {
        qv::Settings s = qv::DefaultSettings();
        qv::Settings expected = s;
        if (row.plain != nullptr) {
            expected.*row.plain = row.expected;
        } else {
            expected.captureRegions[row.region].*row.regionField = row.expected;
        }
        Hooks hooks;
        EXPECT_TRUE(qv::ApplyOptionEntry(s, row.field, row.region, row.entered, hooks.Get()));
        EXPECT_EQ(s, expected) << static_cast<int>(row.field);
        EXPECT_EQ(hooks.bufferResizes, row.bufferResizes);
        EXPECT_EQ(hooks.intervalChanges, row.intervalChanges);
    }
}

TEST(ApplyOptionEntry, CancelLeavesEverythingAlone) {
    for (const qv::OptionItem& item : qv::OptionItems()) {
        qv::Settings s = qv::DefaultSettings();
        Hooks hooks;
        EXPECT_FALSE(qv::ApplyOptionEntry(s, item.field, 1, qv::InputCancelled, hooks.Get()));
        EXPECT_EQ(s, qv::DefaultSettings());
        EXPECT_EQ(hooks.bufferResizes + hooks.intervalChanges, 0);
    }
}

} // namespace
