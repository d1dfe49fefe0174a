#include "win/menu_bar_win.h"

namespace qv {

HMENU BuildMenuBar(std::span<const MenuRow> rows, CommandTable& commands) {
    HMENU bar = CreateMenu();
    HMENU dropDown = nullptr;
    for (const MenuRow& row : rows) {
        switch (row.place) {
        case MenuRow::Place::DropDown:
            dropDown = CreatePopupMenu();
            AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(dropDown), row.caption);
            break;
        case MenuRow::Place::InDropDown:
            AppendMenuW(dropDown, MF_STRING, static_cast<UINT_PTR>(row.id), row.caption);
            break;
        case MenuRow::Place::Bar:
            AppendMenuW(bar, MF_STRING, static_cast<UINT_PTR>(row.id), row.caption);
            break;
        }
        if (row.click) {
            commands.OnClick(row.id, row.click);
        }
    }
    return bar;
}

void EnableMenuCommand(HWND window, int id, bool enabled) {
    EnableMenuItem(GetMenu(window), static_cast<UINT>(id),
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

} // namespace qv
