#include "expansion/expansion_run.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "model/cp1251.h"
#include "typing_log.h"

namespace qs {
namespace {

using namespace test;

constexpr TypingTarget kTarget{0x500, 77, kFocus};

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

struct Typing {
  EventLog log;
  FakeInput input{log};
  FakeClipboard clipboard{log};
  FakeClock clock;

  RunOutcome Run(std::string_view text) {
    return RunExpansion(text, kTarget, input, clipboard, clock);
  }
};

const EventLog kCtrlEnter = {
    "Key 0x11 scan 0x1D flags 0", "Key 0x0D scan 0x00 flags 3", "Key 0x0D scan 0x00 flags 1",
    "Key 0x0D scan 0x00 flags 3", "Key 0x11 scan 0x1D flags 2", "Sleep 50",
};

TEST(RunExpansion, TypesLiteralsAndCarriesOutKeyTags) {
  struct Case {
    std::string text;
    EventLog expected;
  };
  const Case cases[] = {
      {W("Привет"), Chars("\xCF\xF0\xE8\xE2\xE5\xF2")},
      {W("Ёё"), Chars("\xA8\xB8")},
      {"", {}},
      {"a\r\nb", Chars("a\x0D\x0A" "b")},
      {"[ENTER]", KeyTag(0x0D)},
      {"[TAB][TAB]", Join({KeyTag(0x09), KeyTag(0x09)})},
      {"[RIGHT][LEFT][UP][DOWN]", Join({KeyTag(0x27), KeyTag(0x25), KeyTag(0x26), KeyTag(0x28)})},
      {"[CTRLENTER]", kCtrlEnter},
      {"ab[CTRLENTER]c", Join({Chars("ab"), kCtrlEnter, Chars("c")})},
      {"a]b[TAB]c", Join({Chars("a]b"), KeyTag(0x09), Chars("c")})},
      {"x[TAB]y]z", Join({Chars("x"), KeyTag(0x09), Chars("y]z")})},
      {"one\r\ntwo[ENTER]", Join({Chars("one\r\ntwo"), KeyTag(0x0D)})},
      // Not tags to us: typed as written, no key pressed.
      {"a[tab]b", Chars("a[tab]b")},
      {"a[ TAB ]b", Chars("a[ TAB ]b")},
      {"a[]b", Chars("a[]b")},
      {"a[b", Chars("a[b")},
      {"a[b[TAB]c", Chars("a[b[TAB]c")},
      {"[[TAB]]", Chars("[[TAB]]")},
      {"[Enter][CTRL ENTER]", Chars("[Enter][CTRL ENTER]")},
      {W("[Ч. из буфера ]"), Chars(W("[Ч. из буфера ]"))},
  };
  for (const Case& c : cases) {
    Typing t;
    EXPECT_EQ(t.Run(c.text), RunOutcome::Completed);
    EXPECT_EQ(t.log, c.expected) << Cp1251ToUtf8(c.text);
  }
}

TEST(RunExpansion, CharactersAfterAKeyFollowTheFocus) {
  Typing t;
  t.input.focusAfterKey[0x09] = 0x502;  // Tab moves to the next field
  EXPECT_EQ(t.Run("a[TAB]b"), RunOutcome::Completed);
  EXPECT_EQ(t.log, Join({Chars("a"), KeyTag(0x09), Chars("b", 0x502)}));
}

TEST(RunExpansion, KeepsTheLastFocusWhenTheQueryFindsNone) {
  for (const std::optional<WindowHandle> after : {std::optional<WindowHandle>{},
                                                   std::optional<WindowHandle>{0}}) {
    Typing t;
    t.input.focusOfThread.clear();
    if (after) t.input.focusOfThread[77] = *after;
    EXPECT_EQ(t.Run("a[ENTER]b"), RunOutcome::Completed);
    EXPECT_EQ(t.log, Join({Chars("a"), KeyTag(0x0D), Chars("b")}));
  }
}

// A target slower than the run still has characters and keys in its queue
// when the run goes on, and takes posted characters before keys. Characters
// after a key must reach it after the key, and in the field the key moved
// the focus to.
TEST(RunExpansion, WaitsForASlowTargetToHandleTheKeysBeforeTypingOn) {
  struct Case {
    std::string text;
    std::string handled;  // in the order the target took them
    std::string typedAfterKeys;
  };
  const Case cases[] = {
      {"login[TAB]password", "login{0x09}password", "password"},
      {"ab[ENTER]c", "ab{0x0D}c", "c"},
      {"ab[TAB][CTRLENTER]c", "ab{0x09}{0x11}{0x0D}c", "c"},
      {W("a[TAB][ДД.ММ.ГГГГ]"), "a{0x09}05.03.2024", "05.03.2024"},
      {"a[TAB][x]", "a{0x09}[x]", "[x]"},
  };
  for (const Case& c : cases) {
    Typing t;
    t.input.slowTarget = true;
    t.input.focusAfterKey[0x09] = 0x502;
    EXPECT_EQ(t.Run(c.text), RunOutcome::Completed);
    t.input.HandleQueued();
    EXPECT_EQ(t.input.handled, c.handled) << c.text;
    const WindowHandle after = c.text.find("[TAB]") != std::string::npos ? 0x502 : kFocus;
    const EventLog tail = Chars(c.typedAfterKeys, after);
    ASSERT_GE(t.log.size(), tail.size());
    EXPECT_EQ(EventLog(t.log.end() - static_cast<std::ptrdiff_t>(tail.size()), t.log.end()), tail)
        << c.text;
  }
}

// Nothing follows the keys: nothing to wait for.
TEST(RunExpansion, DoesNotWaitAfterTheLastKey) {
  Typing t;
  t.input.slowTarget = true;
  EXPECT_EQ(t.Run("abc[TAB][ENTER]"), RunOutcome::Completed);
  EXPECT_EQ(t.input.roundTrips, 0);
}

// A hung or vanished target is asked once and the run goes on.
TEST(RunExpansion, ATargetThatDoesNotAnswerIsNotWaitedFor) {
  Typing t;
  t.input.targetAnswers = false;
  t.input.focusAfterKey[0x09] = 0x502;
  EXPECT_EQ(t.Run("abc[TAB]d"), RunOutcome::Completed);
  EXPECT_EQ(t.input.roundTrips, 1);
  EXPECT_EQ(t.log, Join({Chars("abc"), KeyTag(0x09), Chars("d", 0x502)}));
}

TEST(RunExpansion, EveryKeyTagPausesFiftyMilliseconds) {
  Typing t;
  t.Run("[DOWN][DOWN][DOWN]");
  EXPECT_EQ(t.log, Join({KeyTag(0x28), KeyTag(0x28), KeyTag(0x28)}));
  EXPECT_EQ(t.input.sleptMs, 150);
}

// Ctrl's scan code is asked for each of its two events.
TEST(RunExpansion, CtrlEnterAsksCtrlsScanCodeForEachEvent) {
  struct CountingInput : FakeInput {
    using FakeInput::FakeInput;
    std::uint8_t ScanCodeOf(std::uint8_t vk) override {
      return static_cast<std::uint8_t>(FakeInput::ScanCodeOf(vk) + asked++);
    }
    int asked = 0;
  };
  EventLog log;
  CountingInput input(log);
  FakeClipboard clipboard(log);
  FakeClock clock;
  RunExpansion("[CTRLENTER]", kTarget, input, clipboard, clock);
  EXPECT_EQ(input.asked, 2);
  EXPECT_EQ(log.front(), "Key 0x11 scan 0x1D flags 0");
  EXPECT_EQ(log[4], "Key 0x11 scan 0x1E flags 2");
}

TEST(RunExpansion, HandlesOwnMessagesAfterEveryCharacter) {
  Typing t;
  t.input.logProcessMessages = true;
  t.Run("ab[TAB]");
  EXPECT_EQ(t.log, Join({{"Char 0x501 0x61", "Pump", "Char 0x501 0x62", "Pump"}, KeyTag(0x09)}));
}

TEST(RunExpansion, StopsAtTheFirstCharacterTheWindowRefuses) {
  Typing t;
  t.input.postResults = {PostResult::Ok, PostResult::AccessDenied};
  EXPECT_EQ(t.Run("abc[TAB]d"), RunOutcome::TargetRefused);
  EXPECT_EQ(t.log, (EventLog{"Char 0x501 0x61", "Char 0x501 0x62 access-denied"}));
}

TEST(RunExpansion, RefusedInsideATagsOutputStopsToo) {
  Typing t;
  t.input.postResults = {PostResult::Ok, PostResult::AccessDenied};
  EXPECT_EQ(t.Run("[x]y"), RunOutcome::TargetRefused);
  EXPECT_EQ(t.log, (EventLog{"Char 0x501 0x5B", "Char 0x501 0x78 access-denied"}));
}

TEST(RunExpansion, PassesOverAFailedPost) {
  Typing t;
  t.input.postResults = {PostResult::Failed};
  EXPECT_EQ(t.Run("ab"), RunOutcome::Completed);
  EXPECT_EQ(t.log, (EventLog{"Char 0x501 0x61 failed", "Char 0x501 0x62"}));
}

TEST(RunExpansion, WaitsForRoomInAFullQueue) {
  Typing t;
  t.input.logProcessMessages = true;
  t.input.postResults = {PostResult::QueueFull, PostResult::QueueFull};
  EXPECT_EQ(t.Run("ab"), RunOutcome::Completed);
  EXPECT_EQ(t.log, (EventLog{"Char 0x501 0x61 queue-full", "Pump", "Sleep 10",
                             "Char 0x501 0x61 queue-full", "Pump", "Sleep 10",
                             "Char 0x501 0x61", "Pump", "Char 0x501 0x62", "Pump"}));
}

TEST(RunExpansion, GivesUpOnAQueueThatStaysFull) {
  Typing t;
  t.input.postResults.assign(1000, PostResult::QueueFull);
  EXPECT_EQ(t.Run("ab[TAB]"), RunOutcome::TargetRefused);
  EXPECT_EQ(t.input.sleptMs, 2000);
  EXPECT_EQ(t.log.size(), 201u + 200u);  // the first post, then 200 waits and posts
  EXPECT_EQ(t.log.back(), "Char 0x501 0x61 queue-full");
}

TEST(RunExpansion, TypesTheDateAndTimeTags) {
  Typing t;
  EXPECT_EQ(t.Run(W("[ДД.ММ.ГГГГ] [ЧЧ:ММ]")), RunOutcome::Completed);
  EXPECT_EQ(t.log, Chars("05.03.2024 09:07"));
}

TEST(RunExpansion, ReadsTheClipboardWhenTheTagIsReached) {
  Typing t;
  t.clipboard.SetText("7");
  EXPECT_EQ(t.Run(W("a[Ч. из буфера]b[Ч. из буфера текстом]")), RunOutcome::Completed);
  EXPECT_EQ(t.clipboard.reads, 2);
  EXPECT_EQ(t.log, Chars(W("a7bсемь")));
}

TEST(RunExpansion, AnUnavailableClipboardEndsTheRun) {
  for (const std::string_view text : {"ab[Ч. из буфера]cd[TAB]", "ab[Ч. из буфера текстом]cd"}) {
    Typing t;
    t.clipboard.SetText("5");
    t.clipboard.busy = true;
    EXPECT_EQ(t.Run(W(text)), RunOutcome::ClipboardUnavailable);
    EXPECT_EQ(t.log, Chars("ab"));
  }
}

}  // namespace
}  // namespace qs
