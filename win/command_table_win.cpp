#include "win/command_table_win.h"

namespace qv {

void CommandTable::OnCommand(int id, WORD notification, std::function<void()> handler) {
    commands_.push_back(Command{id, notification, std::move(handler)});
}

bool CommandTable::RunCommand(WPARAM wp) const {
    for (const Command& command : commands_) {
        if (command.id == LOWORD(wp) && command.notification == HIWORD(wp)) {
            command.handler();
            return true;
        }
    }
    return false;
}

} // namespace qv
