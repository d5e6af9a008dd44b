#include "ui/command_states.h"

namespace qs {

bool CommandStates::Enabled(RowCommand command) const {
  switch (command) {
    case RowCommand::Edit:
      return edit;
    case RowCommand::Delete:
      return remove;
    case RowCommand::MoveUp:
      return moveUp;
    case RowCommand::MoveDown:
      return moveDown;
  }
  return false;
}

// A single row is both first and last, so both moves end disabled.
CommandStates CommandStatesFor(std::optional<std::size_t> selected, std::size_t rowCount) {
  if (!selected || *selected >= rowCount) return {};
  return {true, true, *selected != 0, *selected + 1 != rowCount};
}

}  // namespace qs
