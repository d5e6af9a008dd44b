#include "platform/win32/xmllite_errors.h"

#include <cstdio>
#include <string_view>

#include "model/cp1251.h"
#include "platform/win32/text_convert.h"

namespace qs::win32 {
namespace {

struct KnownError {
  HRESULT code;
  std::string_view text;
};

// XmlLite's own codes are not in the system's message table. These are the
// ones a hand-edited or damaged settings file runs into.
constexpr KnownError kKnownErrors[] = {
    {static_cast<HRESULT>(0xC00CEE01), "неожиданный конец документа"_cp1251},
    {static_cast<HRESULT>(0xC00CEE02), "неизвестная кодировка"_cp1251},
    {static_cast<HRESULT>(0xC00CEE03), "кодировку нельзя сменить"_cp1251},
    {static_cast<HRESULT>(0xC00CEE04), "неизвестная подпись кодировки"_cp1251},
    {static_cast<HRESULT>(0xC00CEE21), "ожидался пробел"_cp1251},
    {static_cast<HRESULT>(0xC00CEE22), "ожидалась точка с запятой"_cp1251},
    {static_cast<HRESULT>(0xC00CEE23), "ожидался знак \">\""_cp1251},
    {static_cast<HRESULT>(0xC00CEE24), "ожидалась кавычка"_cp1251},
    {static_cast<HRESULT>(0xC00CEE25), "ожидался знак \"=\""_cp1251},
    {static_cast<HRESULT>(0xC00CEE26), "знак \"<\" в значении атрибута"_cp1251},
    {static_cast<HRESULT>(0xC00CEE2B), "недопустимый символ"_cp1251},
    {static_cast<HRESULT>(0xC00CEE2C), "недопустимый символ в имени"_cp1251},
    {static_cast<HRESULT>(0xC00CEE2D), "неверный синтаксис"_cp1251},
    {static_cast<HRESULT>(0xC00CEE2F), "неверный комментарий"_cp1251},
    {static_cast<HRESULT>(0xC00CEE3A), "больше одного корневого элемента"_cp1251},
    {static_cast<HRESULT>(0xC00CEE3B), "закрывающий тег не совпадает с открывающим"_cp1251},
    {static_cast<HRESULT>(0xC00CEE3C), "повторяющийся атрибут"_cp1251},
    {static_cast<HRESULT>(0xC00CEE40), "неверное XML-объявление"_cp1251},
    {static_cast<HRESULT>(0xC00CEE41), "неверное имя кодировки"_cp1251},
    {static_cast<HRESULT>(0xC00CEE47), "необъявленная сущность"_cp1251},
    {static_cast<HRESULT>(0xC00CEE4F), "определения DTD запрещены"_cp1251},
    {static_cast<HRESULT>(0xC00CEE65), "необъявленный префикс пространства имён"_cp1251},
    {static_cast<HRESULT>(0xC00CEE80), "слишком глубокая вложенность элементов"_cp1251},
};

}  // namespace

std::string XmlLiteErrorText(HRESULT code) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
  for (const KnownError& known : kKnownErrors) {
    if (known.code == code) return std::string(known.text) + " (" + hex + ")";
  }
  // Codes from below XmlLite (a failed read, say) are the system's own.
  if (HRESULT_FACILITY(code) == FACILITY_WIN32) return ErrorText(HRESULT_CODE(code));
  return std::string("ошибка XmlLite "_cp1251) + hex;
}

}  // namespace qs::win32
