// The three editing windows wired together over fake views and FakeDialogs,
// as the program wires them over its Win32 windows.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "fake_views.h"
#include "fakes/fake_platform.h"
#include "model/cp1251.h"
#include "ui/entry_editor.h"
#include "ui/group_manager.h"
#include "ui/settings_window.h"

namespace qs::test {

class UiTest : public ::testing::Test {
 protected:
  UiTest() {
    editorView.onShow = [this] { editor.FormShow(); };
    editorView.onClose = [this] { editor.FormClose(); };
    groupView.onShow = [this] { groups.FormShow(); };
  }

  // Entries with the given menu texts in "Без группы", shown in the list.
  void SetRows(std::initializer_list<const char*> menuTexts) {
    for (const char* text : menuTexts) {
      model.AppendEntry(Utf8ToCp1251(text), "text", std::string(NoGroupName()));
    }
    settings.ModelReloaded();
  }

  void AddGroups(std::initializer_list<const char*> names) {
    for (const char* name : names) model.AppendGroup(Utf8ToCp1251(name));
  }

  // The menu texts of the model's rows, in UTF-8.
  std::vector<std::string> ModelMenuTexts() const {
    std::vector<std::string> out;
    for (const auto& row : model.Rows()) out.push_back(Cp1251ToUtf8(row.shorttext));
    return out;
  }

  // The user groups, lines 1 onward, in UTF-8.
  std::vector<std::string> UserGroups() const {
    std::vector<std::string> out;
    for (std::size_t j = 1; j < model.GroupCount(); ++j)
      out.push_back(Cp1251ToUtf8(model.Group(j)));
    return out;
  }

  // The messages shown so far, in UTF-8.
  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const auto& text : dialogs.messages) out.push_back(Cp1251ToUtf8(text));
    return out;
  }

  EventLog log;
  FakeDialogs dialogs{log};
  EntryModel model;
  FakeSettingsView listView;
  FakeEntryEditorView editorView;
  FakeGroupManagerView groupView;
  GroupManager groups{model, groupView, editorView, dialogs, listView};
  EntryEditor editor{model, editorView, dialogs, listView, groups};
  int reloads = 0;
  SettingsWindow settings{model, listView, dialogs, editor, [this] { ++reloads; }};
};

}  // namespace qs::test
