// What the test driver and the menu hook DLL exchange. Menus are private to their process
// under Wine, so the driver installs the hook on the target's GUI thread and sends it a
// registered message; the hook reads or chooses menu items inside the target and writes
// its answer into a named shared-memory block that the driver created.
#pragma once

#include <windows.h>

#include <string>

namespace qv::menuhook {

// Registered message sent to the target's top-level window: wParam is the driver's process
// id (it names the shared block), lParam the request serial.
inline constexpr wchar_t kRequestMessageName[] = L"QvMenuHook.Request";
// Shared block name prefix; the driver's process id follows in decimal.
inline constexpr wchar_t kSharedBlockPrefix[] = L"QvMenuHook.Block.";
// Exported hook procedure, installed as WH_CALLWNDPROC.
inline constexpr char kHookProcName[] = "QvMenuHookCallWndProc";

inline constexpr int kMaxDepth = 4;
inline constexpr int kMaxItems = 48;
inline constexpr int kCaptionChars = 80;

enum class Operation : LONG {
    List = 1,   // items of the menu reached by the path (the menu bar for an empty path)
    Choose = 2, // post WM_COMMAND for the command item at the path when it is enabled
};

enum class Status : LONG {
    Pending = 0,
    Done = 1,       // List answered / Choose posted its command
    NoMenu = 2,     // the window has no menu bar
    NotFound = 3,   // some caption on the path does not exist
    NotCommand = 4, // Choose: the path ends at a drop-down, not at a command
    Disabled = 5,   // Choose: the item is disabled or greyed
    BadRequest = 6,
};

struct ItemInfo {
    wchar_t caption[kCaptionChars]; // text with '&' markers removed
    UINT id;                        // command id, 0 for drop-downs and separators
    LONG enabled;
    LONG checked;
    LONG hasSubmenu;
    LONG separator;
};

struct SharedBlock {
    // Request, written by the driver.
    LONG serial;
    Operation operation;
    LONG depth;
    wchar_t path[kMaxDepth][kCaptionChars];
    // Answer, written by the hook.
    LONG answeredSerial;
    Status status;
    LONG failedLevel; // NotFound: index into path of the missing caption
    LONG itemCount;   // List: the items; NotFound: the items of the level that lacked it
    ItemInfo items[kMaxItems];
};

// The shared block of one driver process, mapped into this process: the driver creates it
// once, the hook opens it for the length of a request. get() is nullptr when it failed.
class SharedBlockView {
  public:
    enum class Access { Create, Open };

    SharedBlockView(DWORD driverPid, Access access) {
        const std::wstring name = kSharedBlockPrefix + std::to_wstring(driverPid);
        mapping_ = access == Access::Create
                       ? CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            sizeof(SharedBlock), name.c_str())
                       : OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
        if (mapping_) {
            block_ = static_cast<SharedBlock*>(
                MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedBlock)));
        }
    }
    ~SharedBlockView() {
        if (block_) {
            UnmapViewOfFile(block_);
        }
        if (mapping_) {
            CloseHandle(mapping_);
        }
    }
    SharedBlockView(const SharedBlockView&) = delete;
    SharedBlockView& operator=(const SharedBlockView&) = delete;
    SharedBlock* get() const { return block_; }

  private:
    HANDLE mapping_ = nullptr;
    SharedBlock* block_ = nullptr;
};

} // namespace qv::menuhook
