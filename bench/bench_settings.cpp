// Settings.xml at scale: 20,000 entries (menu texts of 30 bytes, inserted
// texts of 200 to 2,000 bytes, a few of 64 KiB) and 50 groups. Prints, each
// measured side by side with its baseline in the same run:
// - load (ReadSettingsFile into a model) against a bare pugixml parse of the
//   same bytes;
// - save (WriteSettingsXml and writing the file) against writing the same
//   bytes, once to the page cache and once flushed to the disk;
// - the peak memory of a load as a multiple of the file size.
// Times are the best of several rounds. They are the thread's processor time
// (user and system), which other programs on a busy machine disturb far less
// than the clock on the wall; the flushed save is timed on the wall clock,
// since its cost is the wait for the disk.
#include <fcntl.h>
#include <time.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <pugixml.hpp>
#include <random>
#include <string>
#include <vector>

#include "fakes/fake_platform.h"
#include "settings/settings_file.h"

// The replaced operators below pair malloc with free themselves; GCC cannot
// tell through inlining and warns at every delete.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {

// Heap accounting for the whole program: operator new and pugixml's own
// allocation functions both land here.
std::atomic<long long> g_heapNow{0};
std::atomic<long long> g_heapPeak{0};

void* CountedAlloc(std::size_t n) {
  void* p = std::malloc(n == 0 ? 1 : n);
  if (!p) return nullptr;
  const long long now = g_heapNow += static_cast<long long>(malloc_usable_size(p));
  long long peak = g_heapPeak.load();
  while (now > peak && !g_heapPeak.compare_exchange_weak(peak, now)) {
  }
  return p;
}

void CountedFree(void* p) {
  if (!p) return;
  g_heapNow -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}

}  // namespace

void* operator new(std::size_t n) {
  if (void* p = CountedAlloc(n)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return CountedAlloc(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return CountedAlloc(n); }
void operator delete(void* p) noexcept { CountedFree(p); }
void operator delete[](void* p) noexcept { CountedFree(p); }
void operator delete(void* p, std::size_t) noexcept { CountedFree(p); }
void operator delete[](void* p, std::size_t) noexcept { CountedFree(p); }

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Milliseconds of processor time, or of wall time for waits on the disk.
template <typename F>
double Timed(bool wall, F&& work) {
  const auto w0 = Clock::now();
  const double c0 = CpuMs();
  work();
  return wall ? Ms(Clock::now() - w0) : CpuMs() - c0;
}

std::string RandomText(std::mt19937& gen, std::size_t n) {
  // Windows-1251 Cyrillic and Latin letters, spaces, line breaks and tags.
  static const std::string kPieces[] = {"\xCF\xF0\xE8\xE2\xE5\xF2", "hello", " ", "\r\n", "[TAB]",
                                        "\xEC\xE8\xF0", "12345", "[DATE]", "\xC0\xE1\xE2"};
  std::string s;
  s.reserve(n + 8);
  while (s.size() < n) s += kPieces[gen() % std::size(kPieces)];
  s.resize(n);
  s.front() = 'A';  // no trimming at the ends, so that every byte counts
  s.back() = 'z';
  return s;
}

qs::EntryModel MakeModel() {
  std::mt19937 gen(2024);
  qs::EntryModel m;
  std::vector<std::string> groups;
  for (int g = 0; g < 50; ++g) groups.push_back("Group " + std::to_string(g) + RandomText(gen, 12));
  for (const auto& g : groups) m.AppendGroup(g);
  std::uniform_int_distribution<std::size_t> longLength(200, 2000);
  for (int i = 0; i < 20000; ++i) {
    const std::size_t n = (i % 4000 == 1999) ? 65536 : longLength(gen);
    m.AppendEntry(RandomText(gen, 30), RandomText(gen, n), groups[gen() % groups.size()]);
  }
  m.options() = {49227, true, false};
  return m;
}

// As a file port writes: a temporary file beside, optionally flushed to the
// disk, then renamed over the target.
void WriteFileReplacing(const std::string& path, const std::string& bytes, bool flush) {
  const std::string temp = path + ".tmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) std::abort();
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) std::abort();
    done += static_cast<std::size_t>(n);
  }
  if (flush) ::fsync(fd);
  ::close(fd);
  if (std::rename(temp.c_str(), path.c_str()) != 0) std::abort();
}

