#include "common/platform/private_folder.h"

#include <windows.h>
#include <bcrypt.h>

#include <vector>

#include "common/platform/files.h"
#include "common/platform/machine_changes.h"
#include "common/platform/security.h"

namespace platform {

namespace {

// The random part of a folder's name: 128 bits in hexadecimal.
std::optional<std::wstring> RandomName() {
  unsigned char bytes[16];
  if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, bytes, sizeof bytes, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
    return std::nullopt;
  }
  std::wstring name = L"Quendral-";
  for (unsigned char byte : bytes) {
    name += L"0123456789abcdef"[byte >> 4];
    name += L"0123456789abcdef"[byte & 0xF];
  }
  return name;
}

}  // namespace

std::optional<std::wstring> TemporaryFolderWide() {
  using GetTempPath2Function = DWORD(WINAPI*)(DWORD, LPWSTR);
  // Not in every Windows (nor in Wine 8): looked up when the program runs.
  const auto getTempPath2 = reinterpret_cast<GetTempPath2Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTempPath2W")));
  std::vector<wchar_t> folder(MAX_PATH + 1);
  const DWORD length = getTempPath2 != nullptr ? getTempPath2(static_cast<DWORD>(folder.size()), folder.data())
                                               : GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
  if (length == 0 || length >= folder.size()) return std::nullopt;
  return std::wstring(folder.data(), length);
}

std::optional<std::wstring> CreatePrivateTempFolder(const std::vector<std::wstring>& goAtRestart,
                                                    bool folderGoesAtRestart) {
  const std::optional<std::wstring> temporary = TemporaryFolderWide();
  const std::wstring user = CurrentUserSid();
  if (!temporary || user.empty()) return std::nullopt;
  // Protected (P): the temporary folder's own rules do not reach in.
  SecurityDescriptor privateAccess(L"D:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" + user + L")");
  if (!privateAccess.Valid()) return std::nullopt;
  constexpr int kNamesToTry = 16;
  for (int tries = 0; tries < kNamesToTry; ++tries) {
    const std::optional<std::wstring> name = RandomName();
    if (!name) return std::nullopt;
    const std::wstring folder = *temporary + *name;
    for (const std::wstring& file : goAtRestart) DeleteAtRestartWide(folder + L"\\" + file);
    if (folderGoesAtRestart) DeleteAtRestartWide(folder);
    if (ReportedChange(CreateDirectoryW(folder.c_str(), privateAccess.Attributes()))) return folder + L"\\";
    if (GetLastError() != ERROR_ALREADY_EXISTS) return std::nullopt;
  }
  return std::nullopt;
}

bool RemovePrivateTempFolder(const std::wstring& folder) {
  std::wstring path = folder;
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  bool removed = true;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring inner = path + L"\\" + name;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        removed = RemovePrivateTempFolder(inner) && removed;
      } else {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) SetFileAttributesW(inner.c_str(), FILE_ATTRIBUTE_NORMAL);
        removed = ReportedChange(DeleteFileW(inner.c_str())) && removed;
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  return ReportedChange(RemoveDirectoryW(path.c_str())) && removed;
}

}  // namespace platform
