// The texts only the single-file setup shows; its caption is the installer's
// (WizardCaption), and the damaged-download text is the installer's too.
#pragma once

namespace setup {

// The installer's files could not be written to the temporary folder, or not started.
inline constexpr char kUnpackFailedText[] = "无法在临时文件夹中准备安装文件，请检查磁盘空间后再安装。";
// The small window while the setup unpacks.
inline constexpr char kUnpackingText[] = "正在准备安装，请稍候……";

}  // namespace setup
