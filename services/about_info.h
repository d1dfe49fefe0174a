// Who made the program and where to find them: shown by the version dialog.
#pragma once

#include "services/program_identity.h"

#include <string_view>

namespace qv {

inline constexpr std::wstring_view kHomePageAddress = L"https://quorvane.example.org/";
inline constexpr std::wstring_view kHomePageName = L"凪月工房";
inline constexpr std::wstring_view kAuthorName = L"凪月";
inline constexpr std::wstring_view kRightsNotice = L"Copyright (C) 2024 凪月";
// The title line of the version dialog, spaced as it has always been shown.
inline constexpr std::wstring_view kVersionDialogName = L"Tallowick  for  " QV_GAME_TITLE;

} // namespace qv
