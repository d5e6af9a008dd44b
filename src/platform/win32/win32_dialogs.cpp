#include "platform/win32/win32_dialogs.h"

#include <windows.h>

#include "platform/win32/text_convert.h"
#include "platform/win32/win32_input_box.h"

namespace qs::win32 {
namespace {

constexpr const wchar_t* kTitle = L"Quipstream";

HWND Owner(const WindowSource& source) { return reinterpret_cast<HWND>(source ? source() : 0); }

}  // namespace

void Win32Dialogs::ShowMessage(std::string_view text) {
  ::MessageBoxW(Owner(owner_), Cp1251ToWide(text).c_str(), kTitle, MB_OK);
}

void Win32Dialogs::ShowError(std::string_view text) {
  ::MessageBoxW(Owner(owner_), Cp1251ToWide(text).c_str(), kTitle, MB_OK | MB_ICONERROR);
}

bool Win32Dialogs::Confirm(std::string_view text, std::string_view caption) {
  return ::MessageBoxW(Owner(owner_), Cp1251ToWide(text).c_str(), Cp1251ToWide(caption).c_str(),
                       MB_YESNO | MB_DEFBUTTON1) == IDYES;
}

// Whatever the user typed outside Windows-1251 comes back as '?'.
std::optional<std::string> Win32Dialogs::InputBox(std::string_view caption, std::string_view prompt,
                                                  std::string_view initial) {
  auto text = RunInputBox(Owner(owner_), Cp1251ToWide(caption), Cp1251ToWide(prompt),
                          Cp1251ToWide(initial));
  if (!text) return std::nullopt;
  return WideToCp1251(*text);
}

// The typed text unchanged, so that the caller can tell the user which
// characters the settings file cannot hold.
std::optional<std::string> Win32Dialogs::InputBoxUtf8(std::string_view caption,
                                                      std::string_view prompt,
                                                      std::string_view initial) {
  auto text = RunInputBox(Owner(owner_), Cp1251ToWide(caption), Cp1251ToWide(prompt),
                          Cp1251ToWide(initial));
  if (!text) return std::nullopt;
  return WideToUtf8(*text);
}

}  // namespace qs::win32
