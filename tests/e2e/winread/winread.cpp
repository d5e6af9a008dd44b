// winread: reports the windows and controls of other Wine programs as JSON,
// so that a test can see what a window shows without reading pixels: the
// rows of a list view, the texts of edit fields and buttons, which
// controls are enabled, checked or focused, and where they are on the
// screen (to click them).
//
//   winread.exe
//
// Reads one command per line from stdin and answers each with one line of
// JSON (UTF-8) on stdout, so one process serves a whole test:
//   top         the visible top-level windows: hwnd, title, class, pid,
//               enabled, rect, owner; and the foreground window
//   dump HWND   one window (decimal handle) with all its descendants; list
//               views add their rows (texts of every column, selected
//               state, rectangle), combo boxes their items and selection,
//               buttons their check state, hotkey fields their value, edit
//               fields their selection; and the focused control of the
//               window's thread
// Rectangles are [left, top, right, bottom] in screen pixels.
//
// The list view of another process needs its LVITEM, RECT and text buffer in
// that process's memory: they are placed there and read back.

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <iostream>
#include <string>

#include "../probe/json_text.h"
#include <vector>

namespace {

std::string Json(const std::wstring& text) { return JsonString(text); }

std::string Json(const RECT& r) {
  return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + "]";
}

std::string Json(HWND window) {
  return std::to_string(reinterpret_cast<ULONG_PTR>(window));
}

std::string Json(bool value) { return value ? "true" : "false"; }

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// WM_GETTEXT, which the system carries across processes, unlike
// GetWindowText, which gives another process's control's caption only.
std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
    return {};
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(copied);
  return text;
}

// Memory in another process, freed when it goes.
class Remote {
 public:
  Remote(HWND window, SIZE_T size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) {
      memory_ = static_cast<BYTE*>(
          VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
  }
  ~Remote() {
    if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  Remote(const Remote&) = delete;
  Remote& operator=(const Remote&) = delete;

  bool ok() const { return memory_ != nullptr; }
  BYTE* at(SIZE_T offset) const { return memory_ + offset; }
  void Write(SIZE_T offset, const void* data, SIZE_T size) const {
    WriteProcessMemory(process_, memory_ + offset, data, size, nullptr);
  }
  void Read(SIZE_T offset, void* data, SIZE_T size) const {
    ReadProcessMemory(process_, memory_ + offset, data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  BYTE* memory_ = nullptr;
  SIZE_T size_ = 0;
};

constexpr int kTextChars = 4096;

std::string ListViewRows(HWND list) {
  const auto rows = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  const auto columns = header ? SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) : 1;
  const SIZE_T textOffset = sizeof(LVITEMW) > sizeof(RECT) ? sizeof(LVITEMW) : sizeof(RECT);
  Remote remote(list, textOffset + kTextChars * sizeof(wchar_t));
  if (!remote.ok()) return "null";
  std::string out = "[";
  for (LRESULT row = 0; row < rows; ++row) {
    std::string texts = "[";
    for (LRESULT column = 0; column < (columns > 0 ? columns : 1); ++column) {
      LVITEMW item{};
      item.iSubItem = static_cast<int>(column);
      item.pszText = reinterpret_cast<LPWSTR>(remote.at(textOffset));
      item.cchTextMax = kTextChars;
      remote.Write(0, &item, sizeof item);
      const auto length = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                       reinterpret_cast<LPARAM>(remote.at(0)));
      std::wstring text(static_cast<size_t>(length > 0 ? length : 0), L'\0');
      if (length > 0) remote.Read(textOffset, text.data(), text.size() * sizeof(wchar_t));
      texts += (column ? "," : "") + Json(text);
    }
    texts += "]";
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    remote.Write(0, &bounds, sizeof bounds);
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(remote.at(0)));
    remote.Read(0, &bounds, sizeof bounds);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&bounds), 2);
    const auto state = SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                    LVIS_SELECTED | LVIS_FOCUSED);
    out += std::string(row ? "," : "") + "{\"texts\":" + texts +
           ",\"selected\":" + Json((state & LVIS_SELECTED) != 0) +
           ",\"focused\":" + Json((state & LVIS_FOCUSED) != 0) + ",\"rect\":" + Json(bounds) + "}";
  }
  return out + "]";
}

