// Every text the installer shows, in one place. The caption of every page and message box
// is WizardCaption (product/product_facts.h).
#pragma once

#include <windows.h>

namespace texts {

// Message box styles of the installer.
inline constexpr UINT kErrorBox = MB_OK | MB_ICONHAND;
inline constexpr UINT kQuestionBox = MB_YESNO | MB_ICONQUESTION;

// Start-up.
inline constexpr char kStopProductBeforeInstall[] = "请您先停止运行Quendral，然后再安装";  // + ProductTitle + "版。"
inline constexpr char kStopProductBeforeInstallEnd[] = "版。";
inline constexpr char kStopMonitorBeforeInstall[] = "请您先停止运行Quendral复习自动检查，然后再安装";
inline constexpr char kRemoveEarlierVersionQuestion[] =
    "安装程序已检测到您的系统中已安装了Quendral，\r\n如果您要安装，将删除以前版本，您要继续吗？";

// Another setup or removal of the product line holds the machine.
inline constexpr char kAnotherSetupRunningText[] = "另一个Quendral安装或删除程序正在运行，请等它结束后再安装。";

// The single-file setup fails its check, or a product file read from it is not what it
// carried: a damaged or cut-off download.
inline constexpr char kDamagedSetupText[] = "安装文件已损坏或不完整，请重新下载后再安装。";

// A command line that is not understood, followed by the argument.
inline constexpr char kInvalidArgument[] = "无效的命令行参数：";

// Every page's cancel, and the progress page's pause.
inline constexpr char kStopInstallQuestion[] = "您真的想停止安装吗?";

// Page headings: title and subtitle or body.
inline constexpr char kWelcomeTitle[] = "欢迎使用Quendral1.3安装向导";
inline constexpr char kWelcomeBody[] = "安装向导将在计算机中安装Quendral。若要继续，请单击“下一步”。";
inline constexpr char kLicenceTitle[] = "软件使用许可协议";
inline constexpr char kLicenceSubtitle[] = "请仔细阅读本软件使用许可协议";
inline constexpr char kDestinationTitle[] = "选择目的地位置";
inline constexpr char kDestinationSubtitle[] = "选择安装程序安装文件的文件夹。";
inline constexpr char kSummaryTitle[] = "开始复制文件";
inline constexpr char kSummarySubtitle[] = "复制文件前请查看设置。";
inline constexpr char kProgressTitle[] = "开始安装";
inline constexpr char kFinishTitle[] = "安装程序完成安装";
inline constexpr char kFinishBody[] = "安装向导已完成在计算机中安装Quendral。";

// Destination and summary pages.
inline constexpr char kNoRoomOnDrive[] = "磁盘有效空间不够,将不能安装。请您重新选择安装路径。";
inline constexpr char kInvalidFolder[] = "目录路径非法。";
inline constexpr char kBrowseTitle[] = "选择安装目录";
inline constexpr char kSummaryFolderLabel[] = "安装目录：";

// The worker's failures: the path concerned followed by one of these.
inline constexpr char kCannotOpen[] = "不能打开，安装程序将终止。";
inline constexpr char kManifestInvalid[] = "安装信息文件错误，安装程序将终止。";
inline constexpr char kCannotCreate[] = "不能产生，安装程序将终止。";
inline constexpr char kCannotCopy[] = "不能复制，安装程序将终止。";
inline constexpr char kCannotWrite[] = "不能写入，安装程序将终止。";

// Shortcut names (with their leading backslash) and descriptions.
inline constexpr char kMainShortcut[] = "\\Quendral.lnk";
inline constexpr char kMainShortcutText[] = "Quendral";
inline constexpr char kHelpShortcut[] = "\\Quendral帮助.lnk";
inline constexpr char kHelpShortcutText[] = "Quendral帮助";
inline constexpr char kHomePageShortcut[] = "\\Morvessa公司主页.lnk";
inline constexpr char kHomePageShortcutText[] = "Morvessa公司主页";
inline constexpr char kUninstallShortcut[] = "\\删除Quendral.lnk";
inline constexpr char kUninstallShortcutText[] = "删除Quendral";

}  // namespace texts
