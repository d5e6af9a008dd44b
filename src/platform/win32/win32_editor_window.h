// The entry editor TNewOp, created hidden at start and shown modally over
// the settings window for every add and edit; it lives for the whole run.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/win32/win32_tooltip.h"
#include "platform/win32/win32_ui_metrics.h"
#include "platform/win32/win32_view_layout.h"
#include "ui/entry_editor_view.h"

namespace qs {
class EntryEditor;
}

namespace qs::win32 {

class Win32EditorWindow final : public EntryEditorView {
 public:
  // Throws std::runtime_error when the window cannot be created.
  Win32EditorWindow(HINSTANCE instance, HWND owner);
  Win32EditorWindow(const Win32EditorWindow&) = delete;
  Win32EditorWindow& operator=(const Win32EditorWindow&) = delete;

  HWND hwnd() const { return hwnd_.get(); }
  // The window's events reach the editor's logic from now on.
  void Attach(EntryEditor& logic) { logic_ = &logic; }

  // EntryEditorView
  void SetTitle(std::string_view utf8) override;
  void SetMenuLabel(std::string_view utf8) override;
  void SetTextLabel(std::string_view utf8) override;
  std::string MenuText() const override;
  void SetMenuText(std::string_view utf8) override;
  void FocusMenuText() override;
  std::string InsertedText() const override;
  void SetInsertedText(std::string_view utf8) override;
  void SelectAllInsertedText() override;
  void ReplaceInsertedSelection(std::string_view utf8) override;
  void PutCaretAtEnd() override;
  void FocusInsertedText() override;
  void ShowModal() override;
  void Close() override;

  // GroupBox: ComboBox1
  void ClearGroupItems() override;
  void AddGroupItem(std::string_view utf8) override;
  std::size_t GroupItemCount() const override;
  std::string GroupItem(std::size_t index) const override;
  std::optional<std::size_t> SelectedGroupIndex() const override;
  void SelectGroupIndex(std::size_t index) override;

 private:
  template <typename W>
  friend LRESULT CALLBACK ObjectWindowProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK FieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR self);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnFieldMessage(HWND field, UINT message, WPARAM wParam, LPARAM lParam);
  bool PreTranslateMessage(MSG& msg);
  void OnCommand(int id, int code);

  void CreateControls(HINSTANCE instance);
  void ApplyDpi(UINT dpi);
  void PlaceTagButtons(UINT dpi);
  HWND Item(int id) const { return ::GetDlgItem(hwnd(), id); }

  HWND owner_;
  unique_hwnd hwnd_;
  EntryEditor* logic_ = nullptr;
  ViewFonts fonts_;
  std::optional<Tooltips> tooltips_;
  FocusKeeper focus_;
  bool modal_ = false;
  bool closed_ = false;
};

}  // namespace qs::win32
