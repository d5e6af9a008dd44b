// ReadSettingsTree: the reader is more lenient than the writer. The root's
// first three child nodes are taken by position whatever their names, every
// child node of the first two is one entry or one group whatever its name,
// and field names are matched without regard to letter case, as attributes
// or as child elements.
#include <cstdint>
#include <string_view>

#include "model/cp1251.h"
#include "model/handler_error.h"
#include "model/trim.h"
#include "settings/ascii_case.h"
#include "settings/field_codec.h"
#include "settings/settings_file.h"

namespace qs {

namespace {

// The value of a name in a node: the first attribute or child element of
// that name, in the node's order (attributes come first). An attribute gives
// its value as it stands; an element gives its own text (its text and CDATA
// children joined; text inside nested elements does not count) without the
// surrounding whitespace. Empty when no child node has the name. `scratch`
// holds the joined text when it comes in more than one piece.
std::string_view ValueOf(const XmlNode& node, std::string_view name, std::string& scratch) {
  for (const XmlNode& child : node.children) {
    const bool named = child.kind == XmlNode::Kind::Attribute || child.kind == XmlNode::Kind::Element;
    if (!named || !EqualsAsciiNoCase(child.name, name)) continue;
    if (child.kind == XmlNode::Kind::Attribute) return child.value;

    const XmlNode* only = nullptr;
    std::size_t pieces = 0;
    for (const XmlNode& part : child.children) {
      if (part.kind != XmlNode::Kind::Text) continue;
      only = &part;
      ++pieces;
    }
    if (pieces <= 1) return only ? TrimView(only->value) : std::string_view{};
    scratch.clear();
    for (const XmlNode& part : child.children) {
      if (part.kind == XmlNode::Kind::Text) scratch += part.value;
    }
    return TrimView(scratch);
  }
  return {};
}

std::string Field(const XmlNode& node, std::string_view name, std::string& scratch) {
  std::string text = DecodeField(ValueOf(node, name, scratch));
  const std::string_view trimmed = TrimView(text);
  if (trimmed.size() == text.size()) return text;
  return std::string(trimmed);
}

// "hot" is a number when it is an optional sign followed by decimal digits
// and nothing else, and fits a 32-bit signed integer; anything else reads
// as 0.
// The hotkey field keeps the low 16 bits, so -1 gives 65535 and 65611 gives 75.
std::uint16_t HotkeyValue(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  constexpr std::int64_t kLimit = std::int64_t{1} << 31;
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > kLimit) return 0;
  }
  if (!negative && value == kLimit) return 0;
  const std::int64_t signedValue = negative ? -value : value;
  return static_cast<std::uint16_t>(static_cast<std::uint64_t>(signedValue) & 0xFFFF);
}

}  // namespace

void ReadSettingsTree(const XmlNode& root, EntryModel& model) {
  if (root.children.size() < 3) {
    throw HandlerError(std::string(
        "в корневом элементе меньше трёх разделов (записи, группы, параметры)"_cp1251));
  }
  const XmlNode& texts = root.children[0];
  const XmlNode& groups = root.children[1];
  const XmlNode& keyword = root.children[2];
  std::string scratch;

  for (const XmlNode& e : texts.children) {
    std::string shorttext = Field(e, "shorttext", scratch);
    std::string longtext = Field(e, "longtext", scratch);
    model.AppendEntry(std::move(shorttext), std::move(longtext), Field(e, "group", scratch));
  }
  for (const XmlNode& g : groups.children) model.AppendGroup(Field(g, "namegroup", scratch));

  Options& options = model.options();
  options.hotkey = HotkeyValue(ValueOf(keyword, "hot", scratch));
  options.autostart = ValueOf(keyword, "auto", scratch) == "True";
  options.monitorClipboard = ValueOf(keyword, "buff", scratch) == "True";
}

}  // namespace qs
