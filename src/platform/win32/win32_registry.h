// String values under HKEY_CURRENT_USER.
#pragma once

#include "platform/registry.h"

namespace qs::win32 {

class Win32Registry : public RegistryPort {
 public:
  bool WriteString(std::string_view keyPath, std::string_view name,
                   std::string_view value) override;
  bool ValueExists(std::string_view keyPath, std::string_view name) override;
  bool DeleteValue(std::string_view keyPath, std::string_view name) override;
};

}  // namespace qs::win32
