#include "settings/settings_messages.h"

#include "model/cp1251.h"

namespace qs {

// The messages are appended piece by piece: clang 14 crashes on a local
// std::string initialised from an expression that holds a _cp1251 literal.

namespace {

void AppendQuoted(std::string& out, std::string_view utf8Path) {
  out += "«"_cp1251;
  out += Utf8ToCp1251(utf8Path);
  out += "»"_cp1251;
}

// The system's reasons come with or without a final full stop.
void AppendSentence(std::string& out, std::string_view text) {
  while (!text.empty() && (text.back() == '.' || static_cast<unsigned char>(text.back()) <= ' ')) {
    text.remove_suffix(1);
  }
  out += text;
  out += '.';
}

}  // namespace

std::string UnreadableFileMessage(std::string_view path, std::string_view reason) {
  std::string text;
  text += "Не удалось прочитать файл настроек "_cp1251;
  AppendQuoted(text, path);
  text += ": ";
  AppendSentence(text, reason);
  return text;
}

std::string BrokenFileMessage(std::string_view path, std::string_view problem,
                              std::string_view badPath, const FileResult& copy) {
  std::string text;
  text += "Файл настроек "_cp1251;
  AppendQuoted(text, path);
  text += " повреждён: "_cp1251;
  AppendSentence(text, problem);
  text += "\r\n";
  if (copy.ok) {
    text += "Его копия сохранена как "_cp1251;
    AppendQuoted(text, badPath);
    text += '.';
  } else {
    text += "Сохранить его копию "_cp1251;
    AppendQuoted(text, badPath);
    text += " не удалось: "_cp1251;
    AppendSentence(text, copy.error);
  }
  return text;
}

std::string SaveFailedMessage(std::string_view path, std::string_view reason, bool hadFile) {
  std::string text;
  text += "Не удалось сохранить настройки в файл "_cp1251;
  AppendQuoted(text, path);
  text += ": ";
  AppendSentence(text, reason);
  if (hadFile) text += " Прежний файл настроек остался без изменений."_cp1251;
  return text;
}

}  // namespace qs
