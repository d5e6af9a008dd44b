// The clipboard read as Unicode text and handed to the core in Windows-1251.
#pragma once

#include "platform/clipboard.h"

namespace qs::win32 {

class Win32Clipboard : public ClipboardPort {
 public:
  std::uint32_t SequenceNumber() override;
  ClipboardText ReadText() override;
  bool IsPrivate() override;
};

}  // namespace qs::win32
