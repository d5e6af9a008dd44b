// Files through the W functions; paths arrive as UTF-8.
#pragma once

#include "platform/files.h"

namespace qs::win32 {

class Win32Files : public FilePort {
 public:
  std::string ExecutablePath() const override;
  std::string ExecutableFolder() const override;
  bool Exists(const std::string& path) const override;
  FileContents ReadAll(const std::string& path) const override;
  FileResult ReplaceAtomically(const std::string& path, std::string_view bytes) override;
  FileResult CopyFile(const std::string& from, const std::string& to) override;
};

}  // namespace qs::win32
