// The tags an inserted text may hold, and what each one does.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qs {

enum class TagAction { Key, CtrlEnter, DateTime, ClipboardNumber, ClipboardNumberInWords };

struct TagRow {
  std::string_view name;  // Windows-1251, compared byte for byte
  TagAction action;
  std::uint8_t vk;        // for TagAction::Key
};

// The row whose name equals the tag name exactly; none for any other name.
std::optional<TagRow> FindTag(std::string_view name);

}  // namespace qs
