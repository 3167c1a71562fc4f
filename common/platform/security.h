// Access rules for the objects the kit makes for itself (the machine-wide setup lock, the
// private temporary folder), written in Windows' text form of a security descriptor.
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

// The user this program runs as, in a descriptor's text form ("S-1-5-21-..."); empty when
// Windows does not say.
std::wstring CurrentUserSid();

}  // namespace platform
