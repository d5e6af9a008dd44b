// Message boxes and the input box. Texts are Windows-1251.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/cp1251.h"

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
  // The same input box with the typed text returned as UTF-8 (caption,
  // prompt and initial text stay Windows-1251), so that the caller can
  // refuse characters that have no Windows-1251 byte instead of keeping '?'.
  // A port that can return the text losslessly overrides this.
  virtual std::optional<std::string> InputBoxUtf8(std::string_view caption,
                                                  std::string_view prompt,
                                                  std::string_view initial) {
    auto text = InputBox(caption, prompt, initial);
    if (!text) return std::nullopt;
    return Cp1251ToUtf8(*text);
  }
};

}  // namespace qs
