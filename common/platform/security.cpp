#include "common/platform/security.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "common/platform/gbk_text.h"

namespace platform {

namespace {

// Read and run (FILE_GENERIC_READ | FILE_GENERIC_EXECUTE) for the users, as Program Files
// gives them; the folder's entries reach what is made inside it, the file's need not.
constexpr wchar_t kInstalledFolderText[] = L"D:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";
constexpr wchar_t kInstalledFileText[] = L"D:PAI(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x1200a9;;;BU)";

// Windows' installer service (NT SERVICE\TrustedInstaller), which owns much of the system drive.
constexpr wchar_t kTrustedInstallerSid[] = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

constexpr ACCESS_MASK kAddsOrRules =
    FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | GENERIC_WRITE | GENERIC_ALL | WRITE_DAC | WRITE_OWNER;

bool IsTrusted(PSID sid, const std::wstring& ownUser) {
  if (IsWellKnownSid(sid, WinLocalSystemSid) || IsWellKnownSid(sid, WinBuiltinAdministratorsSid)) return true;
  wchar_t* text = nullptr;
  if (!ConvertSidToStringSidW(sid, &text)) return false;
  const bool trusted = text == ownUser || std::wstring(text) == kTrustedInstallerSid;
  LocalFree(text);
  return trusted;
}

}  // namespace

SecurityDescriptor::SecurityDescriptor(const std::wstring& text) {
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(text.c_str(), SDDL_REVISION_1, &descriptor_, nullptr)) {
    descriptor_ = nullptr;
    return;
  }
  attributes_.nLength = sizeof attributes_;
  attributes_.lpSecurityDescriptor = descriptor_;
  attributes_.bInheritHandle = FALSE;
}

SecurityDescriptor::~SecurityDescriptor() {
  if (descriptor_ != nullptr) LocalFree(descriptor_);
}

SECURITY_ATTRIBUTES* InstalledFolderRights() {
  static SecurityDescriptor rights(kInstalledFolderText);
  return rights.Attributes();
}

SECURITY_ATTRIBUTES* InstalledFileRights() {
  static SecurityDescriptor rights(kInstalledFileText);
  return rights.Attributes();
}

bool OthersMayAddFiles(const std::string& folder) {
  const WideName name(folder);
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!name.Valid() || GetNamedSecurityInfoW(name.Get(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                             &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring ownUser = CurrentUserSid();
  bool open = dacl == nullptr;  // no rules at all: everyone may do anything
  for (DWORD index = 0; !open && index < dacl->AceCount; ++index) {
    ACE_HEADER* header = nullptr;
    if (!GetAce(dacl, index, reinterpret_cast<void**>(&header)) || header->AceType != ACCESS_ALLOWED_ACE_TYPE ||
        (header->AceFlags & INHERIT_ONLY_ACE) != 0) {
      continue;
    }
    auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
    open = (allowed->Mask & kAddsOrRules) != 0 && !IsTrusted(&allowed->SidStart, ownUser);
  }
  LocalFree(descriptor);
  return open;
}

std::wstring CurrentUserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> user(size != 0 ? size : 1);
  std::wstring text;
  wchar_t* sid = nullptr;
  if (GetTokenInformation(token, TokenUser, user.data(), size, &size) &&
      ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &sid)) {
    text = sid;
    LocalFree(sid);
  }
  CloseHandle(token);
  return text;
}

}  // namespace platform
