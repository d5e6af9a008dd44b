#include "settings/autostart.h"

#include <string>

#include "model/handler_error.h"

namespace qs {

void SetAutostart(RegistryPort& registry, std::string_view name, std::string_view path) {
  if (!registry.WriteString(kRunKeyPath, name, path)) {
    throw HandlerError("Failed to set data for '" + std::string(name) + "'");
  }
}

// A value that cannot be deleted is left as it is: nothing reports it.
void RemoveAutostart(RegistryPort& registry, std::string_view name) {
  if (registry.ValueExists(kRunKeyPath, name)) registry.DeleteValue(kRunKeyPath, name);
}

}  // namespace qs
