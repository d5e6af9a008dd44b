// What the user is told when Settings.xml cannot be read or written.
// Paths are UTF-8; the messages are Windows-1251.
#pragma once

#include <string>
#include <string_view>

#include "platform/files.h"

namespace qs {

std::string UnreadableFileMessage(std::string_view path, std::string_view reason);
// `copy` is the result of keeping the broken file as `badPath`.
std::string BrokenFileMessage(std::string_view path, std::string_view problem,
                              std::string_view badPath, const FileResult& copy);
std::string SaveFailedMessage(std::string_view path, std::string_view reason, bool hadFile);

}  // namespace qs
