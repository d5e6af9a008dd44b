#include "expansion/expansion_run.h"

#include "expansion/computed_tags.h"
#include "expansion/keystrokes.h"
#include "expansion/tag_scanner.h"
#include "expansion/tag_table.h"
#include "expansion/type_text.h"

namespace qs {

namespace {

// How long one round trip waits for the target's answer.
constexpr int kRoundTripTimeoutMs = 1000;

// The input port with a count of what the run has left in the target's
// queue since the last catch-up: posted characters, and key events counted
// twice, since the target may turn a key press into a posted character.
class QueueCounter final : public InputPort {
 public:
  explicit QueueCounter(InputPort& inner) : inner_(inner) {}

  WindowHandle ForegroundWindow() override { return inner_.ForegroundWindow(); }
  ThreadId WindowThread(WindowHandle window) override { return inner_.WindowThread(window); }
  std::optional<WindowHandle> FocusWindowOf(ThreadId thread) override {
    return inner_.FocusWindowOf(thread);
  }
  bool SetForegroundWindow(WindowHandle window) override {
    return inner_.SetForegroundWindow(window);
  }
  ScreenPoint CursorPos() override { return inner_.CursorPos(); }
  PostResult PostChar(WindowHandle window, unsigned char cp1251) override {
    const PostResult result = inner_.PostChar(window, cp1251);
    if (result == PostResult::Ok) ++queued;
    return result;
  }
  void KeyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override {
    inner_.KeyEvent(vk, scan, flags);
    queued += 2;
  }
  std::uint8_t ScanCodeOf(std::uint8_t vk) override { return inner_.ScanCodeOf(vk); }
  void Sleep(int milliseconds) override { inner_.Sleep(milliseconds); }
  bool RoundTrip(WindowHandle window, int timeoutMs) override {
    return inner_.RoundTrip(window, timeoutMs);
  }
  void ProcessMessages() override { inner_.ProcessMessages(); }
  void ActivateRussianLayout() override { inner_.ActivateRussianLayout(); }

  long long queued = 0;

 private:
  InputPort& inner_;
};

bool IsKeyTag(const TagRow& tag) {
  return tag.action == TagAction::Key || tag.action == TagAction::CtrlEnter;
}

class Run {
 public:
  Run(const TypingTarget& target, InputPort& input, ClipboardPort& clipboard, ClockPort& clock)
      : window_(target.window), thread_(target.thread), focus_(target.focus), input_(input),
        clipboard_(clipboard), clock_(clock) {}

  RunOutcome Step(const Segment& segment) {
    const std::optional<TagRow> tag =
        segment.kind == Segment::Kind::Tag ? FindTag(segment.text) : std::nullopt;
    if (tag && IsKeyTag(*tag)) {
      if (tag->action == TagAction::Key) {
        PressKey(input_, tag->vk);
      } else {
        PressCtrlEnter(input_);
      }
      keysPending_ = true;
      return RunOutcome::Completed;
    }
    CatchUpWithKeys();  // every other step posts characters
    if (segment.kind == Segment::Kind::Literal) return TypeText(input_, focus_, segment.text);
    return tag ? CarryOut(*tag) : TypeUnrecognised(segment.text);
  }

 private:
  RunOutcome CarryOut(const TagRow& tag) {
    switch (tag.action) {
      case TagAction::DateTime:
        return TypeDateTime(input_, focus_, clock_, tag.name);
      case TagAction::ClipboardNumber:
        return TypeClipboardNumber(input_, focus_, clipboard_);
      case TagAction::ClipboardNumberInWords:
        return TypeClipboardNumberInWords(input_, focus_, clipboard_);
      case TagAction::Key:
      case TagAction::CtrlEnter:
        break;  // pressed by Step
    }
    return RunOutcome::Completed;
  }

  // Characters are posted, keys are injected, and a window takes its posted
  // messages before its input: characters posted now would overtake keys
  // still waiting in the target's queue, behind a backlog of characters that
  // a slow target has not handled yet. And the focus that Tab or Enter may
  // move to another control changes only once the target has handled the
  // key. So before the next character the run lets the target work through
  // everything it was given: each round trip takes it through at most one
  // more message, and the counter knows how many we left there. A round
  // trip that fails (a hung or vanished window) ends the wait. Then the
  // characters follow the focus; a failed query, or a thread without a focus
  // window, keeps the last one.
  void CatchUpWithKeys() {
    if (!keysPending_) return;
    keysPending_ = false;
    const WindowHandle queueOwner = focus_ != 0 ? focus_ : window_;
    for (long long left = input_.queued + 1; left > 0; --left) {
      if (!input_.RoundTrip(queueOwner, kRoundTripTimeoutMs)) break;
      input_.ProcessMessages();
    }
    input_.queued = 0;
    const std::optional<WindowHandle> focus = input_.FocusWindowOf(thread_);
    if (focus && *focus != 0) focus_ = *focus;
  }

  // Not a tag to us: the text goes out as it was written.
  RunOutcome TypeUnrecognised(std::string_view name) {
    for (const std::string_view part : {std::string_view("["), name, std::string_view("]")}) {
      const RunOutcome outcome = TypeText(input_, focus_, part);
      if (outcome != RunOutcome::Completed) return outcome;
    }
    return RunOutcome::Completed;
  }

  const WindowHandle window_;
  const ThreadId thread_;
  WindowHandle focus_;
  QueueCounter input_;
  bool keysPending_ = false;
  ClipboardPort& clipboard_;
  ClockPort& clock_;
};

}  // namespace

RunOutcome RunExpansion(std::string_view pendingText, const TypingTarget& target, InputPort& input,
                        ClipboardPort& clipboard, ClockPort& clock) {
  Run run(target, input, clipboard, clock);
  TagScanner scanner(pendingText);
  while (const std::optional<Segment> segment = scanner.Next()) {
    const RunOutcome outcome = run.Step(*segment);
    if (outcome != RunOutcome::Completed) return outcome;
  }
  return RunOutcome::Completed;
}

}  // namespace qs
