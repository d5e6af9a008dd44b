// Settings.xml: the file that holds the entries, the groups and the options.
#pragma once

#include <string>

#include "model/entry_model.h"
#include "platform/files.h"
#include "platform/xml_reader.h"

namespace qs {

inline constexpr const char* kSettingsFileName = "Settings.xml";

std::string SettingsPath(const FilePort& files);

// The document SaveSettings writes, byte for byte. History rows are skipped.
std::string WriteSettingsXml(const EntryModel& model);

// Walks a parsed document into the model (which the caller has reset):
// root children by position, entries, groups, options. Throws HandlerError
// when the root has fewer than three child nodes.
void ReadSettingsTree(const XmlNode& root, EntryModel& model);

enum class LoadStatus { Missing, Loaded, Failed };
struct LoadResult {
  LoadStatus status = LoadStatus::Missing;
  std::string error;  // Windows-1251 message for the user when Failed
};

// Reads Settings.xml into the model. The caller resets the model first (it
// also owns the snippet menu that the reset empties). On failure the model
// keeps what was read before it, the broken file is copied beside as
// Settings.xml.bad so that no later save loses it, and the message says so.
LoadResult ReadSettingsFile(FilePort& files, XmlReaderPort& xml, EntryModel& model);

// Writes the model to Settings.xml without ever leaving the folder without a
// complete file. Returns the message for the user on failure (Windows-1251).
FileResult SaveSettingsFile(FilePort& files, const EntryModel& model);

}  // namespace qs
