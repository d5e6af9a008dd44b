#include "platform/win32/win32_files.h"

#include <windows.h>
// windows.h maps CopyFile to CopyFileW, which would rename our method.
#undef CopyFile

#include <algorithm>
#include <atomic>
#include <string>

#include "platform/win32/handle_types.h"
#include "platform/win32/text_convert.h"

namespace qs::win32 {
namespace {

FileResult Failed(DWORD code) { return {false, ErrorText(code)}; }

// WriteFile takes a DWORD count; large buffers go in slices.
bool WriteAll(HANDLE file, std::string_view bytes) {
  constexpr std::size_t kSlice = 1u << 30;
  while (!bytes.empty()) {
    const DWORD want = static_cast<DWORD>(std::min(bytes.size(), kSlice));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), want, &written, nullptr)) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// A name beside the target that no one else uses: CREATE_NEW refuses an
// existing file, so a clash only costs another try.
struct TempFile {
  std::wstring path;
  unique_file handle;
};

TempFile CreateTempBeside(const std::wstring& target, DWORD& error) {
  static std::atomic<unsigned> counter{0};
  const std::wstring stem = target + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    TempFile temp;
    temp.path = stem + std::to_wstring(counter++) + L".tmp";
    temp.handle.reset(::CreateFileW(temp.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));  // becomes the target
    if (temp.handle) return temp;
    error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return {};
}

DWORD CheckReplaceable(const std::wstring& target) {
  const unique_file probe(::CreateFileW(target.c_str(), DELETE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return probe ? ERROR_SUCCESS : ::GetLastError();
}

// Swaps the finished temporary file in for the target. ReplaceFileW keeps
// the target's attributes and security; where it cannot do the job (Wine
// and some file systems refuse cases Windows handles), a replacing rename
// is just as atomic for us. Neither call touches the target when it fails.
DWORD MoveIntoPlace(const std::wstring& temp, const std::wstring& target) {
  constexpr DWORD kMoveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    // A target another program holds without delete sharing cannot be
    // replaced. Say so plainly; Wine's ReplaceFileW would also leave a
    // stray "rf*.tmp" beside it.
    if (const DWORD held = CheckReplaceable(target); held != ERROR_SUCCESS) return held;
    if (::ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                       nullptr, nullptr)) {
      return ERROR_SUCCESS;
    }
    const DWORD replaceError = ::GetLastError();
    // With no backup file asked for, only this error means the target was
    // renamed away; never seen, but then a rename must not clobber anything.
    if (replaceError == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) return replaceError;
    if (::MoveFileExW(temp.c_str(), target.c_str(), kMoveFlags)) return ERROR_SUCCESS;
    return ::GetLastError();
  }
  if (::MoveFileExW(temp.c_str(), target.c_str(), kMoveFlags)) return ERROR_SUCCESS;
  return ::GetLastError();
}

}  // namespace

std::string Win32Files::ExecutablePath() const {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    // A full buffer means the path was cut; long paths reach 32767 units.
    if (n < buffer.size()) {
      buffer.resize(n);
      return WideToUtf8(buffer);
    }
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::string Win32Files::ExecutableFolder() const {
  std::string path = ExecutablePath();
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool Win32Files::Exists(const std::string& path) const {
  const DWORD attributes = ::GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileContents Win32Files::ReadAll(const std::string& path) const {
  FileContents result;
  unique_file file(::CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) {
    result.error = LastErrorText();
    return result;
  }
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) {
    result.bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  }
  // Read to the end rather than to the size: a writer sharing the file may
  // change its length meanwhile.
  char chunk[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) {
      result.bytes.clear();
      result.error = LastErrorText();
      return result;
    }
    if (got == 0) break;
    result.bytes.append(chunk, got);
  }
  result.ok = true;
  return result;
}

FileResult Win32Files::ReplaceAtomically(const std::string& path, std::string_view bytes) {
  const std::wstring target = Utf8ToWide(path);
  DWORD error = ERROR_SUCCESS;
  TempFile temp = CreateTempBeside(target, error);
  if (!temp.handle) return Failed(error);

  if (!WriteAll(temp.handle.get(), bytes) || !::FlushFileBuffers(temp.handle.get())) {
    error = ::GetLastError();
  }
  // Closing flushes what is left; a failure here is a failed write too.
  if (!::CloseHandle(temp.handle.release()) && error == ERROR_SUCCESS) error = ::GetLastError();
  if (error == ERROR_SUCCESS) error = MoveIntoPlace(temp.path, target);
  if (error != ERROR_SUCCESS) {
    ::DeleteFileW(temp.path.c_str());
    return Failed(error);
  }
  return {true, {}};
}

FileResult Win32Files::CopyFile(const std::string& from, const std::string& to) {
  if (!::CopyFileW(Utf8ToWide(from).c_str(), Utf8ToWide(to).c_str(), FALSE)) {
    return Failed(::GetLastError());
  }
  return {true, {}};
}

}  // namespace qs::win32
