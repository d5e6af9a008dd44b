// settings_dump: prints what the program itself reads from a Settings.xml,
// so that a test can check a file the program wrote without a second
// decoder of its own. Output is UTF-8, one line per item, fields separated
// by tabs:
//   entry<TAB>menu text<TAB>inserted text<TAB>group
//   group<TAB>name            (every line of the group list, "Без группы" first)
//   hot<TAB>shortcut value    (decimal)
//   auto<TAB>0|1
//   buff<TAB>0|1
// In texts a backslash, CR, LF and Tab are written as \\, \r, \n and \t.
// A file the program could not load ends the tool with exit code 1 and the
// reason on stderr.
//
//   qs_settings_dump PATH/Settings.xml
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include "model/cp1251.h"
#include "model/entry_model.h"
#include "model/handler_error.h"
#include "platform/pugixml/pugixml_reader.h"
#include "settings/settings_file.h"

namespace {

std::string Escaped(std::string_view cp1251) {
  const std::string utf8 = qs::Cp1251ToUtf8(cp1251);
  std::string out;
  out.reserve(utf8.size());
  for (const char c : utf8) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default: out += c; break;
    }
  }
  return out;
}

int Fail(const std::string& path, const std::string& utf8Reason) {
  std::cerr << "qs_settings_dump: " << path << ": " << utf8Reason << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: qs_settings_dump PATH/Settings.xml\n";
    return 2;
  }
  const std::string path = argv[1];
  std::ifstream file(path, std::ios::binary);
  if (!file) return Fail(path, "cannot open the file");
  std::ostringstream bytes;
  bytes << file.rdbuf();

  qs::PugiXmlReader reader;
  qs::XmlParseResult parsed = reader.Parse(bytes.str());
  if (!parsed.ok) return Fail(path, qs::Cp1251ToUtf8(parsed.error));

  // The model the program fills, "Без группы" already its first group line.
  qs::EntryModel model;
  try {
    qs::ReadSettingsTree(parsed.root, model);
  } catch (const qs::HandlerError& e) {
    return Fail(path, qs::Cp1251ToUtf8(e.what()));
  }

  std::ostringstream out;
  for (const qs::TextEntry& row : model.Rows()) {
    out << "entry\t" << Escaped(row.shorttext) << '\t' << Escaped(row.longtext) << '\t'
        << Escaped(row.group.value_or("")) << '\n';
  }
  for (const std::string& group : model.Groups()) out << "group\t" << Escaped(group) << '\n';
  const qs::Options& options = model.options();
  out << "hot\t" << options.hotkey << '\n'
      << "auto\t" << (options.autostart ? 1 : 0) << '\n'
      << "buff\t" << (options.monitorClipboard ? 1 : 0) << '\n';
  std::cout << out.str();
  return std::cout.flush() ? 0 : 1;
}
