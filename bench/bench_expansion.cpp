// Figures for the text expansion core, each a ratio to a baseline measured
// in the same run: the tag scanner against a bare memchr pass, the typing
// run against the cost of the port calls it makes, and NumberToWords per call.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "expansion/expansion_run.h"
#include "expansion/number_words.h"
#include "expansion/tag_scanner.h"

namespace {

using Clock = std::chrono::steady_clock;

// Best of several timings, so that a preempted repetition does not count.
template <typename F>
double BestSeconds(int repetitions, F&& body) {
  double best = 1e300;
  for (int i = 0; i < repetitions; ++i) {
    const auto start = Clock::now();
    body();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

std::string TextWithTags(std::size_t size, int tags, std::mt19937_64& rng) {
  const char* const names[] = {"TAB", "ENTER", "x", "DOWN", "\xD7\xD7:\xCC\xCC", ""};
  std::string text;
  text.reserve(size);
  const std::size_t literalPerTag = size / static_cast<std::size_t>(tags);
  std::uniform_int_distribution<int> letter(0x20, 0xFF);
  for (int t = 0; t < tags; ++t) {
    const std::size_t name = rng() % std::size(names);
    const std::size_t literal = literalPerTag - std::strlen(names[name]) - 2;
    for (std::size_t i = 0; i < literal; ++i) {
      int c = letter(rng);
      if (c == '[' || c == ']') c = 'a';
      text += static_cast<char>(c);
    }
    text += '[';
    text += names[name];
    text += ']';
  }
  text.resize(size, 'z');
  return text;
}

void BenchScanner() {
  std::mt19937_64 rng(1);
  const std::string text = TextWithTags(1 << 20, 50'000, rng);

  const double memchrPass = BestSeconds(50, [&] {
    // One memchr over the whole text for a byte it does not hold.
    benchmark::DoNotOptimize(std::memchr(text.data(), 0, text.size()));
  });
  const double memchrBrackets = BestSeconds(50, [&] {
    // Stops at every "[" and "]": the same number of calls the scanner makes.
    std::size_t found = 0;
    for (const char c : {'[', ']'}) {
      const char* p = text.data();
      const char* end = p + text.size();
      while (const void* hit = std::memchr(p, c, static_cast<std::size_t>(end - p))) {
        ++found;
        p = static_cast<const char*>(hit) + 1;
      }
    }
    benchmark::DoNotOptimize(found);
  });
  std::size_t segments = 0;
  const double scan = BestSeconds(50, [&] {
    qs::TagScanner scanner(text);
    std::size_t bytes = 0;
    segments = 0;
    while (const auto segment = scanner.Next()) {
      bytes += segment->text.size();
      ++segments;
    }
    benchmark::DoNotOptimize(bytes);
  });
  std::printf("tag scanner, 1 MiB with 50000 tags (%zu segments): %.3f ms\n", segments,
              scan * 1e3);
  std::printf("  bare memchr pass over the text:       %.3f ms  -> scanner %.2fx\n",
              memchrPass * 1e3, scan / memchrPass);
  std::printf("  memchr stopping at every bracket:     %.3f ms  -> scanner %.2fx\n",
              memchrBrackets * 1e3, scan / memchrBrackets);
}

// Accepts everything and does nothing; what is left is the run's own cost.
class NullInput : public qs::InputPort {
 public:
  qs::WindowHandle ForegroundWindow() override { return 1; }
  qs::ThreadId WindowThread(qs::WindowHandle) override { return 1; }
  std::optional<qs::WindowHandle> FocusWindowOf(qs::ThreadId) override { return 2; }
  bool SetForegroundWindow(qs::WindowHandle) override { return true; }
  qs::ScreenPoint CursorPos() override { return {}; }
  qs::PostResult PostChar(qs::WindowHandle, unsigned char) override { return qs::PostResult::Ok; }
  void KeyEvent(std::uint8_t, std::uint8_t, std::uint32_t) override {}
  std::uint8_t ScanCodeOf(std::uint8_t) override { return 0; }
  void Sleep(int) override {}
  bool RoundTrip(qs::WindowHandle, int) override { return true; }
  void ProcessMessages() override {}
  void ActivateRussianLayout() override {}
};

class NullClipboard : public qs::ClipboardPort {
 public:
  std::uint32_t SequenceNumber() override { return 0; }
  qs::ClipboardText ReadText() override { return {}; }
  bool IsPrivate() override { return false; }
};

class NullClock : public qs::ClockPort {
 public:
  qs::LocalDateTime Now() override { return {}; }
  std::string TimeSeparator() override { return ":"; }
};

// GCC would otherwise guess the port's type here, where the run (compiled
// apart from any port) cannot, and the baseline would measure inlined calls.
#if defined(__GNUC__) && !defined(__clang__)
#define QS_INDIRECT_CALLS __attribute__((noinline, optimize("no-devirtualize-speculatively")))
#else
#define QS_INDIRECT_CALLS __attribute__((noinline))
#endif

// The calls TypeText makes per byte, and nothing else.
QS_INDIRECT_CALLS void PortCallsPerByte(
    qs::InputPort& input, std::string_view text) {
  for (const char c : text) {
    benchmark::DoNotOptimize(input.PostChar(2, static_cast<unsigned char>(c)));
    input.ProcessMessages();
  }
}

void BenchTyping() {
  NullInput null;
  NullClipboard clipboard;
  NullClock clock;
  qs::InputPort* input = &null;
  benchmark::DoNotOptimize(input);  // keep the calls virtual, as the run's are

  std::mt19937_64 rng(2);
  const std::string plain = TextWithTags(1 << 20, 1, rng);
  const std::string tagged = TextWithTags(1 << 20, 50'000, rng);
  const qs::TypingTarget target{1, 1, 2};

  const double portCalls = BestSeconds(20, [&] { PortCallsPerByte(*input, plain); });
  const double runPlain = BestSeconds(20, [&] {
    benchmark::DoNotOptimize(qs::RunExpansion(plain, target, *input, clipboard, clock));
  });
  const double runTagged = BestSeconds(20, [&] {
    benchmark::DoNotOptimize(qs::RunExpansion(tagged, target, *input, clipboard, clock));
  });
  const double perByte = 1e9 / static_cast<double>(plain.size());
  std::printf("typing run through a do-nothing port, 1 MiB:\n");
  std::printf("  port calls alone (post + pump):       %.2f ns/char\n", portCalls * perByte);
  std::printf("  run, no tags:                         %.2f ns/char -> %.2fx\n",
              runPlain * perByte, runPlain / portCalls);
  std::printf("  run, 50000 tags:                      %.2f ns/char -> %.2fx\n",
              runTagged * perByte, runTagged / portCalls);
}

void BenchNumberWords() {
  constexpr int kCount = 1'000'000;
  std::mt19937_64 rng(3);
  std::string digits(static_cast<std::size_t>(kCount) * 15, '0');
  std::uniform_int_distribution<int> digit(0, 9);
  for (char& c : digits) c = static_cast<char>('0' + digit(rng));

  std::size_t bytes = 0;
  const double seconds = BestSeconds(3, [&] {
    bytes = 0;
    for (int i = 0; i < kCount; ++i) {
      bytes += qs::NumberToWords(std::string_view(digits).substr(i * 15u, 15)).size();
    }
    benchmark::DoNotOptimize(bytes);
  });
  std::printf("NumberToWords, %d random 15-digit numbers: %.1f ns/call (%.1f bytes/result)\n",
              kCount, seconds * 1e9 / kCount, static_cast<double>(bytes) / kCount);
}

}  // namespace

int main() {
  BenchScanner();
  BenchTyping();
  BenchNumberWords();
}
