// Files: the settings file must survive any failed save, byte for byte.
#include "platform/win32/win32_files.h"

#include <windows.h>
#undef CopyFile  // windows.h would rename FilePort::CopyFile here

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/handle_types.h"
#include "platform/win32/text_convert.h"
#include "win32/test_environment.h"

namespace qs::win32 {
namespace {

using test::ScratchFolder;

// Bytes that a text-mode write or a stray conversion would alter.
const std::string kAwkwardBytes = std::string("line1\r\nline2\n\0\xC0\xFF\x1A end", 22);

void WriteRaw(const std::string& path, const std::string& bytes) {
  unique_file file(::CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file) << LastErrorText();
  DWORD written = 0;
  ASSERT_TRUE(::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

std::string ReadRaw(const std::string& path) {
  FileContents contents = Win32Files().ReadAll(path);
  EXPECT_TRUE(contents.ok) << contents.error;
  return contents.bytes;
}

TEST(Win32Files, ExecutablePathAndFolderNameThisProgram) {
  Win32Files files;
  const std::string path = files.ExecutablePath();
  const std::string folder = files.ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_EQ(path, folder + "quipstream_win32_tests.exe");
  EXPECT_TRUE(files.Exists(path));
}

TEST(Win32Files, ExistsOnlyForFiles) {
  ScratchFolder dir;
  WriteRaw(dir.File(L"Settings.xml"), "x");
  Win32Files files;
  EXPECT_TRUE(files.Exists(dir.File(L"Settings.xml")));
  EXPECT_FALSE(files.Exists(dir.File(L"missing.xml")));
  EXPECT_FALSE(files.Exists(dir.utf8()));
}

TEST(Win32Files, ReplaceAtomicallyWritesExactBytesNewOrOverExisting) {
  ScratchFolder dir;
  // The Cyrillic name checks that the UTF-8 path reaches the W functions.
  const std::string path = dir.File(L"\u041D\u0430\u0441\u0442\u0440\u043E\u0439\u043A\u0438.xml");
  Win32Files files;
  for (const std::string& content : {kAwkwardBytes, std::string("shorter"), std::string()}) {
    const FileResult result = files.ReplaceAtomically(path, content);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.error.empty());
    EXPECT_EQ(ReadRaw(path), content);
    EXPECT_EQ(dir.List().size(), 1u) << "a temporary file was left behind";
  }
}

TEST(Win32Files, FailedReplaceLeavesTargetAndNoTemporaryFile) {
  ScratchFolder dir;
  const std::string path = dir.File(L"Settings.xml");
  WriteRaw(path, kAwkwardBytes);
  Win32Files files;

  {
    // Another program holds the file without FILE_SHARE_DELETE: it can be
    // neither replaced nor renamed over.
    unique_file holder(::CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    const FileResult result = files.ReplaceAtomically(path, "new content");
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
  }
  EXPECT_EQ(ReadRaw(path), kAwkwardBytes);
  EXPECT_EQ(dir.List(), std::vector<std::wstring>{L"Settings.xml"});
}

TEST(Win32Files, ReplaceIntoMissingFolderFailsWithReason) {
  ScratchFolder dir;
  const std::string path = dir.File(L"no-such-folder\\Settings.xml");
  const FileResult result = Win32Files().ReplaceAtomically(path, "x");
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.error.empty());
  EXPECT_TRUE(dir.List().empty());
}

TEST(Win32Files, ReadAllWhileAnotherProgramWritesTheFile) {
  ScratchFolder dir;
  const std::string path = dir.File(L"Settings.xml");
  WriteRaw(path, kAwkwardBytes);
  unique_file writer(::CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer);
  EXPECT_EQ(ReadRaw(path), kAwkwardBytes);
}

TEST(Win32Files, ReadAllOfMissingFileReportsWhy) {
  ScratchFolder dir;
  const FileContents contents = Win32Files().ReadAll(dir.File(L"missing.xml"));
  EXPECT_FALSE(contents.ok);
  EXPECT_TRUE(contents.bytes.empty());
  EXPECT_NE(contents.error.find("2)"), std::string::npos) << contents.error;  // ERROR_FILE_NOT_FOUND
}

TEST(Win32Files, CopyFileReplacesTheCopyAndReportsFailure) {
  ScratchFolder dir;
  const std::string from = dir.File(L"Settings.xml");
  const std::string to = dir.File(L"Settings.xml.bad");
  WriteRaw(from, kAwkwardBytes);
  WriteRaw(to, "older copy");
  Win32Files files;
  const FileResult copied = files.CopyFile(from, to);
  ASSERT_TRUE(copied.ok) << copied.error;
  EXPECT_EQ(ReadRaw(to), kAwkwardBytes);

  const FileResult missing = files.CopyFile(dir.File(L"missing.xml"), to);
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(missing.error.empty());
  EXPECT_EQ(ReadRaw(to), kAwkwardBytes);
}

}  // namespace
}  // namespace qs::win32
