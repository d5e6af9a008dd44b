// What the adapter tests share: where the fixtures are, a scratch folder,
// a window of their own, and a modal-loop helper.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>
#include <string>

namespace qs::win32::test {

// UTF-8 path of tests/fixtures, with no trailing separator.
const std::string& FixturesDir();

// A fresh folder under %TEMP%, removed with its contents at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::wstring& wide() const { return path_; }
  std::string utf8() const;
  // UTF-8 path of a file in the folder.
  std::string File(const std::wstring& name) const;
  // Names of the files the folder holds.
  std::vector<std::wstring> List() const;

 private:
  std::wstring path_;
};

// A hidden top-level window that records the WM_CHAR it receives.
class ProbeWindow {
 public:
  ProbeWindow();
  ~ProbeWindow();
  ProbeWindow(const ProbeWindow&) = delete;
  ProbeWindow& operator=(const ProbeWindow&) = delete;
  HWND hwnd() const { return hwnd_; }
  std::wstring chars;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
};

// Runs `act` from a thread timer once a visible dialog of this thread is up,
// while `show` (which opens the dialog modally) is running.
void WhenDialogShown(const std::function<void(HWND dialog)>& act, const std::function<void()>& show);

}  // namespace qs::win32::test
