#include "ui/preselect_group.h"

#include "model/cp1251.h"
#include "model/trim.h"

namespace qs {

// In edit mode the selected row is the edited entry, so its own group shows;
// an entry whose group is gone starts on "Без группы". The match is exact:
// a group that differs only in letter case is another group.
void PreselectGroup(GroupBox& box, const EntryModel& model, const ListSelection& settingsList) {
  SelectGroupItem(box, Cp1251ToUtf8(model.Group(0)));
  const auto row = settingsList.SelectedRow();
  if (!row || *row >= model.RowCount()) return;
  const auto& group = model.Row(*row).group;
  if (group) SelectGroupItem(box, Cp1251ToUtf8(TrimView(*group)));
}

}  // namespace qs
