// Menu commands by caption. The menu handles of another process mean nothing here (and
// under Wine the calls fail outright), so the work is done by the hook DLL inside the
// target: the driver installs it on the target's GUI thread for one request, sends the
// request message and reads the answer from a shared block named after this process.
#include "tools/driver/driver.h"
#include "tools/menuhook/menu_hook_protocol.h"

#include <memory>

namespace qv::e2e {

namespace {

using namespace qv::menuhook;

constexpr UINT kAnswerTimeoutMs = 5000;

std::wstring& HookDirectory() {
    static std::wstring folder = ExeDirectory();
    return folder;
}

class ThreadHook {
  public:
    ThreadHook(HOOKPROC proc, HMODULE module, DWORD thread)
        : hook_(SetWindowsHookExW(WH_CALLWNDPROC, proc, module, thread)) {}
    ~ThreadHook() {
        if (hook_) {
            UnhookWindowsHookEx(hook_);
        }
    }
    ThreadHook(const ThreadHook&) = delete;
    ThreadHook& operator=(const ThreadHook&) = delete;
    bool ok() const { return hook_ != nullptr; }

  private:
    HHOOK hook_;
};

struct HookModule {
    HMODULE module = nullptr;
    HOOKPROC proc = nullptr;
};

const HookModule& LoadHookModule() {
    static HookModule loaded = [] {
        HookModule m;
        std::wstring path = JoinPath(HookDirectory(), L"qv_menuhook.dll");
        m.module = LoadLibraryW(path.c_str());
        if (m.module) {
            m.proc = reinterpret_cast<HOOKPROC>(
                reinterpret_cast<void*>(GetProcAddress(m.module, kHookProcName)));
        }
        if (!m.proc) {
            std::fprintf(stderr, "menu hook: cannot load %s (error %lu)\n", Utf8(path).c_str(),
                         GetLastError());
        }
        return m;
    }();
    return loaded;
}

std::string DescribeItems(const SharedBlock& block) {
    std::string out;
    for (LONG i = 0; i < block.itemCount; ++i) {
        const ItemInfo& item = block.items[i];
        if (item.separator) {
            out += " [-]";
            continue;
        }
        out += " [" + Utf8(item.caption) + (item.enabled ? "" : " (disabled)") +
               (item.hasSubmenu ? " >" : "") + "]";
    }
    return out.empty() ? std::string(" (no items)") : out;
}

std::string DescribePath(const MenuPath& path) {
    std::string out;
    for (const auto& caption : path) {
        out += (out.empty() ? "" : " > ") + Utf8(caption);
    }
    return out.empty() ? std::string("(menu bar)") : out;
}

// Runs one request in the target; nullptr when the hook could not be reached.
const SharedBlock* Ask(HWND window, Operation operation, const MenuPath& path) {
    static const SharedBlockView shared(GetCurrentProcessId(), SharedBlockView::Access::Create);
    static LONG serial = 0;
    SharedBlock* block = shared.get();
    const HookModule& hook = LoadHookModule();
    if (!block || !hook.proc || path.size() > static_cast<size_t>(kMaxDepth)) {
        return nullptr;
    }
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    ThreadHook installed(hook.proc, hook.module, thread);
    if (!thread || !installed.ok()) {
        std::fprintf(stderr, "menu hook: cannot hook the window's thread (error %lu)\n",
                     GetLastError());
        return nullptr;
    }
    ZeroMemory(block, sizeof(SharedBlock));
    block->serial = ++serial;
    block->operation = operation;
    block->depth = static_cast<LONG>(path.size());
    for (size_t i = 0; i < path.size(); ++i) {
        wcsncpy(block->path[i], path[i].c_str(), kCaptionChars - 1);
    }
    MemoryBarrier();
    static const UINT request = RegisterWindowMessageW(kRequestMessageName);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, request, GetCurrentProcessId(), block->serial, SMTO_NORMAL,
                        kAnswerTimeoutMs, &ignored);
    MemoryBarrier();
    if (block->answeredSerial != block->serial) {
        std::fprintf(stderr, "menu hook: no answer from the window \"%s\"\n",
                     Utf8(WindowText(window)).c_str());
        return nullptr;
    }
    return block;
}

MenuItemState ToState(const ItemInfo& item) {
    return MenuItemState{item.caption,         item.id,
                         item.enabled != 0,    item.checked != 0,
                         item.hasSubmenu != 0, item.separator != 0};
}

// What each answer of the hook means to ChooseMenu, and what went wrong when it failed.
struct Answer {
    Status status;
    MenuResult result;
    const char* problem; // nullptr for the answers described otherwise
};
constexpr Answer kAnswers[] = {
    {Status::Done, MenuResult::Chosen, nullptr},
    {Status::NoMenu, MenuResult::NoMenu, "the window has no menu"},
    {Status::NotFound, MenuResult::NotFound, nullptr},
    {Status::NotCommand, MenuResult::NotCommand, "the path does not end at a command"},
    {Status::Disabled, MenuResult::Disabled, "the item is disabled"},
};

// Nothing for a status the driver does not know.
const Answer* FindAnswer(Status status) {
    for (const Answer& answer : kAnswers) {
        if (answer.status == status) {
            return &answer;
        }
    }
    return nullptr;
}

void ReportFailure(const char* what, const MenuPath& path, const SharedBlock& block) {
    std::fprintf(stderr, "%s %s: ", what, DescribePath(path).c_str());
    if (block.status == Status::NotFound) {
        std::fprintf(stderr, "no item \"%s\"; that menu has:%s\n",
                     block.failedLevel >= 0 && block.failedLevel < static_cast<LONG>(path.size())
                         ? Utf8(path[static_cast<size_t>(block.failedLevel)]).c_str()
                         : "?",
                     DescribeItems(block).c_str());
        return;
    }
    const Answer* answer = FindAnswer(block.status);
    std::fprintf(stderr, "%s\n", answer && answer->problem ? answer->problem : "bad request");
}

} // namespace

