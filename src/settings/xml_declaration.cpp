#include "settings/xml_declaration.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/ascii_case.h"

namespace qs {

namespace {

enum class Utf16 { None, LittleEndian, BigEndian };

struct Utf16Layout {
  Utf16 order = Utf16::None;
  std::size_t bomLength = 0;
};

Utf16Layout DetectUtf16(std::string_view b) {
  if (b.size() < 2) return {};
  const auto b0 = static_cast<unsigned char>(b[0]);
  const auto b1 = static_cast<unsigned char>(b[1]);
  if (b0 == 0xFF && b1 == 0xFE) return {Utf16::LittleEndian, 2};
  if (b0 == 0xFE && b1 == 0xFF) return {Utf16::BigEndian, 2};
  if (b0 == '<' && b1 == 0) return {Utf16::LittleEndian, 0};
  if (b0 == 0 && b1 == '<') return {Utf16::BigEndian, 0};
  return {};
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string Utf16ToUtf8(std::string_view b, Utf16Layout layout) {
  const std::size_t units = (b.size() - layout.bomLength) / 2;
  const auto unit = [&](std::size_t i) -> std::uint16_t {
    const auto lo = static_cast<unsigned char>(b[layout.bomLength + 2 * i]);
    const auto hi = static_cast<unsigned char>(b[layout.bomLength + 2 * i + 1]);
    return layout.order == Utf16::LittleEndian ? static_cast<std::uint16_t>(lo | (hi << 8))
                                               : static_cast<std::uint16_t>(hi | (lo << 8));
  };
  std::string out;
  out.reserve(units + units / 2);
  for (std::size_t i = 0; i < units; ++i) {
    const std::uint16_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
      const std::uint16_t low = unit(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((char32_t{u} - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? char32_t{0xFFFD} : char32_t{u});
  }
  return out;
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Where the encoding pseudo-attribute stands, with the whitespace before it.
struct EncodingSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::string_view value;
};

// Scans the declaration that starts at `at`; none when there is no
// declaration, it names no encoding, or it is malformed.
bool FindEncoding(std::string_view doc, std::size_t at, EncodingSpan& found) {
  constexpr std::string_view kOpen = "<?xml";
  if (doc.substr(at, kOpen.size()) != kOpen) return false;
  std::size_t i = at + kOpen.size();
  if (i >= doc.size() || !IsXmlSpace(doc[i])) return false;  // "<?xml-stylesheet" and the like
  while (true) {
    const std::size_t attrBegin = i;
    while (i < doc.size() && IsXmlSpace(doc[i])) ++i;
    if (i >= doc.size() || doc.substr(i, 2) == "?>") return false;
    const std::size_t nameBegin = i;
    while (i < doc.size() && !IsXmlSpace(doc[i]) && doc[i] != '=' && doc[i] != '?') ++i;
    const std::string_view name = doc.substr(nameBegin, i - nameBegin);
    while (i < doc.size() && IsXmlSpace(doc[i])) ++i;
    if (name.empty() || i >= doc.size() || doc[i] != '=') return false;
    ++i;
    while (i < doc.size() && IsXmlSpace(doc[i])) ++i;
    if (i >= doc.size() || (doc[i] != '"' && doc[i] != '\'')) return false;
    const char quote = doc[i++];
    const std::size_t valueBegin = i;
    while (i < doc.size() && doc[i] != quote && doc[i] != '<' && doc[i] != '>') ++i;
    if (i >= doc.size() || doc[i] != quote) return false;
    const std::string_view value = doc.substr(valueBegin, i - valueBegin);
    ++i;
    if (name == "encoding") {
      found = {attrBegin, i, value};
      return true;
    }
  }
}

}  // namespace

std::string NormalizeXmlEncoding(std::string bytes) {
  const Utf16Layout utf16 = DetectUtf16(bytes);
  const bool converted = utf16.order != Utf16::None;
  if (converted) bytes = Utf16ToUtf8(bytes, utf16);

  const std::size_t start = std::string_view(bytes).substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  EncodingSpan encoding;
  if (!FindEncoding(bytes, start, encoding) || EqualsAsciiNoCase(encoding.value, "UTF-8")) {
    return bytes;
  }
  bytes.erase(encoding.begin, encoding.end - encoding.begin);
  if (!converted) {
    for (std::size_t i = start; i < bytes.size(); ++i) {
      if (static_cast<unsigned char>(bytes[i]) >= 0x80) bytes[i] = '?';
    }
  }
  return bytes;
}

}  // namespace qs
