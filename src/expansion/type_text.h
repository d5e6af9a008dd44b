// Characters posted one by one to the focus window.
#pragma once

#include <string_view>

#include "expansion/run_outcome.h"
#include "platform/input.h"

namespace qs {

// How long a full message queue is waited for, in steps, before the run
// gives up on the window.
inline constexpr int kQueueFullRetryMs = 10;
inline constexpr int kQueueFullGiveUpMs = 2000;

// Posts one WM_CHAR per Windows-1251 byte to `focus`, handling the program's
// own messages after each. Completed, or TargetRefused at the first
// character the window refused (access denied, or a queue that stayed full).
RunOutcome TypeText(InputPort& input, WindowHandle focus, std::string_view text);

}  // namespace qs
