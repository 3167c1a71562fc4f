// Every text the single-file setup shows; its caption is the installer's (WizardCaption).
#pragma once

namespace setup {

// The setup file fails its own check: a damaged or cut-off download.
inline constexpr char kDamagedSetupText[] = "安装文件已损坏或不完整，请重新下载后再安装。";
// The installer's files could not be written to the temporary folder, or not started.
inline constexpr char kUnpackFailedText[] = "无法在临时文件夹中准备安装文件，请检查磁盘空间后再安装。";
// The small window while the setup unpacks.
inline constexpr char kUnpackingText[] = "正在准备安装，请稍候……";

}  // namespace setup
