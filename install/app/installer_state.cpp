#include "install/app/installer_state.h"

namespace app {

std::string SourceDir;
std::string TargetDir;
std::vector<std::string> CreatedDirs;
OSVERSIONINFOW OsVersion{};
int WizardDirection = 0;
bool Unattended = false;
bool InstallFailed = false;

}  // namespace app
