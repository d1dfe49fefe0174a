// Modal messages to the user (text, title, one OK button, no icon). The Win32 shell shows
// a message box; tests record the calls.
#pragma once

#include <string_view>

namespace qv {

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(std::wstring_view text, std::wstring_view title) = 0;
};

} // namespace qv
