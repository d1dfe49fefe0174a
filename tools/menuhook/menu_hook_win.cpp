// Menu hook DLL: loaded into the target process by the system when the driver's
// WH_CALLWNDPROC hook first runs on the target's GUI thread. It answers the driver's
// registered request message from inside the target, where the menu handles are valid.
#include "tools/menuhook/menu_hook_protocol.h"

namespace {

using namespace qv::menuhook;

// The caption as the user reads it: mnemonic markers removed, accelerator text cut off.
void CopyCaption(const wchar_t* raw, wchar_t (&out)[kCaptionChars]) {
    int n = 0;
    for (const wchar_t* p = raw; *p && *p != L'\t' && n < kCaptionChars - 1; ++p) {
        if (*p == L'&') {
            if (p[1] != L'&') {
                continue;
            }
            ++p;
        }
        out[n++] = *p;
    }
    out[n] = L'\0';
}

bool ReadItem(HMENU menu, int pos, ItemInfo& item, HMENU* submenu) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING | MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = static_cast<UINT>(std::size(text) - 1);
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &info)) {
        return false;
    }
    item = ItemInfo{};
    CopyCaption(text, item.caption);
    item.separator = (info.fType & MFT_SEPARATOR) ? 1 : 0;
    item.enabled = (info.fState & (MFS_DISABLED | MFS_GRAYED)) ? 0 : 1;
    item.checked = (info.fState & MFS_CHECKED) ? 1 : 0;
    item.hasSubmenu = info.hSubMenu ? 1 : 0;
    item.id = info.hSubMenu ? 0 : info.wID;
    if (submenu) {
        *submenu = info.hSubMenu;
    }
    return true;
}

void ListItems(HMENU menu, SharedBlock& block) {
    int count = GetMenuItemCount(menu);
    block.itemCount = 0;
    for (int pos = 0; pos < count && block.itemCount < kMaxItems; ++pos) {
        if (ReadItem(menu, pos, block.items[block.itemCount], nullptr)) {
            ++block.itemCount;
        }
    }
}

int FindItem(HMENU menu, const wchar_t* caption) {
    int count = GetMenuItemCount(menu);
    for (int pos = 0; pos < count; ++pos) {
        ItemInfo item;
        if (ReadItem(menu, pos, item, nullptr) && !item.separator &&
            wcscmp(item.caption, caption) == 0) {
            return pos;
        }
    }
    return -1;
}

// Walks the path as a user opening the menus would: WM_INITMENU for the bar, then
// WM_INITMENUPOPUP for each drop-down, so states set only on opening are current.
Status Serve(HWND hwnd, SharedBlock& block) {
    if (block.depth < 0 || block.depth > kMaxDepth ||
        (block.operation == Operation::Choose && block.depth == 0)) {
        return Status::BadRequest;
    }
    HMENU menu = GetMenu(hwnd);
    if (!menu || !IsMenu(menu)) {
        return Status::NoMenu;
    }
    SendMessageW(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    for (int level = 0; level < block.depth; ++level) {
        block.path[level][kCaptionChars - 1] = L'\0';
        int pos = FindItem(menu, block.path[level]);
        if (pos < 0) {
            block.failedLevel = level;
            ListItems(menu, block);
            return Status::NotFound;
        }
        ItemInfo item;
        HMENU submenu = nullptr;
        ReadItem(menu, pos, item, &submenu);
        bool last = level == block.depth - 1;
        if (last && block.operation == Operation::Choose) {
            if (submenu) {
                return Status::NotCommand;
            }
            if (!item.enabled) {
                return Status::Disabled;
            }
            PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(item.id, 0), 0);
            return Status::Done;
        }
        if (!submenu) {
            block.failedLevel = level + 1;
            block.itemCount = 0;
            return last ? Status::NotCommand : Status::NotFound;
        }
        SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(submenu),
                     MAKELPARAM(pos, FALSE));
        menu = submenu;
    }
    ListItems(menu, block);
    return Status::Done;
}

void HandleRequest(HWND hwnd, DWORD driverPid, LONG serial) {
    const SharedBlockView view(driverPid, SharedBlockView::Access::Open);
    SharedBlock* block = view.get();
    if (!block || block->serial != serial) {
        return;
    }
    block->failedLevel = -1;
    block->itemCount = 0;
    block->status = Serve(hwnd, *block);
    MemoryBarrier();
    block->answeredSerial = serial;
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    QvMenuHookCallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT requestMessage = RegisterWindowMessageW(kRequestMessageName);
    if (code == HC_ACTION) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (message->message == requestMessage) {
            HandleRequest(message->hwnd, static_cast<DWORD>(message->wParam),
                          static_cast<LONG>(message->lParam));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
