// One typing run: the pending text typed into the captured focus window,
// with its tags carried out.
#pragma once

#include <string_view>

#include "expansion/run_outcome.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/input.h"

namespace qs {

// What the hotkey captured: the foreground window, its GUI thread and the
// control that had the keyboard focus there.
struct TypingTarget {
  WindowHandle window = 0;
  ThreadId thread = 0;
  WindowHandle focus = 0;
};

// Types the text (the caller has already brought the target to the front).
// Stops at the first step that does not complete and says why.
RunOutcome RunExpansion(std::string_view pendingText, const TypingTarget& target, InputPort& input,
                        ClipboardPort& clipboard, ClockPort& clock);

}  // namespace qs
