#include "platform/win32/clipboard_blocks.h"

#include <cwchar>

#include "platform/win32/handle_types.h"

namespace qs::win32 {

std::optional<std::wstring> ReadTextBlock(HANDLE block) {
  if (!block) return std::nullopt;
  const auto* chars = static_cast<const wchar_t*>(::GlobalLock(block));
  if (!chars) return std::nullopt;
  const unique_global_lock lock(block);
  const std::size_t capacity = ::GlobalSize(block) / sizeof(wchar_t);
  return std::wstring(chars, ::wcsnlen(chars, capacity));
}

std::optional<DWORD> ReadDwordBlock(HANDLE block) {
  if (!block || ::GlobalSize(block) < sizeof(DWORD)) return std::nullopt;
  const auto* value = static_cast<const DWORD*>(::GlobalLock(block));
  if (!value) return std::nullopt;
  const unique_global_lock lock(block);
  return *value;
}

}  // namespace qs::win32