std::string ComboItems(HWND combo) {
  const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  std::string out = "[";
  for (LRESULT i = 0; i < count; ++i) {
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const auto copied = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    out += (i ? "," : "") + Json(text);
  }
  return out + "]";
}

std::string Describe(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  const std::wstring cls = ClassOf(window);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  std::string out = "{\"hwnd\":" + Json(window) + ",\"parent\":" + Json(GetParent(window)) +
                    ",\"id\":" + std::to_string(GetDlgCtrlID(window)) +
                    ",\"class\":" + Json(cls) + ",\"text\":" + Json(TextOf(window)) +
                    ",\"style\":" + std::to_string(static_cast<unsigned long>(style)) +
                    ",\"enabled\":" + Json(IsWindowEnabled(window) != FALSE) +
                    ",\"visible\":" + Json(IsWindowVisible(window) != FALSE) +
                    ",\"rect\":" + Json(rect);
  if (_wcsicmp(cls.c_str(), WC_LISTVIEWW) == 0) {
    out += ",\"rows\":" + ListViewRows(window);
  } else if (_wcsicmp(cls.c_str(), WC_COMBOBOXW) == 0) {
    out += ",\"items\":" + ComboItems(window) + ",\"selected\":" +
           std::to_string(SendMessageW(window, CB_GETCURSEL, 0, 0));
  } else if (_wcsicmp(cls.c_str(), L"Button") == 0) {
    out += ",\"checked\":" + std::to_string(SendMessageW(window, BM_GETCHECK, 0, 0));
  } else if (_wcsicmp(cls.c_str(), HOTKEY_CLASSW) == 0) {
    out += ",\"hotkey\":" + std::to_string(SendMessageW(window, HKM_GETHOTKEY, 0, 0));
  } else if (_wcsicmp(cls.c_str(), L"Edit") == 0) {
    const auto selection = SendMessageW(window, EM_GETSEL, 0, 0);
    out += ",\"selection\":[" + std::to_string(LOWORD(selection)) + "," +
           std::to_string(HIWORD(selection)) + "]";
  }
  return out + "}";
}

BOOL CALLBACK EachChild(HWND child, LPARAM out) {
  auto& text = *reinterpret_cast<std::string*>(out);
  text += (text.empty() ? "" : ",") + Describe(child);
  return TRUE;
}

std::string Dump(HWND window) {
  if (!IsWindow(window)) return "null";
  std::string children;
  EnumChildWindows(window, EachChild, reinterpret_cast<LPARAM>(&children));
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  std::string out = Describe(window);
  out.pop_back();
  return out + ",\"focus\":" + Json(info.hwndFocus) + ",\"active\":" + Json(info.hwndActive) +
         ",\"children\":[" + children + "]}";
}

BOOL CALLBACK EachTop(HWND window, LPARAM out) {
  if (!IsWindowVisible(window)) return TRUE;
  auto& text = *reinterpret_cast<std::string*>(out);
  RECT rect{};
  GetWindowRect(window, &rect);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t title[512] = {};
  GetWindowTextW(window, title, 512);
  text += std::string(text.empty() ? "" : ",") + "{\"hwnd\":" + Json(window) +
          ",\"title\":" + Json(std::wstring(title)) + ",\"class\":" + Json(ClassOf(window)) +
          ",\"pid\":" + std::to_string(pid) +
          ",\"enabled\":" + Json(IsWindowEnabled(window) != FALSE) +
          ",\"owner\":" + Json(GetWindow(window, GW_OWNER)) + ",\"rect\":" + Json(rect) + "}";
  return TRUE;
}

std::string Top() {
  std::string windows;
  EnumWindows(EachTop, reinterpret_cast<LPARAM>(&windows));
  return "{\"foreground\":" + Json(GetForegroundWindow()) + ",\"windows\":[" + windows + "]}";
}

}  // namespace

int main() {
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string answer;
    if (line == "top") {
      answer = Top();
    } else if (line.rfind("dump ", 0) == 0) {
      answer = Dump(reinterpret_cast<HWND>(std::stoull(line.substr(5))));
    } else {
      answer = "{\"error\":" + Json(std::wstring(line.begin(), line.end())) + "}";
    }
    std::cout << answer << std::endl;
  }
  return 0;
}
