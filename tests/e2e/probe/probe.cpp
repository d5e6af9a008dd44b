// QS Probe: a target window for the end-to-end tests. Two multi-line EDIT
// fields; every keyboard message either field receives is logged with its
// GetMessageTime() tick, so a test can see exactly what arrived and in which
// order it was posted or injected (arrival order differs: posted messages
// overtake input messages).
//
//   probe.exe LOGFILE [RESULTFILE]
//
// LOGFILE gets one line per event, flushed at once:
//   READY pid=<windows pid> hwnd=0x... field0=l,t,r,b field1=l,t,r,b
//   WM_CHAR time=<tick> field=<0|1> code=0x0441 lparam=0x00000001
//   WM_KEYDOWN time=<tick> field=<0|1> vk=0x09 scan=0x0f ext=0 lparam=0x000f0001
//   WM_SETFOCUS time=<tick> field=<0|1>
// (also WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR, WM_KILLFOCUS,
// WM_LBUTTONDOWN, WM_LBUTTONUP and CLOSE).
// The field rectangles are screen coordinates, for clicking into a field.
//
// RESULTFILE, when given, holds {"fields":["...","..."],"closed":false} in
// UTF-8; it is rewritten once the fields have not changed for 30 ms (a write
// per character would make the probe the slowest part of a long text) and
// once more with "closed":true when the window closes (WM_CLOSE, e.g. from
// taskkill).

#include <windows.h>
#include <shellapi.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "json_text.h"

namespace {

constexpr int kFieldCount = 2;
constexpr UINT_PTR kResultTimer = 1;
constexpr UINT kResultDelayMs = 30;

FILE* g_log = nullptr;
std::wstring g_resultPath;
HWND g_main = nullptr;
HWND g_fields[kFieldCount] = {};
WNDPROC g_editProc = nullptr;

int FieldIndex(HWND hwnd) {
  for (int i = 0; i < kFieldCount; ++i) {
    if (g_fields[i] == hwnd) return i;
  }
  return -1;
}

void LogLine(const char* format, ...) {
  if (!g_log) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(g_log, format, args);
  va_end(args);
  std::fputc('\n', g_log);
  std::fflush(g_log);
}

std::wstring FieldText(HWND field) {
  int length = GetWindowTextLengthW(field);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(field, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

// Written to a side file and renamed, so a reader never sees half a result.
void WriteResult(bool closed) {
  if (g_resultPath.empty()) return;
  std::string json = "{\"fields\":[";
  for (int i = 0; i < kFieldCount; ++i) {
    if (i) json += ',';
    json += JsonString(FieldText(g_fields[i]));
  }
  json += closed ? "],\"closed\":true}\n" : "],\"closed\":false}\n";
  std::wstring side = g_resultPath + L".part";
  FILE* file = _wfopen(side.c_str(), L"wb");
  if (!file) return;
  std::fwrite(json.data(), 1, json.size(), file);
  std::fclose(file);
  MoveFileExW(side.c_str(), g_resultPath.c_str(), MOVEFILE_REPLACE_EXISTING);
}

const char* KeyMessageName(UINT message) {
  switch (message) {
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP: return "WM_SYSKEYUP";
    default: return nullptr;
  }
}

// Logs a keyboard or left-button message meant for a field.
void LogFieldMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD time) {
  int field = FieldIndex(hwnd);
  if (field < 0) return;
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) {
    // A test clicks a field to make the probe active and waits for the click.
    LogLine("%s time=%lu field=%d", message == WM_LBUTTONDOWN ? "WM_LBUTTONDOWN" : "WM_LBUTTONUP",
            static_cast<unsigned long>(time), field);
    return;
  }
  auto bits = static_cast<unsigned long>(static_cast<DWORD>(lParam));
  if (const char* name = KeyMessageName(message)) {
    LogLine("%s time=%lu field=%d vk=0x%02x scan=0x%02x ext=%lu lparam=0x%08lx", name,
            static_cast<unsigned long>(time), field, static_cast<unsigned>(wParam),
            static_cast<unsigned>((bits >> 16) & 0xFF), (bits >> 24) & 1, bits);
  }
  if (message == WM_CHAR || message == WM_SYSCHAR) {
    LogLine("%s time=%lu field=%d code=0x%04x lparam=0x%08lx",
            message == WM_CHAR ? "WM_CHAR" : "WM_SYSCHAR", static_cast<unsigned long>(time), field,
            static_cast<unsigned>(wParam), bits);
  }
}

LRESULT CALLBACK FieldProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
    LogLine("%s time=%lu field=%d", message == WM_SETFOCUS ? "WM_SETFOCUS" : "WM_KILLFOCUS",
            static_cast<unsigned long>(GetMessageTime()), FieldIndex(hwnd));
  } else if (message == WM_GETDLGCODE) {
    // Multi-line fields keep Enter but give Tab to IsDialogMessage, which
    // moves the focus to the other field as a dialog would.
    LRESULT code = CallWindowProcW(g_editProc, hwnd, message, wParam, lParam);
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB) {
      code &= ~static_cast<LRESULT>(DLGC_WANTTAB | DLGC_WANTALLKEYS);
    }
    return code;
  } else if (InSendMessage()) {
    // Queued messages are logged by the message loop; this catches the ones
    // another thread sends straight to a field.
    LogFieldMessage(hwnd, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()));
  }
  return CallWindowProcW(g_editProc, hwnd, message, wParam, lParam);
}

