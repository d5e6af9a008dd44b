// The editor's tag buttons: each inserts its own caption into the inserted
// text. Texts are Windows-1251.
#pragma once

#include <span>
#include <string_view>

namespace qs {

enum class TagButtonPlace {
  TextLabel,  // beside the label "Вставляемый текст"
  CaretRow,   // under the label "Управление кареткой:", in this order
};

struct TagButton {
  std::string_view caption;
  std::string_view hint;
  TagButtonPlace place;
};

std::span<const TagButton> TagButtons();

}  // namespace qs
