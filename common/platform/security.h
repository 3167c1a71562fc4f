// Access rules for the objects the kit makes (the machine-wide setup lock, the private
// temporary folder, everything it installs), written in Windows' text form of a security
// descriptor.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

class SecurityDescriptor {
 public:
  // From a descriptor's text ("D:P(A;;GA;;;SY)..."); Valid() is false when Windows refused it.
  explicit SecurityDescriptor(const std::wstring& text);
  ~SecurityDescriptor();
  SecurityDescriptor(const SecurityDescriptor&) = delete;
  SecurityDescriptor& operator=(const SecurityDescriptor&) = delete;

  bool Valid() const { return descriptor_ != nullptr; }
  // For a Create call: not inherited by the programs this one starts.
  SECURITY_ATTRIBUTES* Attributes() { return Valid() ? &attributes_ : nullptr; }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
  SECURITY_ATTRIBUTES attributes_{};
};

// The rights of every folder the kit creates and every file it writes into the install
// folder, given as each is created: those of Program Files, full control for SYSTEM and the
// administrators, read and run for the users, nothing for anyone else and nothing inherited
// from above. What runs with an administrator's or SYSTEM's rights (the uninstaller, the
// review monitor at every log-on, the product from the all-users Start menu, the log the
// uninstaller carries out) can then be changed by no other user, wherever it is installed.
SECURITY_ATTRIBUTES* InstalledFolderRights();
SECURITY_ATTRIBUTES* InstalledFileRights();

// Whether the rules of an existing folder let a user other than SYSTEM, the administrators,
// the installer's own user and Windows' installer service add files to it or change its
// rules (false when they cannot be read). `folder` is GBK.
bool OthersMayAddFiles(const std::string& folder);

// The user this program runs as, in a descriptor's text form ("S-1-5-21-..."); empty when
// Windows does not say.
std::wstring CurrentUserSid();

}  // namespace platform
