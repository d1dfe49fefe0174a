// The program's version, the title of the game window it watches, the main window's title and
// the error messages' title, each written once.
#pragma once

#include "quorvane_version.h"

// Macros as well as constants, so fixed texts can join them at compile time.
#define QV_GAME_TITLE L"MapleStory"
#define QV_PROGRAM_VERSION L"Ver." QV_VERSION_WTEXT

namespace qv {

inline constexpr wchar_t kProgramVersion[] = QV_PROGRAM_VERSION;
inline constexpr wchar_t kGameTitle[] = QV_GAME_TITLE;
inline constexpr wchar_t kMainWindowTitle[] =
    L"Quorvane  for " QV_GAME_TITLE L"    " QV_PROGRAM_VERSION;
// The title of the program's error messages.
inline constexpr wchar_t kErrorTitle[] = L"エラー";

} // namespace qv
