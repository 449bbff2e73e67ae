// Replacing a file on Windows: a new file beside it, flushed, then ReplaceFileW (which keeps
// the old file's attributes and security) or, for a new file, MoveFileExW, written through.
#include "fileio.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace fileio {

namespace {

constexpr int max_name_tries = 100;

// The system's words for an error code, on one line.
std::string system_message(DWORD code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string out =
      length > 0 && text != nullptr ? std::string(text, length) : "error " + std::to_string(code);
  if (text != nullptr) LocalFree(text);
  while (!out.empty() &&
         (out.back() == '\n' || out.back() == '\r' || out.back() == '.' || out.back() == ' ')) {
    out.pop_back();
  }
  return out;
}

// Writes `bytes` to a new file beside `target` and flushes it. False with GetLastError set;
// the new file is then gone.
bool write_beside(const std::wstring& target, const std::string& bytes, std::wstring& temporary) {
  static unsigned counter = 0;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int i = 0; i < max_name_tries && file == INVALID_HANDLE_VALUE; ++i) {
    temporary = target + L".new" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(counter++);
    file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written > 0;
    done += written;
  }
  if (ok) ok = FlushFileBuffers(file) != 0;
  const DWORD code = GetLastError();
  CloseHandle(file);
  if (!ok) {
    DeleteFileW(temporary.c_str());
    SetLastError(code);
  }
  return ok;
}

}  // namespace

bool replace_file(const std::string& path, const std::string& bytes, std::string& error) {
  const std::string target = final_target(path);
  const std::string where = target == path ? "" : " (writing " + target + ")";
  const std::wstring wide = std::filesystem::path(target).wstring();
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
  if (existed && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    error = std::string("it is a folder") + where;
    return false;
  }
  if (existed && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    error = "it is read-only" + where;
    return false;
  }
  std::wstring temporary;
  if (!write_beside(wide, bytes, temporary)) {
    error = system_message(GetLastError()) + where;
    return false;
  }
  // ReplaceFileW keeps the old file's attributes and permissions; where it cannot (some file
  // systems, or no old file), a move replaces the file in one step all the same.
  bool ok = existed && ReplaceFileW(wide.c_str(), temporary.c_str(), nullptr,
                                    REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
  if (!ok) {
    ok = MoveFileExW(temporary.c_str(), wide.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  if (!ok) {
    const DWORD code = GetLastError();
    DeleteFileW(temporary.c_str());
    error = system_message(code) + where;
    return false;
  }
  return true;
}

}  // namespace fileio
