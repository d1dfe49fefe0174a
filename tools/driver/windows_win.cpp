// Finding and working windows of other processes: titles, control texts, message boxes and
// the close box. Everything here works across processes (texts travel as WM_GETTEXT).
#include "tools/driver/driver.h"

#include <thread>

namespace qv::e2e {

namespace {

constexpr Millis kPollStep{50};
constexpr UINT kTextTimeoutMs = 2000;
constexpr wchar_t kDialogClass[] = L"#32770";

WindowInfo Describe(HWND hwnd) {
    WindowInfo info;
    info.hwnd = hwnd;
    info.className = ClassName(hwnd);
    info.text = WindowText(hwnd);
    info.id = GetDlgCtrlID(hwnd);
    info.visible = IsWindowVisible(hwnd) != FALSE;
    GetWindowThreadProcessId(hwnd, &info.pid);
    return info;
}

std::string DescribeTopLevel(DWORD pid) {
    std::string out;
    for (const auto& w : TopLevelWindows(pid)) {
        if (!w.visible && w.text.empty()) {
            continue;
        }
        out += "  [pid " + std::to_string(w.pid) + " " + Utf8(w.className) + " \"" + Utf8(w.text) +
               "\"" + (w.visible ? "" : " hidden") + "]\n";
    }
    return out.empty() ? std::string("  (none)\n") : out;
}

template <typename Pred> HWND PollTopLevel(Pred pred, Millis timeout, DWORD pid) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        for (const auto& w : TopLevelWindows(pid)) {
            if (pred(w)) {
                return w.hwnd;
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return nullptr;
        }
        std::this_thread::sleep_for(kPollStep);
    }
}

} // namespace

std::wstring WindowText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs,
                             &length)) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kTextTimeoutMs, &copied)) {
        return {};
    }
    text.resize(std::min<size_t>(copied, length));
    return text;
}

std::wstring ClassName(HWND hwnd) {
    wchar_t name[256] = {};
    int n = GetClassNameW(hwnd, name, static_cast<int>(std::size(name)));
    return std::wstring(name, static_cast<size_t>(n > 0 ? n : 0));
}

std::vector<WindowInfo> TopLevelWindows(DWORD pid) {
    struct Context {
        DWORD pid;
        std::vector<HWND> found;
    } context{pid, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Context*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (c->pid == 0 || owner == c->pid) {
                c->found.push_back(hwnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&context));
    std::vector<WindowInfo> out;
    for (HWND hwnd : context.found) {
        out.push_back(Describe(hwnd));
    }
    return out;
}

std::vector<WindowInfo> ChildWindows(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM lp) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    std::vector<WindowInfo> out;
    for (HWND hwnd : found) {
        out.push_back(Describe(hwnd));
    }
    return out;
}

std::vector<std::wstring> ChildTexts(HWND parent) {
    std::vector<std::wstring> out;
    for (const auto& w : ChildWindows(parent)) {
        out.push_back(w.text);
    }
    return out;
}

HWND FindChildById(HWND parent, int id) {
    for (const auto& w : ChildWindows(parent)) {
        if (w.id == id) {
            return w.hwnd;
        }
    }
    return nullptr;
}

HWND FindChildByText(HWND parent, std::wstring_view text) {
    for (const auto& w : ChildWindows(parent)) {
        if (w.text == text) {
            return w.hwnd;
        }
    }
    return nullptr;
}

HWND FindTopWindow(std::wstring_view title, Millis timeout, DWORD pid) {
    HWND found =
        PollTopLevel([title](const WindowInfo& w) { return w.text == title; }, timeout, pid);
    if (!found) {
        std::fprintf(stderr, "FindTopWindow: no window titled \"%s\" after %lld ms; windows:\n%s",
                     Utf8(title).c_str(), static_cast<long long>(timeout.count()),
                     DescribeTopLevel(pid).c_str());
    }
    return found;
}

bool NoTopWindowFor(std::wstring_view title, Millis period, DWORD pid) {
    HWND found =
        PollTopLevel([title](const WindowInfo& w) { return w.text == title; }, period, pid);
    if (found) {
        std::fprintf(stderr, "NoTopWindowFor: unexpected window \"%s\" (%s)\n", Utf8(title).c_str(),
                     Utf8(ClassName(found)).c_str());
    }
    return found == nullptr;
}

bool WaitWindowGone(HWND hwnd, Millis timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (IsWindow(hwnd)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            std::fprintf(stderr, "WaitWindowGone: \"%s\" still exists after %lld ms\n",
                         Utf8(WindowText(hwnd)).c_str(), static_cast<long long>(timeout.count()));
            return false;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    return true;
}

bool RequestClose(HWND hwnd) {
    return PostMessageW(hwnd, WM_CLOSE, 0, 0) != FALSE;
}

bool BringToFront(HWND hwnd) {
    if (IsIconic(hwnd)) {
        ShowWindow(hwnd, SW_RESTORE);
    }
    return SetForegroundWindow(hwnd) != FALSE;
}

std::optional<MessageBoxInfo> WaitForMessageBox(std::wstring_view title, Millis timeout,
                                                DWORD pid) {
    HWND box = PollTopLevel(
        [title](const WindowInfo& w) {
            return w.visible && w.className == kDialogClass && w.text == title;
        },
        timeout, pid);
    if (!box) {
        std::fprintf(stderr,
                     "WaitForMessageBox: no message box titled \"%s\" after %lld ms; windows:\n%s",
                     Utf8(title).c_str(), static_cast<long long>(timeout.count()),
                     DescribeTopLevel(pid).c_str());
        return std::nullopt;
    }
    MessageBoxInfo info{box, std::wstring(title), {}};
    for (const auto& child : ChildWindows(box)) {
        // The message is the Static control with text (the icon, if any, has none).
        if (_wcsicmp(child.className.c_str(), L"Static") == 0 && !child.text.empty()) {
            info.text = child.text;
            break;
        }
    }
    return info;
}

bool PressButton(HWND dialog, int buttonId, Millis timeout) {
    HWND button = GetDlgItem(dialog, buttonId);
    if (!PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                      reinterpret_cast<LPARAM>(button))) {
        std::fprintf(stderr, "PressButton: cannot post to the dialog (error %lu)\n",
                     GetLastError());
        return false;
    }
    return WaitWindowGone(dialog, timeout);
}

bool SetDemoFigure(HWND game, std::uint64_t figure) {
    HWND edit = FindChildById(game, kDemoFigureEditId);
    if (!edit) {
        std::fprintf(stderr, "SetDemoFigure: the window has no figure control\n");
        return false;
    }
    std::wstring text = std::to_wstring(figure);
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, kTextTimeoutMs, &result) != 0;
}

std::optional<std::uint64_t> DemoFigure(HWND game) {
    HWND edit = FindChildById(game, kDemoFigureEditId);
    if (!edit) {
        return std::nullopt;
    }
    std::wstring text = WindowText(edit);
    if (text.empty() || text.find_first_not_of(L"0123456789") != std::wstring::npos) {
        return std::nullopt;
    }
    return std::stoull(text);
}

} // namespace qv::e2e