const char* ToString(MenuResult result) {
    // In the order of the enumeration.
    constexpr const char* kNames[] = {"Chosen",     "NoMenu",   "NotFound",
                                      "NotCommand", "Disabled", "HookFailed"};
    const auto index = static_cast<std::size_t>(result);
    return index < std::size(kNames) ? kNames[index] : "?";
}

void SetMenuHookDirectory(std::wstring folder) {
    HookDirectory() = std::move(folder);
}

MenuResult ChooseMenu(HWND window, const MenuPath& path) {
    const SharedBlock* block = Ask(window, Operation::Choose, path);
    if (!block) {
        return MenuResult::HookFailed;
    }
    const Answer* answer = FindAnswer(block->status);
    if (!answer || answer->result != MenuResult::Chosen) {
        ReportFailure("ChooseMenu", path, *block);
    }
    return answer ? answer->result : MenuResult::HookFailed;
}

std::optional<std::vector<MenuItemState>> MenuItems(HWND window, const MenuPath& path) {
    const SharedBlock* block = Ask(window, Operation::List, path);
    if (!block) {
        return std::nullopt;
    }
    if (block->status != Status::Done) {
        ReportFailure("MenuItems", path, *block);
        return std::nullopt;
    }
    std::vector<MenuItemState> items;
    for (LONG i = 0; i < block->itemCount; ++i) {
        items.push_back(ToState(block->items[i]));
    }
    return items;
}

std::optional<MenuItemState> MenuItem(HWND window, const MenuPath& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    MenuPath parent(path.begin(), path.end() - 1);
    auto items = MenuItems(window, parent);
    if (!items) {
        return std::nullopt;
    }
    for (const auto& item : *items) {
        if (!item.separator && item.caption == path.back()) {
            return item;
        }
    }
    std::string have;
    for (const auto& item : *items) {
        have += " [" + Utf8(item.caption) + "]";
    }
    std::fprintf(stderr, "MenuItem %s: not found; that menu has:%s\n", DescribePath(path).c_str(),
                 have.c_str());
    return std::nullopt;
}

} // namespace qv::e2e
