// Which of the settings window's row commands are enabled for a selection.
#pragma once

#include <cstddef>
#include <optional>

namespace qs {

// The four commands that depend on the selection, each a button and an item
// of the list's right-click menu. "Добавить" is always enabled.
enum class RowCommand { Edit, Delete, MoveUp, MoveDown };

struct CommandStates {
  bool edit = false;
  bool remove = false;
  bool moveUp = false;
  bool moveDown = false;
  bool Enabled(RowCommand command) const;
  friend bool operator==(const CommandStates&, const CommandStates&) = default;
};

CommandStates CommandStatesFor(std::optional<std::size_t> selected, std::size_t rowCount);

}  // namespace qs
