// One typing run: the pending text typed into the captured focus window,
// with its tags carried out.
#pragma once

#include <string_view>

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

enum class RunOutcome {
  Completed,
  TargetRefused,         // the window refused our characters (access denied, or its queue stayed full)
  ClipboardUnavailable,  // a clipboard tag could not open the clipboard; the rest was not typed
};

// Types the text (the caller has already brought the target to the front).
RunOutcome RunExpansion(std::string_view pendingText, const TypingTarget& target, InputPort& input,
                        ClipboardPort& clipboard, ClockPort& clock);

}  // namespace qs
