// Authenticode signatures of the medium's programs, made and read with osslsigncode, so
// that Windows names the maker ("verified publisher") instead of "Unknown publisher".
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace builder {

// Whether the medium is to be signed at all.
bool SigningRequested(const std::map<std::string, std::string>& options);

struct Signature {
  bool present = false;  // false: unsigned
  bool intact = false;   // the signed digest is the file's own: nothing changed after signing
  std::string subject;   // the signer's certificate
};

// The program's signature as it stands.
Signature ReadSignature(const std::filesystem::path& program);

// Signs `program` in place with SHA-256, the description "Quendral1.3" and the maker's
// home page, and answers the signature as read back. `options` holds sign-cert and
// sign-key (PEM), or sign-pkcs12 with its password in the file sign-password-file or the
// environment variable SIGN_PASSWORD; timestamp (a time-stamp server's address) is
// optional. Nothing, with `error` set, when signing fails (a key that does not match its
// certificate among the reasons) or the new signature does not verify.
std::optional<Signature> SignProgram(const std::filesystem::path& program,
                                     const std::map<std::string, std::string>& options, std::string& error);

}  // namespace builder
