#include "config/option_items.h"

#include <array>
#include <string>

namespace qv {

namespace {

constexpr std::array<OptionItem, 6> kItems{{
    {OptionField::RegionX, L"キャプチャー始点X値を入力してください", L"5", L"1200", L"1"},
    {OptionField::RegionY, L"キャプチャー始点Y値を入力してください", L"5", L"1000", L"1"},
    {OptionField::RegionWidth, L"キャプチャーサイズX値を入力してください", L"4", L"200", L"1"},
    {OptionField::RegionHeight, L"キャプチャーサイズY値を入力してください", L"4", L"100", L"1"},
    {OptionField::CaptureInterval, L"キャプチャー周期を入力してください", L"1", L"3600", L"5"},
    {OptionField::StartDelay,
     L"起動時にメイプルストーリの起動を\r\n確認するまでの遅延時間を入力してください", L"0", L"300",
     L"5"},
}};

// Works for a const and a mutable record alike.
template <typename S> auto& FieldOf(S& settings, OptionField field, int region) {
    auto& r = settings.captureRegions[region == 0 ? 0 : 1];
    switch (field) {
    case OptionField::RegionX:
        return r.x;
    case OptionField::RegionY:
        return r.y;
    case OptionField::RegionWidth:
        return r.width;
    case OptionField::RegionHeight:
        return r.height;
    case OptionField::CaptureInterval:
        return settings.captureInterval;
    case OptionField::StartDelay:
        break;
    }
    return settings.startDelay;
}

} // namespace

std::span<const OptionItem> OptionItems() {
    return kItems;
}

const OptionItem& OptionItemFor(OptionField field) {
    return kItems[static_cast<std::size_t>(field)];
}

bool IsRegionField(OptionField field) {
    return field == OptionField::RegionX || field == OptionField::RegionY ||
           field == OptionField::RegionWidth || field == OptionField::RegionHeight;
}

std::int32_t OptionValue(const Settings& settings, OptionField field, int region) {
    return FieldOf(settings, field, region);
}

NumberEntryRequest MakeOptionEntryRequest(const Settings& settings, OptionField field, int region) {
    const OptionItem& item = OptionItemFor(field);
    return NumberEntryRequest{std::wstring(item.min),
                              std::wstring(item.max),
                              std::to_wstring(OptionValue(settings, field, region)),
                              std::wstring(item.increment),
                              std::wstring(item.prompt),
                              std::wstring(kOptionEntryTitle)};
}

bool ApplyOptionEntry(Settings& settings, OptionField field, int region, double entered,
                      const OptionChangeHooks& hooks) {
    if (entered == InputCancelled) {
        return false;
    }
    const std::optional<std::int32_t> value = RoundHalfToEven(entered);
    if (!value) {
        return false;
    }
    FieldOf(settings, field, region) = *value;
    if (IsRegionField(field) && hooks.updateCaptureBufferSize) {
        hooks.updateCaptureBufferSize();
    } else if (field == OptionField::CaptureInterval && hooks.captureIntervalChanged) {
        hooks.captureIntervalChanged();
    }
    return true;
}

} // namespace qv
