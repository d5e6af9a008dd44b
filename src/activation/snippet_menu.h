// The snippet menu that the hotkey opens, built from the entry and group lists.
#pragma once

#include "model/entry_model.h"
#include "platform/popup_menu.h"

namespace qs {

// Button1Click: the entries of "Без группы" at the top level in row order,
// then one folder item per user group (line order) holding that group's
// entries in row order. Entries of unknown groups and history rows get no
// item. Items carry their row index as tag.
MenuItem BuildSnippetMenu(const EntryModel& model);

// Number of top-level items the menu built from the model has before any
// clipboard submenu: ungrouped entries plus user groups.
std::size_t TopLevelEntryItemCount(const EntryModel& model);

}  // namespace qs
