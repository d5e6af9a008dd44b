#include "activation/clipboard_history.h"

#include "model/cp1251.h"
#include "model/trim.h"

namespace qs {

bool ClipboardHistory::ReadIfChanged(ClipboardPort& clipboard) {
  const std::uint32_t sequence = clipboard.SequenceNumber();
  if (readSequence_ == sequence) return true;
  ClipboardText read = clipboard.ReadText();
  if (read.status == ClipboardText::Status::Unavailable) return false;  // try again next tick
  readSequence_ = sequence;
  readHasText_ = read.status == ClipboardText::Status::Ok;
  // Password managers mark what they copy; such texts never enter the history.
  readIsPrivate_ = readHasText_ && clipboard.IsPrivate();
  readText_ = readHasText_ ? Trim(read.text) : std::string();
  settled_ = false;
  return true;
}

bool ClipboardHistory::Tick(ClipboardPort& clipboard, EntryModel& model, MenuItem& snippetMenu,
                            bool& menuChanged) {
  menuChanged = false;
  if (!ReadIfChanged(clipboard) || !readHasText_) return false;
  if (settled_ || readIsPrivate_) return true;

  if (readText_ == lastText_) {
    settled_ = true;
    return true;
  }
  if (!model.clipboardMenuIndex || *model.clipboardMenuIndex >= snippetMenu.children.size()) {
    // The first text only creates the submenu; the next tick adds the text.
    snippetMenu.children.push_back(
        MenuItem{std::string("Буфер обмена"_cp1251), std::nullopt, MenuPicture::Clipboard, {}});
    model.clipboardMenuIndex = snippetMenu.children.size() - 1;
    menuChanged = true;
    return true;
  }
  std::string caption = readText_.substr(0, kHistoryCaptionLength);
  const int tag = static_cast<int>(model.RowCount());
  snippetMenu.children[*model.clipboardMenuIndex].children.push_back(
      MenuItem{caption, tag, MenuPicture::None, {}});
  model.AppendHistoryRow(std::move(caption), readText_);
  lastText_ = readText_;
  settled_ = true;
  menuChanged = true;
  return true;
}

void ClipboardHistory::ForgetLastText() {
  lastText_.clear();
  settled_ = false;
}

std::size_t HistoryItemCount(const EntryModel& model, const MenuItem& snippetMenu) {
  if (!model.clipboardMenuIndex || *model.clipboardMenuIndex >= snippetMenu.children.size()) {
    return 0;
  }
  return snippetMenu.children[*model.clipboardMenuIndex].children.size();
}

}  // namespace qs
