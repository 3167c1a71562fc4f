#include "common/files/read_only.h"
#include "common/platform/files.h"

namespace files {

void ClearReadOnly(const std::string& path, DWORD attributes) {
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0) return;
  const DWORD rest = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  platform::SetFileAttributesGbk(path, rest != 0 ? rest : FILE_ATTRIBUTE_NORMAL);
}

void ClearReadOnly(const std::string& path) { ClearReadOnly(path, platform::GetFileAttributesGbk(path)); }

void ClearReadOnly(const std::wstring& path) {
  const DWORD attributes = platform::GetFileAttributesWide(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0) return;
  const DWORD rest = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  platform::SetFileAttributesWide(path, rest != 0 ? rest : FILE_ATTRIBUTE_NORMAL);
}

bool DeleteFileAlways(const std::string& path) {
  if (platform::DeleteFileGbk(path)) return true;
  const DWORD refusal = GetLastError();
  const DWORD attributes =
      refusal == ERROR_ACCESS_DENIED ? platform::GetFileAttributesGbk(path) : INVALID_FILE_ATTRIBUTES;
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0) {
    SetLastError(refusal);
    return false;
  }
  ClearReadOnly(path, attributes);
  return platform::DeleteFileGbk(path);
}

bool IsGone(DWORD windowsError) { return windowsError == ERROR_FILE_NOT_FOUND || windowsError == ERROR_PATH_NOT_FOUND; }

}  // namespace files
