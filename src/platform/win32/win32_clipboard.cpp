#include "platform/win32/win32_clipboard.h"

#include <windows.h>

#include "platform/win32/clipboard_blocks.h"
#include "platform/win32/handle_types.h"
#include "platform/win32/text_convert.h"

namespace qs::win32 {
namespace {

// Another program often holds the clipboard for a moment right after a
// copy; a few short tries within about 50 ms ride that out.
unique_open_clipboard OpenWithRetries() {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (::OpenClipboard(nullptr)) return unique_open_clipboard(true);
    ::Sleep(5);
  }
  return {};
}

}  // namespace

std::uint32_t Win32Clipboard::SequenceNumber() { return ::GetClipboardSequenceNumber(); }

ClipboardText Win32Clipboard::ReadText() {
  ClipboardText result;
  // The system offers CF_UNICODETEXT for CF_TEXT and CF_OEMTEXT too.
  if (!::IsClipboardFormatAvailable(CF_UNICODETEXT)) return result;  // NoText
  const unique_open_clipboard clipboard = OpenWithRetries();
  if (!clipboard) {
    result.status = ClipboardText::Status::Unavailable;
    return result;
  }
  if (const auto text = ReadTextBlock(::GetClipboardData(CF_UNICODETEXT))) {
    result.status = ClipboardText::Status::Ok;
    result.text = WideToCp1251(*text);
  }
  return result;
}

// The markers password managers and Windows' own history honour. The first
// two need no data; the history flag counts only with the value 0.
bool Win32Clipboard::IsPrivate() {
  static const UINT exclude = ::RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
  static const UINT viewerIgnore = ::RegisterClipboardFormatW(L"Clipboard Viewer Ignore");
  static const UINT history = ::RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
  if ((exclude && ::IsClipboardFormatAvailable(exclude)) ||
      (viewerIgnore && ::IsClipboardFormatAvailable(viewerIgnore))) {
    return true;
  }
  if (!history || !::IsClipboardFormatAvailable(history)) return false;
  const unique_open_clipboard clipboard = OpenWithRetries();
  // Marked but unreadable: rather keep a secret out of the history.
  if (!clipboard) return true;
  const auto value = ReadDwordBlock(::GetClipboardData(history));
  return !value || *value == 0;
}

}  // namespace qs::win32
