#include "ui/group_manager.h"

#include <algorithm>

#include "model/cp1251.h"
#include "model/trim.h"
#include "ui/cp1251_check.h"
#include "ui/preselect_group.h"

namespace qs {
namespace {

constexpr unsigned kEnter = 13;
constexpr unsigned kVkDelete = 0x2E;
constexpr unsigned kVkInsert = 0x2D;
constexpr char32_t kEsc = 27;

}  // namespace

GroupManager::GroupManager(EntryModel& model, GroupManagerView& view, GroupBox& editorGroups,
                           DialogPort& dialogs, const ListSelection& settingsList)
    : model_(model),
      view_(view),
      editorGroups_(editorGroups),
      dialogs_(dialogs),
      settingsList_(settingsList) {}

void GroupManager::ShowModal() { view_.ShowModal(); }

// Grid row r shows group line r + 1; an empty grid still has one empty row.
void GroupManager::FillGrid() {
  view_.ClearCells();
  view_.SetRowCount(std::max<std::size_t>(model_.GroupCount(), 2) - 1);
  for (std::size_t b = 1; b < model_.GroupCount(); ++b) {
    view_.SetCell(b - 1, Cp1251ToUtf8(model_.Group(b)));
  }
}

// The editor's group box is left alone here: it still holds what the editor
// put in when it was shown.
void GroupManager::FormShow() { FillGrid(); }

void GroupManager::Refill() {
  editorGroups_.ClearGroupItems();
  for (const auto& group : model_.Groups()) editorGroups_.AddGroupItem(Cp1251ToUtf8(group));
  FillGrid();
}

std::string GroupManager::SelectedGroup() const {
  const std::size_t line = view_.SelectedRow() + 1;
  return line < model_.GroupCount() ? model_.Group(line) : std::string();
}

// The name is kept as typed, untrimmed, and compared exactly with the listed
// groups only: "Без группы" is not listed, so a user group of that name is
// accepted.
std::optional<std::string> GroupManager::AskName(std::string_view caption,
                                                 std::string_view initial) {
  const auto typed = dialogs_.InputBoxUtf8(caption, "Название группы"_cp1251, initial);
  if (!typed) return std::nullopt;
  auto name = AcceptTypedText(*typed, dialogs_);
  if (!name) return std::nullopt;
  if (TrimView(*name).empty()) {
    dialogs_.ShowMessage("Не введено название группы!"_cp1251);
    return std::nullopt;
  }
  const auto& groups = model_.Groups();
  if (std::find(groups.begin() + 1, groups.end(), *name) != groups.end()) {
    dialogs_.ShowMessage("Такая группа уже существует!"_cp1251);
    return std::nullopt;
  }
  return name;
}

void GroupManager::Add_type_buttonClick() {
  const auto name = AskName("Добавление группы"_cp1251, "");
  if (!name) return;
  model_.AppendGroup(*name);
  Refill();
  SelectGroupItem(editorGroups_, Cp1251ToUtf8(*name));
}

// Confirming the unchanged name is refused as a duplicate: the selected row
// is compared too.
void GroupManager::Edit_type_buttonClick() {
  const std::string old = SelectedGroup();
  const auto boxSelection = editorGroups_.SelectedGroupIndex();
  const std::string wasSelected = boxSelection ? editorGroups_.GroupItem(*boxSelection) : "";
  const auto name = AskName("Изменение группы"_cp1251, old);
  if (!name) return;
  model_.RenameGroup(old, *name);
  Refill();
  if (!boxSelection) return;
  SelectGroupItem(editorGroups_,
                  wasSelected == Cp1251ToUtf8(old) ? Cp1251ToUtf8(*name) : wasSelected);
}

void GroupManager::Delete_type_buttonClick() {
  const std::string name = SelectedGroup();
  const std::string question =
      std::string("Вы действительно хотите удалить группу\r\n"_cp1251) + name + "?";
  if (!dialogs_.Confirm(question, "Подтверждение удаления"_cp1251)) return;
  model_.DeleteGroup(name);
  Refill();
  PreselectGroup(editorGroups_, model_, settingsList_);
}

bool GroupManager::typeuslug_tableKeyDown(unsigned key) {
  if (key == kEnter) {
    Edit_type_buttonClick();
    return true;
  }
  if (key == kVkDelete) {
    Delete_type_buttonClick();
    return true;
  }
  return false;
}

bool GroupManager::FormKeyDown(unsigned key) {
  if (key != kVkInsert) return false;
  Add_type_buttonClick();
  return true;
}

bool GroupManager::FormKeyPress(char32_t key) {
  if (key != kEsc) return false;
  view_.Close();
  return true;
}

void GroupManager::AdvGlassButton1Click() { view_.Close(); }

}  // namespace qs
