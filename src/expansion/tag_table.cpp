#include "expansion/tag_table.h"

#include <array>

#include "expansion/keystrokes.h"
#include "model/cp1251.h"

namespace qs {

namespace {

constexpr std::array<TagRow, 14> kTagTable{{
    {"TAB", TagAction::Key, kVkTab},
    {"RIGHT", TagAction::Key, kVkRight},
    {"LEFT", TagAction::Key, kVkLeft},
    {"UP", TagAction::Key, kVkUp},
    {"DOWN", TagAction::Key, kVkDown},
    {"ENTER", TagAction::Key, kVkReturn},
    {"CTRLENTER", TagAction::CtrlEnter, 0},
    {"ДД.ММ.ГГГГ"_cp1251, TagAction::DateTime, 0},
    {"ММ.ДД.ГГГГ"_cp1251, TagAction::DateTime, 0},
    {"ГГГГ.ДД.ММ"_cp1251, TagAction::DateTime, 0},
    {"ГГГГ.ММ.ДД"_cp1251, TagAction::DateTime, 0},
    {"ЧЧ:ММ"_cp1251, TagAction::DateTime, 0},
    {"Ч. из буфера"_cp1251, TagAction::ClipboardNumber, 0},
    {"Ч. из буфера текстом"_cp1251, TagAction::ClipboardNumberInWords, 0},
}};

}  // namespace

std::optional<TagRow> FindTag(std::string_view name) {
  for (const TagRow& row : kTagTable) {
    if (row.name == name) return row;
  }
  return std::nullopt;
}

}  // namespace qs