void LogReady() {
  RECT r[kFieldCount];
  for (int i = 0; i < kFieldCount; ++i) GetWindowRect(g_fields[i], &r[i]);
  LogLine("READY pid=%lu hwnd=0x%llx field0=%ld,%ld,%ld,%ld field1=%ld,%ld,%ld,%ld",
          GetCurrentProcessId(),
          static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(g_main)), r[0].left, r[0].top,
          r[0].right, r[0].bottom, r[1].left, r[1].top, r[1].right, r[1].bottom);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      auto instance = reinterpret_cast<LPCREATESTRUCTW>(lParam)->hInstance;
      for (int i = 0; i < kFieldCount; ++i) {
        g_fields[i] = CreateWindowExW(
            WS_EX_CLIENTEDGE, L"EDIT", L"",
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, 10,
            10 + i * 120, 360, 100, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)),
            instance, nullptr);
        g_editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(g_fields[i], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FieldProc)));
      }
      return 0;
    }
    case WM_SETFOCUS:
      SetFocus(g_fields[0]);
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE) SetTimer(hwnd, kResultTimer, kResultDelayMs, nullptr);
      return 0;
    case WM_TIMER:
      if (wParam == kResultTimer) {
        KillTimer(hwnd, kResultTimer);
        WriteResult(false);
      }
      return 0;
    case WM_CLOSE:
      WriteResult(true);
      LogLine("CLOSE time=%lu", static_cast<unsigned long>(GetMessageTime()));
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 2) {
    MessageBoxW(nullptr, L"usage: probe.exe LOGFILE [RESULTFILE]", L"QS Probe", MB_OK);
    return 2;
  }
  g_log = _wfopen(argv[1], L"ab");
  if (!g_log) return 3;
  if (argc >= 3) g_resultPath = argv[2];
  LocalFree(argv);

  WNDCLASSW wc = {};
  wc.lpfnWndProc = MainProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"QsProbe";
  RegisterClassW(&wc);

  // Placed clear of the tray window at the top-left corner of the screen.
  g_main = CreateWindowExW(0, L"QsProbe", L"QS Probe", WS_OVERLAPPEDWINDOW, 300, 150, 400, 290,
                           nullptr, nullptr, instance, nullptr);
  if (!g_main) return 4;
  ShowWindow(g_main, show == SW_HIDE ? SW_SHOWNORMAL : show);
  UpdateWindow(g_main);
  WriteResult(false);
  LogReady();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Logged before IsDialogMessage, which swallows the Tab key it acts on.
    LogFieldMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam, msg.time);
    if (IsDialogMessageW(g_main, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  std::fclose(g_log);
  return 0;
}
