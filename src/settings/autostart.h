// Start with Windows: a value under the current user's Run key.
#pragma once

#include <string_view>

#include "platform/registry.h"

namespace qs {

inline constexpr std::string_view kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kAutostartValueName = "Quipstream";

// Writes name = path (UTF-8, unquoted). Throws HandlerError
// "Failed to set data for '<name>'" when the value cannot be written.
void SetAutostart(RegistryPort& registry, std::string_view name, std::string_view path);
// Deletes the value when it exists.
void RemoveAutostart(RegistryPort& registry, std::string_view name);

}  // namespace qs
