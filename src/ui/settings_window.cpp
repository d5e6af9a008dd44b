#include "ui/settings_window.h"

#include <utility>
#include <vector>

#include "model/cp1251.h"

namespace qs {
namespace {

std::vector<ListRow> ListRows(const std::vector<TextEntry>& rows) {
  std::vector<ListRow> out;
  out.reserve(rows.size());
  for (const auto& row : rows) {
    out.push_back({Cp1251ToUtf8(row.shorttext), Cp1251ToUtf8(row.longtext),
                   Cp1251ToUtf8(row.group.value_or(std::string()))});
  }
  return out;
}

constexpr RowCommand kRowCommands[] = {RowCommand::Edit, RowCommand::Delete, RowCommand::MoveUp,
                                       RowCommand::MoveDown};

}  // namespace

SettingsWindow::SettingsWindow(EntryModel& model, SettingsView& view, DialogPort& dialogs,
                               EntryEditor& editor, std::function<void()> reload)
    : model_(model), view_(view), dialogs_(dialogs), editor_(editor), reload_(std::move(reload)) {}

std::optional<std::size_t> SettingsWindow::Selected() const {
  const auto row = view_.SelectedRow();
  if (row && *row < model_.RowCount()) return row;
  return std::nullopt;
}

void SettingsWindow::ShowRows(std::optional<std::size_t> select) {
  view_.ShowRows(ListRows(model_.Rows()));
  view_.SelectRow(select);
}

void SettingsWindow::ListView1Click() {
  const CommandStates states = CommandStatesFor(Selected(), model_.RowCount());
  for (const RowCommand command : kRowCommands) {
    view_.SetCommandEnabled(command, states.Enabled(command));
  }
}

// The right-click menu recomputes its items whenever it opens, so they are
// never stale there.
void SettingsWindow::PopupMenu2Popup() { ListView1Click(); }

void SettingsWindow::SpeedButton1Click() {
  const auto selected = view_.SelectedRow();
  editor_.OpenToAdd();
  ShowRows(selected);
}

void SettingsWindow::SpeedButton2Click() {
  const auto selected = Selected();
  if (!selected) {
    dialogs_.ShowMessage("Не выделена запись"_cp1251);
    return;
  }
  editor_.OpenToEdit(*selected);
  ShowRows(selected);
}

void SettingsWindow::ListView1DblClick() { SpeedButton2Click(); }

// The command states are left as they were: the four row commands stay
// enabled with nothing selected, and each checks the selection again.
void SettingsWindow::SpeedButton3Click() {
  const auto selected = Selected();
  if (!selected) {
    dialogs_.ShowMessage("Не выделена запись"_cp1251);
    return;
  }
  if (!dialogs_.Confirm("Вы действительно хотите удалить запись?"_cp1251, "Quipstream")) return;
  model_.DeleteEntry(*selected);
  ShowRows(std::nullopt);
}

bool SettingsWindow::ExchangeRows(long long index1, long long index2) {
  if (!model_.ExchangeRows(index1, index2)) return false;
  // Selection marks belong to positions, not to the rows' contents.
  ShowRows(view_.SelectedRow());
  return true;
}

// Up from the first row aims at -1, which stands for no row: the order stays
// and the selection is cleared. Down from the last row aims past the end,
// which changes nothing.
void SettingsWindow::MoveByButton(long long step) {
  const auto selected = Selected();
  if (!selected) return;
  const long long target = static_cast<long long>(*selected) + step;
  ExchangeRows(static_cast<long long>(*selected), target);
  if (target < 0) {
    view_.SelectRow(std::nullopt);
  } else if (target < static_cast<long long>(model_.RowCount())) {
    view_.SelectRow(static_cast<std::size_t>(target));
  }
  ListView1Click();
}

void SettingsWindow::MoveByMenu(long long step) {
  const auto selected = Selected();
  if (!selected) return;
  ExchangeRows(static_cast<long long>(*selected), static_cast<long long>(*selected) + step);
}

void SettingsWindow::SpeedButton6Click() { MoveByButton(-1); }
void SettingsWindow::SpeedButton7Click() { MoveByButton(+1); }
void SettingsWindow::N7Click() { MoveByMenu(-1); }
void SettingsWindow::N8Click() { MoveByMenu(+1); }

bool SettingsWindow::ListView1DragOver(DragSource source) const {
  return source == DragSource::ListView1;
}

// The dragged row lands right after the row it is dropped on, or at the end;
// no drop puts a row first. Afterwards nothing is selected, and the command
// states are not recomputed.
void SettingsWindow::ListView1DragDrop(std::optional<std::size_t> rowUnderPoint) {
  view_.BeginUpdate();
  if (const auto selected = Selected()) {
    const long long target = rowUnderPoint ? static_cast<long long>(*rowUnderPoint) : -1;
    model_.MoveRowAfter(*selected, target);
    ShowRows(std::nullopt);
  }
  view_.EndUpdate();
}

bool SettingsWindow::FormKeyPress(char32_t key) {
  if (key != 27) return false;
  reload_();
  return true;
}

void SettingsWindow::OptionsEdited(const Options& options) { model_.options() = options; }

void SettingsWindow::ModelReloaded() {
  ShowRows(std::nullopt);
  view_.ShowOptions(model_.options());
}

void SettingsWindow::ResetCommandStates() { ListView1Click(); }

void SettingsWindow::FocusHotkeyField() { view_.FocusHotkeyField(); }

}  // namespace qs
