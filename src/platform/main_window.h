// The main window as the core drives it: visibility, caption, focus.
#pragma once

#include <string>
#include <string_view>

#include "platform/handles.h"

namespace qs {

class MainWindowPort {
 public:
  virtual ~MainWindowPort() = default;

  virtual WindowHandle Handle() const = 0;
  // Restores the window when minimised, makes it visible and puts it in front.
  virtual void ShowMainWindow() = 0;
  // Makes the window and its taskbar button invisible.
  virtual void HideMainWindow() = 0;
  virtual bool IsVisible() const = 0;
  // Caption (Windows-1251): "Quipstream", or the pending text of an armed run.
  virtual void SetCaption(std::string_view cp1251) = 0;
  // "Сохранить" gets the focus the next time the window is shown.
  virtual void FocusSaveButton() = 0;
  // Asks the window to close; the close query decides.
  virtual void RequestClose() = 0;
  // Redraws the command buttons, the hotkey field, its label and the check boxes.
  virtual void RepaintControls() = 0;
};

}  // namespace qs
