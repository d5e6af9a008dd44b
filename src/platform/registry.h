// String values under HKEY_CURRENT_USER. Key paths and names are ASCII,
// values UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace qs {

class RegistryPort {
 public:
  virtual ~RegistryPort() = default;
  // Opens the key with creation allowed and writes a REG_SZ value.
  virtual bool WriteString(std::string_view keyPath, std::string_view name,
                           std::string_view value) = 0;
  virtual bool ValueExists(std::string_view keyPath, std::string_view name) = 0;
  virtual bool DeleteValue(std::string_view keyPath, std::string_view name) = 0;
};

}  // namespace qs
