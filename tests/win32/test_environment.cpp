#include "win32/test_environment.h"

#include <gtest/gtest.h>

#include <atomic>

#include "platform/win32/handle_types.h"
#include "platform/win32/text_convert.h"

namespace qs::win32::test {
namespace {

struct FindCloser {
  static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) noexcept { ::FindClose(h); }
};

}  // namespace

ScratchFolder::ScratchFolder() {
  static std::atomic<unsigned> counter{0};
  wchar_t temp[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH + 1, temp);
  path_ = std::wstring(temp) + L"qs-win32-tests-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
          std::to_wstring(counter++);
  if (!::CreateDirectoryW(path_.c_str(), nullptr)) {
    ADD_FAILURE() << "cannot create the scratch folder: " << LastErrorText();
  }
}

ScratchFolder::~ScratchFolder() {
  for (const std::wstring& name : List()) ::DeleteFileW((path_ + L"\\" + name).c_str());
  ::RemoveDirectoryW(path_.c_str());
}

std::string ScratchFolder::utf8() const { return WideToUtf8(path_); }

std::string ScratchFolder::File(const std::wstring& name) const {
  return WideToUtf8(path_ + L"\\" + name);
}

std::vector<std::wstring> ScratchFolder::List() const {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  const unique_handle<HANDLE, FindCloser> search(::FindFirstFileW((path_ + L"\\*").c_str(), &found));
  if (!search) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(search.get(), &found));
  return names;
}

ProbeWindow::ProbeWindow() {
  static const ATOM cls = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuipstreamTestProbe";
    return ::RegisterClassW(&wc);
  }();
  hwnd_ = ::CreateWindowExW(0, MAKEINTATOM(cls), L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ProbeWindow::~ProbeWindow() { ::DestroyWindow(hwnd_); }

LRESULT CALLBACK ProbeWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR) {
    if (auto* self = reinterpret_cast<ProbeWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
      self->chars.push_back(static_cast<wchar_t>(wParam));
      return 0;
    }
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

namespace {

struct PendingAction {
  const std::function<void(HWND)>* act = nullptr;
  bool done = false;
};
PendingAction* g_pending = nullptr;

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM out) {
  wchar_t cls[16] = {};
  ::GetClassNameW(window, cls, 16);
  if (std::wstring_view(cls) == L"#32770" && ::IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(out) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_pending || g_pending->done) return;
  HWND dialog = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindVisibleDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  g_pending->done = true;  // before acting: the action may pump messages
  (*g_pending->act)(dialog);
}

}  // namespace

void WhenDialogShown(const std::function<void(HWND)>& act, const std::function<void()>& show) {
  PendingAction pending{&act, false};
  g_pending = &pending;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, OnTick);
  show();
  ::KillTimer(nullptr, timer);
  g_pending = nullptr;
  EXPECT_TRUE(pending.done) << "the dialog never showed";
}

}  // namespace qs::win32::test