struct Pair {
  std::vector<double> ours;
  std::vector<double> base;
  double Ratio() const {
    return *std::min_element(ours.begin(), ours.end()) / *std::min_element(base.begin(), base.end());
  }
  void Print(const char* what, const char* baseName) const {
    std::printf("%-28s %8.2f ms   %-36s %8.2f ms   ratio %.2f\n", what,
                *std::min_element(ours.begin(), ours.end()), baseName,
                *std::min_element(base.begin(), base.end()), Ratio());
  }
};

}  // namespace

int main() {
  pugi::set_memory_management_functions(CountedAlloc, CountedFree);
  constexpr int kRounds = 11;

  const qs::EntryModel model = MakeModel();
  const std::string document = qs::WriteSettingsXml(model);
  const double fileMb = static_cast<double>(document.size()) / (1024.0 * 1024.0);
  std::printf("Settings.xml: %zu entries, %zu groups, %zu bytes (%.1f MiB)\n\n", model.RowCount(),
              model.GroupCount() - 1, document.size(), fileMb);

  qs::test::EventLog log;
  qs::test::FakeFiles files(log);
  files.files[qs::SettingsPath(files)] = document;
  qs::PugiXmlReader reader;

  // Load against a bare parse, alternating so that both see the same machine.
  Pair load;
  for (int r = 0; r < kRounds; ++r) {
    load.base.push_back(Timed(false, [&] {
      pugi::xml_document doc;
      if (!doc.load_buffer(document.data(), document.size())) std::abort();
    }));
    load.ours.push_back(Timed(false, [&] {
      qs::EntryModel loaded;
      if (qs::ReadSettingsFile(files, reader, loaded).status != qs::LoadStatus::Loaded) std::abort();
      if (loaded.RowCount() != model.RowCount()) std::abort();
    }));
  }

  // Save against writing the same bytes.
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "qs_bench_settings";
  std::filesystem::create_directories(folder);
  const std::string target = (folder / "Settings.xml").string();
  Pair saveCached;
  Pair saveFlushed;
  for (int r = 0; r < kRounds; ++r) {
    for (const bool flush : {false, true}) {
      Pair& pair = flush ? saveFlushed : saveCached;
      pair.base.push_back(Timed(flush, [&] { WriteFileReplacing(target, document, flush); }));
      pair.ours.push_back(
          Timed(flush, [&] { WriteFileReplacing(target, qs::WriteSettingsXml(model), flush); }));
    }
  }
  std::filesystem::remove_all(folder);

  // Peak heap of one load, above what was allocated before it.
  long long peakAbove = 0;
  {
    const long long before = g_heapNow.load();
    g_heapPeak = before;
    qs::EntryModel loaded;
    qs::ReadSettingsFile(files, reader, loaded);
    peakAbove = g_heapPeak.load() - before;
  }

  std::printf("best of %d rounds\n", kRounds);
  load.Print("load (ReadSettingsFile)", "bare pugixml parse (load_buffer)");
  saveCached.Print("save, page cache", "write of the same bytes");
  saveFlushed.Print("save, flushed (fsync)", "write of the same bytes, flushed");
  std::printf("%-28s %8.1f MiB   file %.1f MiB                  ratio %.2f\n", "peak heap of a load",
              static_cast<double>(peakAbove) / (1024.0 * 1024.0), fileMb,
              static_cast<double>(peakAbove) / static_cast<double>(document.size()));
  std::printf("\ngoals: load ratio <= 2, save ratio <= 1.5, peak <= 4x the file\n");
  return 0;
}
