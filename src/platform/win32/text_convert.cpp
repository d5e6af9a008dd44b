#include "platform/win32/text_convert.h"

#include <algorithm>
#include <climits>
#include <iterator>

#include "model/cp1251.h"

namespace qs::win32 {
namespace {

constexpr UINT kCp1251 = 1251;

std::wstring ToWide(UINT codePage, std::string_view bytes) {
  if (bytes.empty() || bytes.size() > INT_MAX) return {};
  const int n = static_cast<int>(bytes.size());
  const int size = ::MultiByteToWideChar(codePage, 0, bytes.data(), n, nullptr, 0);
  if (size <= 0) return {};
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(codePage, 0, bytes.data(), n, out.data(), size);
  return out;
}

std::string FromWide(UINT codePage, DWORD flags, const char* defaultChar, std::wstring_view wide) {
  if (wide.empty() || wide.size() > INT_MAX) return {};
  const int n = static_cast<int>(wide.size());
  const int size =
      ::WideCharToMultiByte(codePage, flags, wide.data(), n, nullptr, 0, defaultChar, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(codePage, flags, wide.data(), n, out.data(), size, defaultChar, nullptr);
  return out;
}

}  // namespace

std::wstring Cp1251ToWide(std::string_view cp1251) { return ToWide(kCp1251, cp1251); }

// No best fit: "é" must not quietly become "e" in a text the user will see
// typed; an honest '?' shows that the character was lost. A character
// beyond the BMP is one character, so one '?' (the system may give two).
std::string WideToCp1251(std::wstring_view wide) {
  const auto isSurrogate = [](wchar_t c) { return IS_HIGH_SURROGATE(c) || IS_LOW_SURROGATE(c); };
  if (std::none_of(wide.begin(), wide.end(), isSurrogate)) {
    return FromWide(kCp1251, WC_NO_BEST_FIT_CHARS, "?", wide);
  }
  std::wstring joined;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const bool pair =
        IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
    joined.push_back(pair ? L'?' : wide[i]);
    if (pair) ++i;
  }
  return FromWide(kCp1251, WC_NO_BEST_FIT_CHARS, "?", joined);
}

std::wstring Utf8ToWide(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
std::string WideToUtf8(std::wstring_view wide) { return FromWide(CP_UTF8, 0, nullptr, wide); }

std::string ErrorText(DWORD code) {
  wchar_t buffer[512] = {};
  const DWORD length =
      ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                       buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
  std::wstring_view text(buffer, length);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
    text.remove_suffix(1);
  }
  std::string out = WideToCp1251(text);
  if (!out.empty()) out += ' ';
  out += "(код "_cp1251;
  out += std::to_string(code);
  out += ')';
  return out;
}

std::string LastErrorText() { return ErrorText(::GetLastError()); }

}  // namespace qs::win32
