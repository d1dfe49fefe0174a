// The six numeric settings of the options dialog as data: the prompt, bounds and step of the
// numeric input for each, and how an entered value is put into Settings.
#pragma once

#include "config/number_entry.h"
#include "config/settings.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

namespace qv {

enum class OptionField {
    RegionX,
    RegionY,
    RegionWidth,
    RegionHeight,
    CaptureInterval,
    StartDelay,
};

struct OptionItem {
    OptionField field;
    std::wstring_view prompt;
    // As texts, the way the input dialog is asked.
    std::wstring_view min;
    std::wstring_view max;
    std::wstring_view increment;
};

inline constexpr std::wstring_view kOptionEntryTitle = L"設定値入力";

// All six rows, in the order of OptionField.
std::span<const OptionItem> OptionItems();
const OptionItem& OptionItemFor(OptionField field);

bool IsRegionField(OptionField field);

// The setting's present value; `region` (0 or 1) selects the capture region of the region
// fields and is ignored by the others.
std::int32_t OptionValue(const Settings& settings, OptionField field, int region);

// The InputCheckBox parameters for one setting, with its present value as the start value.
NumberEntryRequest MakeOptionEntryRequest(const Settings& settings, OptionField field, int region);

// What the rest of the program must do after a setting changed.
struct OptionChangeHooks {
    std::function<void()> updateCaptureBufferSize; // after a capture region changed
    std::function<void()> captureIntervalChanged;  // the capture timer's period follows
};

// Puts the input dialog's result into the setting: nothing for InputCancelled (or a value
// that cannot be made a 32-bit integer); otherwise the value rounded half to even is stored
// and the matching hook runs. Returns whether the setting was stored.
bool ApplyOptionEntry(Settings& settings, OptionField field, int region, double entered,
                      const OptionChangeHooks& hooks);

} // namespace qv
