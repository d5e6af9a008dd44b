#include "settings/settings_file.h"

#include "model/handler_error.h"
#include "settings/settings_messages.h"

namespace qs {

std::string SettingsPath(const FilePort& files) {
  return files.ExecutableFolder() + kSettingsFileName;
}

LoadResult ReadSettingsFile(FilePort& files, XmlReaderPort& xml, EntryModel& model) {
  const std::string path = SettingsPath(files);
  if (!files.Exists(path)) return {LoadStatus::Missing, {}};

  FileContents contents = files.ReadAll(path);
  // The file may be fine and only held by another program: no copy is made.
  if (!contents.ok) return {LoadStatus::Failed, UnreadableFileMessage(path, contents.error)};

  // Moved in: the reader parses the file's own buffer and nothing else keeps it.
  XmlParseResult parsed = xml.Parse(std::move(contents.bytes));
  std::string problem;
  if (!parsed.ok) {
    problem = std::move(parsed.error);
  } else {
    try {
      ReadSettingsTree(parsed.root, model);
      return {LoadStatus::Loaded, {}};
    } catch (const HandlerError& e) {
      problem = e.what();
    }
  }

  // Keep the broken file where the next save cannot overwrite it.
  const std::string badPath = path + ".bad";
  const FileResult copy = files.CopyFile(path, badPath);
  return {LoadStatus::Failed, BrokenFileMessage(path, problem, badPath, copy)};
}

FileResult SaveSettingsFile(FilePort& files, const EntryModel& model) {
  const std::string path = SettingsPath(files);
  const bool hadFile = files.Exists(path);
  const FileResult written = files.ReplaceAtomically(path, WriteSettingsXml(model));
  if (written.ok) return written;
  return {false, SaveFailedMessage(path, written.error, hadFile)};
}

}  // namespace qs
