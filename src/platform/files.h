// Files and the executable's location. Paths are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace qs {

struct FileResult {
  bool ok = false;
  std::string error;  // the system's reason, Windows-1251; empty when ok
};

struct FileContents {
  bool ok = false;
  std::string bytes;
  std::string error;
};

class FilePort {
 public:
  virtual ~FilePort() = default;

  virtual std::string ExecutablePath() const = 0;
  // The folder of the executable, with a trailing separator.
  virtual std::string ExecutableFolder() const = 0;
  virtual bool Exists(const std::string& path) const = 0;
  // Reads the whole file; other programs may go on reading it meanwhile.
  virtual FileContents ReadAll(const std::string& path) const = 0;
  // Writes a temporary file in the same folder, flushes it, then replaces
  // `path` in one step. On failure `path` is left as it was.
  virtual FileResult ReplaceAtomically(const std::string& path, std::string_view bytes) = 0;
  // Copies `from` to `to`, replacing `to`.
  virtual FileResult CopyFile(const std::string& from, const std::string& to) = 0;
};

}  // namespace qs
