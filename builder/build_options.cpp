#include "builder/build_options.h"

#include <iostream>

namespace builder {

namespace {

// The builder's options with a value, and where each goes.
std::optional<std::string>* OptionalField(BuildOptions& options, const std::string& name) {
  const std::map<std::string, std::optional<std::string> BuildOptions::*> fields = {
      {"--licence", &BuildOptions::licence}, {"--adnote", &BuildOptions::adnote},
      {"--order", &BuildOptions::order},     {"--iso", &BuildOptions::iso},
      {"--setup", &BuildOptions::setup},     {"--setup-program", &BuildOptions::setupProgram},
      {"--winget", &BuildOptions::winget},   {"--url", &BuildOptions::url}};
  const auto field = fields.find(name);
  return field != fields.end() ? &(options.*(field->second)) : nullptr;
}

bool IsSigningOption(const std::string& name) {
  return name == "--sign-cert" || name == "--sign-key" || name == "--sign-pkcs12" || name == "--sign-password-file" ||
         name == "--timestamp";
}

}  // namespace

std::optional<BuildOptions> ParseBuildOptions(const std::vector<std::string>& arguments) {
  if (arguments.size() < 4 || arguments.size() % 2 != 0) return std::nullopt;
  BuildOptions options;
  options.product = arguments[0];
  options.out = arguments[1];
  options.installer = arguments[2];
  options.uninstaller = arguments[3];
  for (std::size_t i = 4; i + 1 < arguments.size(); i += 2) {
    const std::string& name = arguments[i];
    if (std::optional<std::string>* field = OptionalField(options, name)) {
      *field = arguments[i + 1];
    } else if (IsSigningOption(name)) {
      options.signing[name.substr(2)] = arguments[i + 1];
    } else {
      return std::nullopt;
    }
  }
  return options;
}

int Usage() {
  std::cerr << "usage: make_medium build PRODUCT OUT INSTALL_EXE UNINSTALL_EXE [--licence FILE] [--adnote TEXT]\n"
               "                         [--order FILE] [--iso FILE] [--sign-cert PEM --sign-key PEM]\n"
               "                         [--sign-pkcs12 FILE [--sign-password-file FILE]] [--timestamp URL]\n"
               "                         [--setup FILE --setup-program SETUP_EXE [--winget FOLDER --url URL]]\n"
               "       make_medium check MEDIUM\n";
  return 2;
}

}  // namespace builder
