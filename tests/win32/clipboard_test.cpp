// The clipboard as the poll and the number tags read it.
#include "platform/win32/win32_clipboard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "model/cp1251.h"
#include "platform/win32/clipboard_blocks.h"
#include "platform/win32/handle_types.h"
#include "win32/test_environment.h"

namespace qs::win32 {
namespace {

using Status = ClipboardText::Status;

// Puts blocks on the clipboard as another program would: owned by a window,
// each block exactly as large as given.
class ClipboardWriter {
 public:
  ClipboardWriter() : open_(::OpenClipboard(owner_.hwnd()) != FALSE) {
    EXPECT_TRUE(open_) << "cannot open the clipboard";
    if (open_) ::EmptyClipboard();
  }
  ~ClipboardWriter() {
    if (open_) ::CloseClipboard();
  }
  void Put(UINT format, const void* bytes, std::size_t size) {
    unique_hglobal block(::GlobalAlloc(GMEM_MOVEABLE, size));
    ASSERT_TRUE(block);
    {
      void* data = ::GlobalLock(block.get());
      const unique_global_lock lock(block.get());
      std::memcpy(data, bytes, size);
    }
    ASSERT_TRUE(::SetClipboardData(format, block.get()));
    block.release();  // the clipboard owns it now
  }
  void PutText(std::wstring_view text) {
    const std::wstring withZero(text);
    Put(CF_UNICODETEXT, withZero.c_str(), (withZero.size() + 1) * sizeof(wchar_t));
  }
  void PutDword(const wchar_t* formatName, DWORD value) {
    Put(::RegisterClipboardFormatW(formatName), &value, sizeof value);
  }

 private:
  test::ProbeWindow owner_;
  bool open_;
};

TEST(Win32Clipboard, ReadsUnicodeTextAsCp1251) {
  struct Case {
    const wchar_t* onClipboard;
    std::string_view expected;
  };
  const Case cases[] = {
      {L"\u0418\u0442\u043E\u0433\u043E: 1 234,56", "Итого: 1 234,56"_cp1251},
      {L"\u00AB\u2116 5\u00BB \u2014 \u20AC", "«№ 5» — €"_cp1251},
      {L"\u4E2D caf\u00E9", "? caf?"},
      {L"  line\r\nbreaks\t", "  line\r\nbreaks\t"},  // trimming is the caller's business
      {L"", ""},
  };
  Win32Clipboard clipboard;
  for (const Case& c : cases) {
    { ClipboardWriter().PutText(c.onClipboard); }
    const ClipboardText text = clipboard.ReadText();
    EXPECT_EQ(text.status, Status::Ok);
    EXPECT_EQ(text.text, std::string(c.expected));
  }
}

// Wine writes a zero into the last unit of a block it is given, so a block
// without one is tried on the reader itself.
TEST(ClipboardBlocks, TextWithoutClosingZeroIsReadWithinItsBlock) {
  const std::wstring text = L"\u0431\u0435\u0437 \u043D\u0443\u043B\u044F";  // "без нуля"
  unique_hglobal block(::GlobalAlloc(GMEM_MOVEABLE, text.size() * sizeof(wchar_t)));
  ASSERT_TRUE(block);
  ASSERT_EQ(::GlobalSize(block.get()), text.size() * sizeof(wchar_t));
  {
    void* data = ::GlobalLock(block.get());
    const unique_global_lock lock(block.get());
    std::memcpy(data, text.data(), text.size() * sizeof(wchar_t));
  }
  EXPECT_EQ(ReadTextBlock(block.get()), text);
}

TEST(ClipboardBlocks, ShortFlagIsNoFlag) {
  unique_hglobal block(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 2));
  ASSERT_TRUE(block);
  EXPECT_EQ(ReadDwordBlock(block.get()), std::nullopt);
  EXPECT_EQ(ReadTextBlock(nullptr), std::nullopt);
}

TEST(Win32Clipboard, ContentsWithoutTextAreNoText) {
  { ClipboardWriter().PutDword(L"QuipstreamTests private data", 42); }
  EXPECT_EQ(Win32Clipboard().ReadText().status, Status::NoText);
  { ClipboardWriter(); }  // emptied
  EXPECT_EQ(Win32Clipboard().ReadText().status, Status::NoText);
}

TEST(Win32Clipboard, HeldOpenByAnotherThreadIsUnavailable) {
  { ClipboardWriter().PutText(L"text"); }
  HANDLE opened = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const unique_kernel_handle openedOwner(opened), releaseOwner(release);
  std::thread holder([&] {
    // With a window, as programs do: Wine lets two threads open the
    // clipboard when neither names one.
    const test::ProbeWindow window;
    const bool ok = ::OpenClipboard(window.hwnd()) != FALSE;
    ::SetEvent(opened);
    if (!ok) return;
    ::WaitForSingleObject(release, 10000);
    ::CloseClipboard();
  });
  ASSERT_EQ(::WaitForSingleObject(opened, 10000), WAIT_OBJECT_0);

  const DWORD start = ::GetTickCount();
  const ClipboardText text = Win32Clipboard().ReadText();
  const DWORD elapsed = ::GetTickCount() - start;
  ::SetEvent(release);
  holder.join();

  EXPECT_EQ(text.status, Status::Unavailable);
  EXPECT_LT(elapsed, 500u) << "the retries must not stall the 100 ms poll for long";
  EXPECT_EQ(Win32Clipboard().ReadText().status, Status::Ok);
}

TEST(Win32Clipboard, SequenceNumberMovesWithEveryChange) {
  Win32Clipboard clipboard;
  const std::uint32_t before = clipboard.SequenceNumber();
  { ClipboardWriter().PutText(L"a"); }
  const std::uint32_t after = clipboard.SequenceNumber();
  EXPECT_NE(after, before);
  EXPECT_EQ(clipboard.SequenceNumber(), after);
}

TEST(Win32Clipboard, PrivacyMarkersAreHonoured) {
  struct Case {
    const char* name;
    const wchar_t* marker;  // none for plain text
    DWORD value;
    bool isPrivate;
  };
  const Case cases[] = {
      {"plain text", nullptr, 0, false},
      {"excluded from monitors", L"ExcludeClipboardContentFromMonitorProcessing", 0, true},
      {"ignored by viewers", L"Clipboard Viewer Ignore", 0, true},
      {"kept out of history", L"CanIncludeInClipboardHistory", 0, true},
      {"allowed into history", L"CanIncludeInClipboardHistory", 1, false},
  };
  Win32Clipboard clipboard;
  for (const Case& c : cases) {
    {
      ClipboardWriter writer;
      writer.PutText(L"secret");
      if (c.marker) writer.PutDword(c.marker, c.value);
    }
    EXPECT_EQ(clipboard.IsPrivate(), c.isPrivate) << c.name;
    EXPECT_EQ(clipboard.ReadText().text, "secret") << c.name;
  }
}

}  // namespace
}  // namespace qs::win32
