// The owners of the system resources the Win32 layer holds.
#pragma once

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace qs::win32 {

// Kernel objects whose "none" is NULL (mutexes, events, threads).
struct KernelHandleCloser {
  static HANDLE invalid() noexcept { return nullptr; }
  static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
using unique_kernel_handle = unique_handle<HANDLE, KernelHandleCloser>;

// CreateFileW says "none" with INVALID_HANDLE_VALUE instead.
struct FileHandleCloser {
  static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
using unique_file = unique_handle<HANDLE, FileHandleCloser>;

struct RegKeyCloser {
  static HKEY invalid() noexcept { return nullptr; }
  static void close(HKEY k) noexcept { ::RegCloseKey(k); }
};
using unique_hkey = unique_handle<HKEY, RegKeyCloser>;

// Holds a GlobalLock; the memory itself stays with its owner.
struct GlobalUnlocker {
  static HGLOBAL invalid() noexcept { return nullptr; }
  static void close(HGLOBAL g) noexcept { ::GlobalUnlock(g); }
};
using unique_global_lock = unique_handle<HGLOBAL, GlobalUnlocker>;

// Memory not yet handed over (to SetClipboardData, say).
struct GlobalFreer {
  static HGLOBAL invalid() noexcept { return nullptr; }
  static void close(HGLOBAL g) noexcept { ::GlobalFree(g); }
};
using unique_hglobal = unique_handle<HGLOBAL, GlobalFreer>;

// The clipboard is opened for the thread, not for a value: true while open.
struct ClipboardCloser {
  static bool invalid() noexcept { return false; }
  static void close(bool) noexcept { ::CloseClipboard(); }
};
using unique_open_clipboard = unique_handle<bool, ClipboardCloser>;

struct MenuDestroyer {
  static HMENU invalid() noexcept { return nullptr; }
  static void close(HMENU m) noexcept { ::DestroyMenu(m); }
};
using unique_hmenu = unique_handle<HMENU, MenuDestroyer>;

struct IconDestroyer {
  static HICON invalid() noexcept { return nullptr; }
  static void close(HICON i) noexcept { ::DestroyIcon(i); }
};
using unique_hicon = unique_handle<HICON, IconDestroyer>;

template <typename Interface>
struct ComReleaser {
  static Interface* invalid() noexcept { return nullptr; }
  static void close(Interface* p) noexcept { p->Release(); }
};
template <typename Interface>
using com_ptr = unique_handle<Interface*, ComReleaser<Interface>>;

}  // namespace qs::win32
