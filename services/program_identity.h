// The program's version and the title of the game window it watches, each written once.
#pragma once

#include "quorvane_version.h"

// A macro as well as a constant, so fixed texts can join it at compile time.
#define QV_GAME_TITLE L"MapleStory"

namespace qv {

inline constexpr wchar_t kProgramVersion[] = L"Ver." QV_VERSION_WTEXT;
inline constexpr wchar_t kGameTitle[] = QV_GAME_TITLE;

} // namespace qv
