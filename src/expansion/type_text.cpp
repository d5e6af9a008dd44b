#include "expansion/type_text.h"

namespace qs {

namespace {

// A full queue drains as the target works through it, so wait a little and
// post again, pumping our own messages meanwhile so the tray stays alive.
PostResult PostWaitingForRoom(InputPort& input, WindowHandle focus, unsigned char byte) {
  PostResult result = input.PostChar(focus, byte);
  for (int waited = 0; result == PostResult::QueueFull && waited < kQueueFullGiveUpMs;
       waited += kQueueFullRetryMs) {
    input.ProcessMessages();
    input.Sleep(kQueueFullRetryMs);
    result = input.PostChar(focus, byte);
  }
  return result;
}

}  // namespace

RunOutcome TypeText(InputPort& input, WindowHandle focus, std::string_view text) {
  for (const char c : text) {
    const PostResult result = PostWaitingForRoom(input, focus, static_cast<unsigned char>(c));
    // A window of higher integrity refuses every character (UIPI), and a
    // queue that stays full will not take the rest: stop rather than type a
    // mangled text. A plain failure (the window is gone) is passed over.
    if (result == PostResult::AccessDenied || result == PostResult::QueueFull) {
      return RunOutcome::TargetRefused;
    }
    input.ProcessMessages();
  }
  return RunOutcome::Completed;
}

}  // namespace qs
