// The single-file setup: checks the medium it carries, writes the kit's own files into a
// private folder of the temporary folder, runs the installer from there with this
// program's own command line and its own file, from which the installer copies the
// product's files, and ends with the installer's exit code once the folder is removed.
#include <windows.h>

#include <optional>
#include <string>

#include "common/command_line/install_options.h"
#include "common/dll_search/system_dlls.h"
#include "common/platform/files.h"
#include "common/platform/gbk_text.h"
#include "common/platform/private_folder.h"
#include "common/platform/process.h"
#include "common/platform/user_interface.h"
#include "common/single_setup/setup_lock.h"
#include "product/exit_codes.h"
#include "product/product_facts.h"
#include "resources/installer_texts.h"
#include "setup/setup_texts.h"
#include "setup/unpack_window.h"

namespace setup {

using namespace exit_codes::installer;

namespace {

int Refuse(bool unattended, const char* text, int exitCode) {
  if (!unattended) platform::MessageBoxGbk(nullptr, text, product::WizardCaption, texts::kErrorBox);
  return exitCode;
}

// Runs the unpacked installer with `arguments`, handing it the setup lock and this
// program's file, and answers its exit code.
std::optional<DWORD> RunInstaller(const std::wstring& folder, const std::wstring& arguments,
                                  single_setup::SetupLock& lock, HANDLE ownFile) {
  const std::wstring program = folder + platform::ShownText(product::kInstallerFile);
  const std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  lock.BeginHandOver();
  single_setup::NamePayloadForInstaller(ownFile);
  HANDLE process = platform::StartProcessWide(program, commandLine, true);
  single_setup::ForgetPayloadName();
  lock.EndHandOver(process);
  if (process == nullptr) return std::nullopt;
  WaitForSingleObject(process, INFINITE);
  DWORD exitCode = kFailedRolledBack;
  GetExitCodeProcess(process, &exitCode);
  CloseHandle(process);
  return exitCode;
}

int Run() {
  const std::wstring arguments = platform::ArgumentsWide();
  // Only /S matters here, read as the installer reads it; the installer judges every
  // argument itself.
  const bool unattended = command_line::ParseInstallOptions(platform::GbkForShowing(arguments)).unattended;
  // Before anything is read or written: a second setup meanwhile is refused at once.
  single_setup::SetupLock lock;
  if (!lock.Take()) return Refuse(unattended, texts::kAnotherSetupRunningText, kAnotherSetupRunning);
  // Held until the installer has ended: nothing can change the file meanwhile.
  const platform::OwnedHandle own(single_setup::PayloadFile::OpenOwnFile());
  single_setup::PayloadFile payload(own.Get());
  if (!own.Valid() || !payload.Locate()) return Refuse(unattended, texts::kDamagedSetupText, kSetupFileDamaged);
  std::optional<std::wstring> folder;
  const UnpackResult unpacked = CheckAndUnpackShowingProgress(payload, folder, !unattended);
  std::optional<DWORD> exitCode;
  if (unpacked == UnpackResult::kDone) exitCode = RunInstaller(*folder, arguments, lock, own.Get());
  lock.Release();
  if (folder) platform::RemovePrivateTempFolder(*folder);
  if (unpacked == UnpackResult::kDamaged) return Refuse(unattended, texts::kDamagedSetupText, kSetupFileDamaged);
  if (unpacked == UnpackResult::kDiskFull) return Refuse(unattended, kUnpackFailedText, kNoRoom);
  if (!exitCode) return Refuse(unattended, kUnpackFailedText, kFailedRolledBack);
  return static_cast<int>(*exitCode);
}

}  // namespace

}  // namespace setup

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // First of all: a DLL planted beside the downloaded setup is never loaded.
  dll_search::LoadFromSystemFolderOnly();
  return setup::Run();
}
