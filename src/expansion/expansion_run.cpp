#include "expansion/expansion_run.h"

#include "expansion/computed_tags.h"
#include "expansion/keystrokes.h"
#include "expansion/tag_scanner.h"
#include "expansion/tag_table.h"
#include "expansion/type_text.h"

namespace qs {

namespace {

class Run {
 public:
  Run(const TypingTarget& target, InputPort& input, ClipboardPort& clipboard, ClockPort& clock)
      : thread_(target.thread), focus_(target.focus), input_(input), clipboard_(clipboard),
        clock_(clock) {}

  RunOutcome Step(const Segment& segment) {
    if (segment.kind == Segment::Kind::Literal) return TypeText(input_, focus_, segment.text);
    const std::optional<TagRow> tag = FindTag(segment.text);
    return tag ? CarryOut(*tag) : TypeUnrecognised(segment.text);
  }

 private:
  RunOutcome CarryOut(const TagRow& tag) {
    switch (tag.action) {
      case TagAction::Key:
        PressKey(input_, tag.vk);
        FollowFocus();
        return RunOutcome::Completed;
      case TagAction::CtrlEnter:
        PressCtrlEnter(input_);
        FollowFocus();
        return RunOutcome::Completed;
      case TagAction::DateTime:
        return TypeDateTime(input_, focus_, clock_, tag.name);
      case TagAction::ClipboardNumber:
        return TypeClipboardNumber(input_, focus_, clipboard_);
      case TagAction::ClipboardNumberInWords:
        return TypeClipboardNumberInWords(input_, focus_, clipboard_);
    }
    return RunOutcome::Completed;
  }

  // Injected keys go wherever the system's focus is, and Tab or Enter may
  // move it to another control; the characters after a key tag follow it.
  // A failed query, or a thread without a focus window, keeps the last one.
  void FollowFocus() {
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

  const ThreadId thread_;
  WindowHandle focus_;
  InputPort& input_;
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
