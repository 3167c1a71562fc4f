// What the setup kit relies on from the product's own programs, and the names of the
// kit's files on the medium and in the install folder.
#pragma once

#include <string>
#include <string_view>

#include "resources/product_version.h"

namespace product {

inline constexpr char ProductTitle[] = "Quendral1.3";
// The caption of every page and message box of the installer and the single-file setup.
inline constexpr char WizardCaption[] = "Quendral1.3安装程序";
// The version being installed, as major * 10 + minor.
inline constexpr int ProductVersion = KIT_PRODUCT_VERSION;
// A version as the product line writes it: 13 is "1.3".
inline std::string VersionText(int version) {
  return std::to_string(version / 10) + "." + std::to_string(version % 10);
}

// The maker's home page: target of the "Morvessa公司主页" shortcut, and named in the
// programs' signatures.
inline constexpr char kHomePageAddress[] = "http://www.morvessa.com.cn/index.asp";

// Top-level window of the running product (lumora.exe).
inline constexpr char kMainWindowTitle[] = "Quendral";
// Top-level window of the review monitor (vigilo.exe).
inline constexpr char kReviewMonitorTitle[] = "Quendral复习自动检查";
// Posted as WM_COMMAND (lParam 0), it asks the review monitor to close its window.
inline constexpr unsigned kReviewMonitorCloseCommand = 32773;

inline constexpr char kMainProgram[] = "lumora.exe";
inline constexpr char kReviewMonitorProgram[] = "vigilo.exe";
inline constexpr char kHelpFile[] = "lumora.chm";
// Created by the product; every completed install lists it so that removal deletes it.
inline constexpr char kDataFile[] = "fendow.pah";
// The product's settings file and the one value the installer writes into it.
inline constexpr char kSettingsFile[] = "brisel.ini";
inline constexpr char kSettingsSection[] = "main";
inline constexpr char kSettingsKey[] = "adnote";

// The setup kit's own files on the medium and in the install folder.

inline constexpr char kInstallerFile[] = "install.exe";
inline constexpr char kManifestFile[] = "install.inf";
inline constexpr char kLicenseFile[] = "License.txt";
inline constexpr char kSetupSettingsFile[] = "install.ini";
inline constexpr char kDataFolder[] = "data\\";
inline constexpr char kUninstallerFile[] = "uninstall.exe";
inline constexpr char kUninstallLogFile[] = "uninstall.inf";
// The switch of an unattended install and removal, as deployment systems give it; any
// letter case is taken.
inline constexpr char kUnattendedSwitch[] = "/S";
// The installer's switches with a value: the install folder (the rest of the line) and the
// diagnostic log.
inline constexpr char kInstallFolderSwitch[] = "/D=";
inline constexpr char kLogSwitch[] = "/LOG=";
inline bool IsUnattendedSwitch(std::string_view argument) {
  return argument.size() == 2 && argument[0] == '/' && (argument[1] == 'S' || argument[1] == 's');
}

// The volume label of the product's CD and its disc image.
inline constexpr char kVolumeLabel[] = "QUENDRAL13";

// The product's maker, as the installed-programs entry names it.
inline constexpr char kPublisher[] = "Morvessa";

// Key of the installed-programs entry, followed by the product title ("Quendral1.3").
inline constexpr char kUninstallKeyPrefix[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\run";
inline constexpr char kRunValueName[] = "Lumora vigilo";

}  // namespace product
