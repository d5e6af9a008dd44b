#include "ui/cp1251_check.h"

#include <cstdio>

#include "model/cp1251.h"

namespace qs {

std::optional<char32_t> FirstCharOutsideCp1251(std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t cp = cp1251_detail::NextCodePoint(utf8, i);
    if (cp1251_detail::ByteOf(cp) < 0) return cp;
  }
  return std::nullopt;
}

std::string OutsideCp1251Message(char32_t character) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
  return std::string("Символ «"_cp1251) + code +
         std::string("» нельзя сохранить: программа хранит тексты в кодировке Windows-1251"_cp1251);
}

std::optional<std::string> AcceptTypedText(std::string_view utf8, DialogPort& dialogs) {
  if (const auto bad = FirstCharOutsideCp1251(utf8)) {
    dialogs.ShowMessage(OutsideCp1251Message(*bad));
    return std::nullopt;
  }
  return Utf8ToCp1251(utf8);
}

}  // namespace qs
