// The system clipboard, read as text.
#pragma once

#include <cstdint>
#include <string>

namespace qs {

struct ClipboardText {
  enum class Status { Ok, NoText, Unavailable };  // Unavailable: held open by another program
  Status status = Status::NoText;
  std::string text;  // Windows-1251; characters outside it become '?'
};

class ClipboardPort {
 public:
  virtual ~ClipboardPort() = default;
  // Changes with every change of the clipboard's contents.
  virtual std::uint32_t SequenceNumber() = 0;
  virtual ClipboardText ReadText() = 0;
  // True when the owner marked the contents as not for clipboard history.
  virtual bool IsPrivate() = 0;
};

}  // namespace qs
