// Every text the uninstaller shows, in one place.
#pragma once

namespace uninstall {

inline constexpr char kCaption[] = "Quendral删除程序";
inline constexpr char kConfirmCaption[] = "确认文件删除";
inline constexpr char kConfirmQuestion[] = "是否要完全删除Quendral应用程序及其所有组件？";
inline constexpr char kStopProductBeforeRemoval[] = "请您先停止运行Quendral，然后再删除";
inline constexpr char kStopMonitorBeforeRemoval[] = "请您先停止运行Quendral复习自动检查，然后再删除";
inline constexpr char kAnotherSetupRunningText[] = "另一个Quendral安装或删除程序正在运行，请等它结束后再删除。";
inline constexpr char kFinishTitle[] = "删除程序完成删除";
inline constexpr char kFinishBody[] = "删除程序已完成在计算机中删除Quendral。";

}  // namespace uninstall
