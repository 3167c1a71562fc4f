#include "install/app/installer_state.h"

namespace installer {

std::string SourceDir;
std::string TargetDir;
std::vector<std::string> CreatedDirs;
OSVERSIONINFOA OsVersion{};
int WizardDirection = 0;

}  // namespace installer
