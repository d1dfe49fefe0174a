// WM_COMMAND decoded one way for every window of the program, dialog or not: each (control id,
// notification) pair a window binds runs its handler; every other command is ignored. A menu
// item's command, BN_CLICKED and STN_CLICKED all come with notification 0, so `OnClick` serves
// menu items, buttons and notifying labels alike.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace qv {

class CommandTable {
  public:
    void OnCommand(int id, WORD notification, std::function<void()> handler);
    void OnClick(int id, std::function<void()> handler) {
        OnCommand(id, BN_CLICKED, std::move(handler));
    }

    // Runs the handler bound to the command in WM_COMMAND's wParam; false when none is.
    bool RunCommand(WPARAM wp) const;

  private:
    struct Command {
        int id;
        WORD notification;
        std::function<void()> handler;
    };
    std::vector<Command> commands_;
};

} // namespace qv
