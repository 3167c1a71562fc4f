#include "builder/signing.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>

#include "product/product_facts.h"

namespace builder {

namespace {

constexpr char kDescription[] = "Quendral1.3";

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// The command's standard output and error together; `status` its exit status.
std::string Run(const std::string& command, int& status) {
  std::string output;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) {
    status = -1;
    return output;
  }
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  status = pclose(pipe);
  return output;
}

// The text after `label` on its line, blanks trimmed.
std::string ValueAfter(const std::string& text, const std::string& label) {
  const std::size_t at = text.find(label);
  if (at == std::string::npos) return "";
  std::size_t begin = at + label.size();
  std::size_t end = text.find('\n', begin);
  std::string value = text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
  value.erase(0, value.find_first_not_of(" \t:"));
  value.erase(value.find_last_not_of(" \t\r") + 1);
  return value;
}

// The password of a PKCS#12 file, handed over in a private file, never on a command line.
class PasswordFile {
 public:
  explicit PasswordFile(const std::map<std::string, std::string>& options) {
    if (options.count("sign-password-file")) {
      path_ = options.at("sign-password-file");
      return;
    }
    const char* password = std::getenv("SIGN_PASSWORD");
    if (password == nullptr) return;
    char name[] = "/tmp/medium-password-XXXXXX";
    const int file = mkstemp(name);  // created with mode 0600
    if (file < 0) return;
    const std::string text(password);
    const bool written = write(file, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(file);
    path_ = name;
    own_ = true;
    if (!written) path_.clear();
  }
  ~PasswordFile() {
    if (own_) unlink(path_.c_str());
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  bool own_ = false;
};

}  // namespace

bool SigningRequested(const std::map<std::string, std::string>& options) {
  return options.count("sign-cert") || options.count("sign-key") || options.count("sign-pkcs12");
}

std::optional<Signature> SignProgram(const std::filesystem::path& program,
                                     const std::map<std::string, std::string>& options, std::string& error) {
  std::string command = "osslsigncode sign -h sha256 -n " + Quoted(kDescription) + " -i " + Quoted(product::kHomePageAddress);
  const PasswordFile password(options);
  if (options.count("sign-pkcs12")) {
    command += " -pkcs12 " + Quoted(options.at("sign-pkcs12"));
    if (!password.Path().empty()) command += " -readpass " + Quoted(password.Path());
  } else if (options.count("sign-cert") && options.count("sign-key")) {
    command += " -certs " + Quoted(options.at("sign-cert")) + " -key " + Quoted(options.at("sign-key"));
  } else {
    error = "SIGN_CERT and SIGN_KEY go together";
    return std::nullopt;
  }
  if (options.count("timestamp")) command += " -ts " + Quoted(options.at("timestamp"));
  const std::string signedCopy = program.string() + ".signed";
  command += " -in " + Quoted(program.string()) + " -out " + Quoted(signedCopy);
  int status = 0;
  const std::string output = Run(command, status);
  if (status != 0) {
    std::filesystem::remove(signedCopy);
    error = output.find("consistency of a private key") != std::string::npos
                ? "the private key does not match the certificate"
                : "osslsigncode could not sign it:\n" + output;
    return std::nullopt;
  }
  std::filesystem::rename(signedCopy, program);
  const Signature signature = ReadSignature(program);
  if (!signature.present || !signature.intact) {
    error = "the signature just made does not verify";
    return std::nullopt;
  }
  return signature;
}

Signature ReadSignature(const std::filesystem::path& program) {
  int status = 0;
  const std::string output = Run("osslsigncode verify -in " + Quoted(program.string()), status);
  Signature signature;
  signature.present = output.find("No signature found") == std::string::npos &&
                      output.find("Current message digest") != std::string::npos;
  if (!signature.present) return signature;
  const std::string current = ValueAfter(output, "Current message digest");
  signature.intact = !current.empty() && current == ValueAfter(output, "Calculated message digest") &&
                     output.find("MISMATCH") == std::string::npos;
  signature.subject = ValueAfter(output, "Subject:");
  return signature;
}

}  // namespace builder
