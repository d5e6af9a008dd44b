// traytip: prints the tooltip texts of the icons in Wine's stand-alone tray
// window, so that a test can read a program's tray hint.
//
//   traytip.exe
//
// Prints one JSON string per line, UTF-8, one per tooltip tool; nothing when
// there is none yet. Wine's tray creates an icon's tooltip only when the
// pointer first rests on the icon, so a test hovers the icon once first.
//
// The tooltip lives in explorer.exe: its TTM_GETTEXTW needs the TOOLINFO
// and the text buffer in that process's memory, so both are placed there
// and read back.

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "json_text.h"
#include <vector>

namespace {

constexpr SIZE_T kTextChars = 1024;

bool IsClass(HWND window, const wchar_t* name) {
  wchar_t found[64] = {};
  return window && GetClassNameW(window, found, 64) && lstrcmpW(found, name) == 0;
}

// The texts of every tool of one tooltip window of another process.
std::vector<std::wstring> ToolTexts(HWND tooltip) {
  std::vector<std::wstring> texts;
  DWORD pid = 0;
  GetWindowThreadProcessId(tooltip, &pid);
  HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return texts;
  const SIZE_T size = sizeof(TTTOOLINFOW) + kTextChars * sizeof(wchar_t);
  auto* remote = static_cast<BYTE*>(
      VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (remote) {
    auto* remoteText = reinterpret_cast<LPWSTR>(remote + sizeof(TTTOOLINFOW));
    const auto count = SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      TTTOOLINFOW info{};
      info.cbSize = sizeof info;
      info.lpszText = remoteText;  // TTM_ENUMTOOLSW copies the text there too
      WriteProcessMemory(process, remote, &info, sizeof info, nullptr);
      if (!SendMessageW(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(remote))) {
        continue;
      }
      ReadProcessMemory(process, remote, &info, sizeof info, nullptr);
      info.lpszText = remoteText;
      WriteProcessMemory(process, remote, &info, sizeof info, nullptr);
      const wchar_t empty = 0;
      WriteProcessMemory(process, remoteText, &empty, sizeof empty, nullptr);
      SendMessageW(tooltip, TTM_GETTEXTW, kTextChars, reinterpret_cast<LPARAM>(remote));
      std::wstring text(kTextChars, L'\0');
      ReadProcessMemory(process, remoteText, text.data(), (kTextChars - 1) * sizeof(wchar_t),
                        nullptr);
      text.resize(lstrlenW(text.c_str()));
      texts.push_back(text);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return texts;
}

BOOL CALLBACK EachWindow(HWND window, LPARAM lines) {
  if (IsClass(window, TOOLTIPS_CLASSW) &&
      IsClass(GetWindow(window, GW_OWNER), L"__winex11_standalone_tray")) {
    for (const std::wstring& text : ToolTexts(window)) {
      reinterpret_cast<std::string*>(lines)->append(JsonString(text) + "\n");
    }
  }
  return TRUE;
}

}  // namespace

int main() {
  std::string lines;
  EnumWindows(EachWindow, reinterpret_cast<LPARAM>(&lines));
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), lines.data(), static_cast<DWORD>(lines.size()),
            &written, nullptr);
  return 0;
}
