// Message boxes and the input box, owned by the window the source names.
#pragma once

#include "platform/dialogs.h"
#include "platform/win32/window_source.h"

namespace qs::win32 {

class Win32Dialogs : public DialogPort {
 public:
  explicit Win32Dialogs(WindowSource owner) : owner_(std::move(owner)) {}
  void ShowMessage(std::string_view text) override;
  void ShowError(std::string_view text) override;
  bool Confirm(std::string_view text, std::string_view caption) override;
  std::optional<std::string> InputBox(std::string_view caption, std::string_view prompt,
                                      std::string_view initial) override;
  std::optional<std::string> InputBoxUtf8(std::string_view caption, std::string_view prompt,
                                          std::string_view initial) override;

 private:
  WindowSource owner_;
};

}  // namespace qs::win32
