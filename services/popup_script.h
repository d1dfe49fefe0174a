// The answers to a user's attempts to close the message popup: a counter of the attempts and,
// for each count, a message or a short text-art animation, after which the message that was
// showing comes back.
#pragma once

#include "services/waiter.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// One step of the script: texts shown in turn, waits[i] milliseconds after texts[i]
// (no wait after the last text, so waits has one entry fewer than texts).
struct CloseRequestStep {
    std::vector<std::wstring_view> texts;
    std::vector<int> waits;
};

// The step answering the n-th close attempt of the run (n from 1).
CloseRequestStep CloseRequestStepFor(std::int32_t n);

// The texts of the animation sequences A to G ('A' to 'G'); empty for any other letter.
std::span<const std::wstring_view> CloseRequestSequence(char letter);

// What the script needs of the popup and of the program.
class PopupScriptHost {
  public:
    virtual ~PopupScriptHost() = default;
    virtual std::wstring LabelText() const = 0;
    // Replaces the message; the popup re-centres it and may grow.
    virtual void SetLabelText(std::wstring_view text) = 0;
    virtual void RepaintLabel() = 0;
};

// The counter lives as long as the popup window: the whole run.
class CloseRequestScript {
  public:
    // Plays the step for the next attempt, then shows the remembered message again. Nested
    // calls (a further close during a wait) each restore what they found. False when the
    // program began to quit during a wait: the caller unwinds and nothing more is shown.
    [[nodiscard]] bool PlayCloseRequestStep(PopupScriptHost& host, Waiter& waiter);
    std::int32_t Attempts() const { return attempts_; }

  private:
    std::int32_t attempts_ = 0;
};

} // namespace qv
