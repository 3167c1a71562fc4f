#include "e2e_driver/files.h"

#include <windows.h>
#include <aclapi.h>
#include <bcrypt.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include "common/gbk/gbk_search.h"
#include "e2e_driver/wide.h"

namespace e2e {

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file =
      CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create " << path;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, bytes.size()) << "short write to " << path;
}

std::string ReadBytes(const std::string& path) {
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  CloseHandle(file);
  return bytes;
}

void MakeFolders(const std::string& path) {
  for (std::size_t pos = gbk::Find(path, "\\", 3); pos != gbk::npos; pos = gbk::Find(path, "\\", pos + 1)) {
    CreateDirectoryW(Wide(path.substr(0, pos)).c_str(), nullptr);
  }
  CreateDirectoryW(Wide(path).c_str(), nullptr);
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW(Wide(path + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = Gbk(entry.cFileName);
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesW(Wide(child).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(Wide(child).c_str());
      }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryW(Wide(path).c_str());
}

void CopyOrDie(const std::string& from, const std::string& to) {
  ASSERT_TRUE(CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE))
      << from << " -> " << to << " error " << GetLastError();
}

std::vector<std::string> AllowedUsers(const std::string& path) {
  std::vector<std::string> users;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(Wide(path).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                            nullptr, &descriptor) != ERROR_SUCCESS) {
    return users;
  }
  for (DWORD index = 0; dacl != nullptr && index < dacl->AceCount; ++index) {
    void* ace = nullptr;
    wchar_t* sid = nullptr;
    if (GetAce(dacl, index, &ace) && static_cast<ACE_HEADER*>(ace)->AceType == ACCESS_ALLOWED_ACE_TYPE &&
        ConvertSidToStringSidW(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart, &sid)) {
      users.push_back(Gbk(sid));
      LocalFree(sid);
    }
  }
  LocalFree(descriptor);
  return users;
}

void OpenToEveryone(const std::string& folder) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;OICI;FA;;;WD)", SDDL_REVISION_1, &descriptor,
                                                                   nullptr));
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL dacl = nullptr;
  GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
  EXPECT_EQ(SetNamedSecurityInfoW(Wide(folder).data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                  dacl, nullptr),
            static_cast<DWORD>(ERROR_SUCCESS))
      << folder;
  LocalFree(descriptor);
}

std::string TempFolder() {
  wchar_t temp[MAX_PATH] = L"";
  const DWORD length = GetTempPathW(MAX_PATH, temp);
  return length > 0 && length < MAX_PATH ? Gbk(std::wstring(temp, length)) : std::string();
}

namespace {
void ListInto(const std::string& root, const std::string& relative, int depth, std::map<std::string, long long>& out) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW(Wide(root + relative + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = Gbk(entry.cFileName);
    if (name == "." || name == "..") continue;
    const std::string child = relative + "\\" + name;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out[child] = -1;
      if (depth > 1) ListInto(root, child, depth - 1, out);
    } else {
      out[child] = (static_cast<long long>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    }
  } while (FindNextFileW(search, &entry));
  FindClose(search);
}
}  // namespace

std::map<std::string, long long> ListTree(const std::string& root, int depth) {
  std::map<std::string, long long> out;
  ListInto(root, "", depth, out);
  return out;
}

bool HasSignature(const std::string& program) {
  const std::string bytes = ReadBytes(program);
  if (bytes.size() < sizeof(IMAGE_DOS_HEADER)) return false;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
  if (static_cast<std::size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS64) > bytes.size()) return false;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(bytes.data() + dos->e_lfanew);
  return nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_SECURITY].Size > 0;
}

std::string VersionText(const std::string& program, const std::string& name) {
  std::string data(GetFileVersionInfoSizeW(Wide(program).c_str(), nullptr), '\0');
  if (data.empty() || !GetFileVersionInfoW(Wide(program).c_str(), 0, static_cast<DWORD>(data.size()), data.data()))
    return "";
  const std::wstring key = L"\\StringFileInfo\\080404b0\\" + std::wstring(name.begin(), name.end());
  wchar_t* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || length == 0) return "";
  return Gbk(value);
}

std::array<unsigned char, 32> Sha256Of(const std::string& bytes) {
  std::array<unsigned char, 32> digest{};
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) return digest;
  BCRYPT_HASH_HANDLE hash = nullptr;
  if (BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0))) {
    BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())), static_cast<ULONG>(bytes.size()),
                   0);
    BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0);
    BCryptDestroyHash(hash);
  }
  BCryptCloseAlgorithmProvider(algorithm, 0);
  return digest;
}

}  // namespace e2e
