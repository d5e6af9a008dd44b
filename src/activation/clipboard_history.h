// Clipboard history: while monitoring is on, every new clipboard text
// becomes an item of the submenu "Буфер обмена" and a history row.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/entry_model.h"
#include "platform/clipboard.h"
#include "platform/popup_menu.h"

namespace qs {

// History items show at most this many characters of their text.
inline constexpr std::size_t kHistoryCaptionLength = 30;

class ClipboardHistory {
 public:
  // One tick of the clipboard poll. Returns true when the clipboard held
  // text (the tray hint is then refreshed); false on a tick without text or
  // when the clipboard could not be read, which the poll ignores.
  // `menuChanged` is set when the snippet menu changed.
  bool Tick(ClipboardPort& clipboard, EntryModel& model, MenuItem& snippetMenu, bool& menuChanged);

  // The reload routine forgets the last captured text, so the text then on
  // the clipboard is captured again.
  void ForgetLastText();

  const std::string& lastText() const { return lastText_; }

 private:
  bool ReadIfChanged(ClipboardPort& clipboard);

  std::string lastText_;  // LastClipboardText, trimmed

  // What the clipboard held at the last read. A large text is read again
  // only when the clipboard's sequence number moves.
  std::optional<std::uint32_t> readSequence_;
  bool readHasText_ = false;
  bool readIsPrivate_ = false;
  std::string readText_;  // trimmed
  bool settled_ = false;  // readText_ has been compared with lastText_ and nothing is due
};

// The number of history items in the clipboard submenu, 0 when there is none.
std::size_t HistoryItemCount(const EntryModel& model, const MenuItem& snippetMenu);

}  // namespace qs
