// How a typing run, or one step of it, ended.
#pragma once

namespace qs {

enum class RunOutcome {
  Completed,
  TargetRefused,         // the window refused our characters (access denied, or its queue stayed full)
  ClipboardUnavailable,  // a clipboard tag could not open the clipboard; the rest was not typed
};

}  // namespace qs
