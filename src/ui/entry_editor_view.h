// What the entry editor's logic needs from its Win32 dialog (TNewOp). Every
// text crosses this interface as UTF-8, so that characters without a
// Windows-1251 byte reach the logic intact and can be refused there.
#pragma once

#include <string>
#include <string_view>

#include "ui/group_box.h"

namespace qs {

class EntryEditorView : public GroupBox {
 public:
  virtual void SetTitle(std::string_view utf8) = 0;
  virtual void SetMenuLabel(std::string_view utf8) = 0;  // the label above RzEdit1
  virtual void SetTextLabel(std::string_view utf8) = 0;  // the label above mmo2

  // RzEdit1, the menu-text field.
  virtual std::string MenuText() const = 0;
  virtual void SetMenuText(std::string_view utf8) = 0;
  virtual void FocusMenuText() = 0;

  // mmo2, the inserted-text field. It keeps its selection and caret while
  // another control has the focus.
  virtual std::string InsertedText() const = 0;
  virtual void SetInsertedText(std::string_view utf8) = 0;
  virtual void SelectAllInsertedText() = 0;
  // Puts the text in place of the selection, or at the caret when nothing
  // is selected; the caret ends up after it. The focus does not move.
  virtual void ReplaceInsertedSelection(std::string_view utf8) = 0;
  virtual void PutCaretAtEnd() = 0;
  virtual void FocusInsertedText() = 0;

  // Shows the dialog modally and returns when it has closed. The window
  // calls FormShow when it appears and FormClose whenever it closes.
  virtual void ShowModal() = 0;
  virtual void Close() = 0;
};

}  // namespace qs
