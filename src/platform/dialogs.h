// Message boxes and the input box. Texts are Windows-1251.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qs {

class DialogPort {
 public:
  virtual ~DialogPort() = default;
  // Plain message box: OK button, caption "Quipstream".
  virtual void ShowMessage(std::string_view text) = 0;
  // The error report for a failed handler: error icon, caption "Quipstream".
  virtual void ShowError(std::string_view text) = 0;
  // Yes/No without icon, Yes the default; true for Yes.
  virtual bool Confirm(std::string_view text, std::string_view caption) = 0;
  // Caption, prompt, one field of at most 255 characters starting selected;
  // none when cancelled.
  virtual std::optional<std::string> InputBox(std::string_view caption, std::string_view prompt,
                                              std::string_view initial) = 0;
};

}  // namespace qs
