// The group the editor's group box starts on: the built-in group, or the
// group of the row selected in the settings list when the box offers it.
#pragma once

#include "model/entry_model.h"
#include "ui/group_box.h"
#include "ui/list_selection.h"

namespace qs {

void PreselectGroup(GroupBox& box, const EntryModel& model, const ListSelection& settingsList);

}  // namespace qs
