// A window's menu bar as one table: each row is a drop-down on the bar, an item of the last
// drop-down above it, or a command on the bar itself. The bar is built from the rows and their
// clicks are bound in the window's command table, so a new command is one row.
#pragma once

#include "win/command_table_win.h"

#include <windows.h>

#include <functional>
#include <span>

namespace qv {

struct MenuRow {
    enum class Place { DropDown, InDropDown, Bar };
    Place place;
    int id; // the command's id; a drop-down has none
    const wchar_t* caption;
    std::function<void()> click;
};

// The bar of `rows`, in their order, with every row's click bound in `commands`. The caller
// owns the bar until a window takes it.
HMENU BuildMenuBar(std::span<const MenuRow> rows, CommandTable& commands);

// Enables or greys one command of `window`'s menu, wherever it sits.
void EnableMenuCommand(HWND window, int id, bool enabled);

} // namespace qv
