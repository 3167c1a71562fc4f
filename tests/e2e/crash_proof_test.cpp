// Every crash point of the kit's flows: each flow ended right after its k-th change to the
// machine, then the user's natural next step, then the machine compared with what it was
// before the flow. QUENDRAL_CRASH_STRIDE takes every n-th point (1: every one);
// QUENDRAL_CRASH_RESULTS names the file the report is written to.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <vector>

#include "common/crash_build/crash_build.h"
#include "common/medium/payload_format.h"
#include "e2e_driver/held_worker.h"
#include "e2e_driver/kit.h"
#include "e2e_driver/machine_state.h"

namespace e2e {
namespace {

// The tally the crash build's programs keep; this test holds it open for the whole run.
class Tally {
 public:
  Tally() {
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(crash_points::Tally),
                                  L"" KIT_CRASH_TALLY_NAME);
    void* view = mapping_ != nullptr ? MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 0) : nullptr;
    tally_ = static_cast<crash_points::Tally*>(view);
  }
  ~Tally() {
    if (tally_ != nullptr) UnmapViewOfFile(tally_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
  }
  bool Usable() const { return tally_ != nullptr; }
  // Starts a flow: no change counted, and programs started from now on end after change
  // `crashAt` (0: never).
  void Start(int crashAt) {
    tally_->changes = 0;
    tally_->crashedAt = 0;
    SetEnvironmentVariableW(L"" KIT_CRASH_AT_VARIABLE, crashAt > 0 ? std::to_wstring(crashAt).c_str() : nullptr);
  }
  int Changes() const { return tally_->changes; }
  int CrashedAt() const { return tally_->crashedAt; }

 private:
  HANDLE mapping_ = nullptr;
  crash_points::Tally* tally_ = nullptr;
};

// The programs of one step: the one the test started and every program they start, by
// name or, while a new one is listed without its name yet, by its parent.
class KitPrograms {
 public:
  explicit KitPrograms(const Process& started) : started_(started), family_{started.Id()} {}
  // Those still running; one that has ended but is still listed, while a handle to it is
  // open, is not.
  std::vector<DWORD> Running() {
    std::vector<DWORD> running;
    if (started_.Running()) running.push_back(started_.Id());
    for (const ListedProcess& process : ListProcesses()) {
      const bool named =
          lstrcmpiA(process.name.c_str(), "install.exe") == 0 || lstrcmpiA(process.name.c_str(), "uninstall.exe") == 0;
      if (process.id == started_.Id() || !(named || (process.name.empty() && family_.count(process.parent) != 0))) {
        continue;
      }
      family_.insert(process.id);
      HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, process.id);
      if (handle == nullptr) continue;
      if (WaitForSingleObject(handle, 0) == WAIT_TIMEOUT) running.push_back(process.id);
      CloseHandle(handle);
    }
    return running;
  }

 private:
  const Process& started_;
  std::set<DWORD> family_;
};

// How the user answers the kit's windows in a flow: the way of one who wants it to go on,
// but for where the flow says to leave.
struct Answers {
  bool cancelOnWelcome = false;
  // Cancel on the progress page with the worker held at its first change, so that the
  // roll-back always begins at the same change.
  bool cancelDuringCopy = false;
};
constexpr Answers kLeaveOnWelcome{true, false};
constexpr Answers kCancelDuringCopy{false, true};

// The texts of the message boxes answered since the last crash point began, for a report
// of a point that is not clean.
std::string g_boxesAnswered;

// Answers every window the kit's programs show until none of them runs any more; false
// when they still ran at the deadline (they are ended then).
bool Drive(const Process& started, const Answers& answers, DWORD timeoutMs = 60000) {
  std::set<HWND> answered;
  std::unique_ptr<HeldWorker> worker;
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  KitPrograms programs(started);
  for (std::vector<DWORD> running = programs.Running(); !running.empty(); running = programs.Running()) {
    if (GetTickCount64() > deadline) {
      std::string shown;
      for (DWORD id : running) {
        shown += " process " + std::to_string(id) + ":";
        for (HWND window : TopLevelWindows(id)) {
          shown += " [" + WindowText(window) + (answered.count(window) != 0 ? ", answered" : "") + "]";
        }
      }
      ADD_FAILURE() << "still running at the deadline:" << shown;
      EndProcessesNamed("install.exe");
      EndProcessesNamed("uninstall.exe");
      return false;
    }
    for (DWORD id : running) {
      for (HWND window : TopLevelWindows(id)) {
        if (answered.count(window) != 0 || !IsWindowVisible(window)) continue;
        if (IsMessageBox(window)) {
          g_boxesAnswered += " [" + WindowText(GetDlgItem(window, 0xFFFF)) + "]";
          Press(window, GetDlgItem(window, IDYES) != nullptr ? IDYES : IDOK);
          if (worker) worker.reset();  // the stop is asked for: the worker may go on to it
        } else if (WindowText(window) == "删除向导") {
          Press(window, IDC_UNINSTALL_FINISH);
        } else {
          switch (PageOf(window)) {
            case Page::kWelcome: Press(window, answers.cancelOnWelcome ? IDCANCEL : IDC_NEXT); break;
            case Page::kLicence:
            case Page::kDestination: Press(window, IDC_NEXT); break;
            case Page::kSummary:
              if (answers.cancelDuringCopy) worker = std::make_unique<HeldWorker>(id);
              Press(window, IDC_NEXT);
              if (worker && !worker->Catch(10000)) worker.reset();
              break;
            case Page::kProgress:
              if (!answers.cancelDuringCopy) continue;
              Press(window, IDCANCEL);
              break;
            case Page::kFinish:
              SetCheck(GetDlgItem(window, IDC_LAUNCH_BOX), false);
              Press(window, IDC_NEXT);
              break;
            default: continue;
          }
        }
        answered.insert(window);
      }
    }
    Sleep(20);
  }
  return true;
}

// Starts a program of the kit and answers it, and whatever it starts, to the end.
bool RunToTheEnd(const std::string& commandLine, const Answers& answers = {}, const std::string& applicationName = "") {
  Process program(commandLine, applicationName);  // one that does not start is reported there
  return program.Started() && Drive(program, answers);
}
// As Windows' list of programs starts a registered command: as the application name too.
bool RunRegistered(const std::string& command) { return RunToTheEnd(command, {}, command); }

std::string Installer() { return "\"" + CrashMediumDir() + "install.exe\""; }
std::string Registered(const char* value) {
  return ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, value, kProductView).value_or("");
}
bool QuietUninstall() {
  const std::string command = Registered("QuietUninstallString");
  return command.empty() || RunToTheEnd(command);
}
bool InstallQuietly() { return RunToTheEnd(Installer() + " /S"); }

// The crash medium as a download in `folder`: the crash build of the setup program with the
// medium appended as the builder lays it out, every file stored (the builder refuses to
// pack a crash build). Answers its command for /S.
std::string QuietDownload(const std::string& folder) {
  std::string payload;
  for (const auto& [path, size] : ListTree(CrashMediumDir())) {
    if (size < 0) continue;
    const std::string bytes = ReadBytes(CrashMediumDir() + path.substr(1));
    const medium::Sha256 sha256 = Sha256Of(bytes);
    payload += medium::EntryHeaderBytes(path.substr(1), medium::PayloadMethod::kStored, bytes.size(), bytes.size(),
                                        sha256) +
               bytes;
  }
  const std::string download = folder + "\\QuendralSetup.exe";
  WriteBytes(download,
             ReadBytes(HelperDir() + "setup_crash.exe") + medium::HeaderBytes({payload.size(), Sha256Of(payload)}) + payload);
  return "\"" + download + "\" /S";
}

// What a user could see of the product: the machine state, and every file on the system
// drive outside the Windows folder and the other tests' folders.
MachineState Snapshot() {
  MachineState state = CaptureMachineState();
  for (const auto& [top, size] : ListTree("C:", 1)) {
    if (lstrcmpiA(top.c_str(), "\\windows") == 0 || top.rfind("\\kit-tests", 0) == 0) continue;
    state.files["C:" + top] = size;
    for (const auto& [below, belowSize] : ListTree("C:" + top)) state.files["C:" + top + below] = belowSize;
  }
  ForgetDeletedAtRestart(state);
  return state;
}

struct Flow {
  const char* name;
  const char* nextStep;
  std::function<void()> prepare;  // what is on the machine before the flow, after the snapshot
  std::function<bool()> run;
  std::function<bool()> finish;  // the user's next step
};

// The folders a crash may leave for good: the install folder and its parent, which the
// next run finds and so does not record (start-up records only the folders it makes).
bool OnlyInstallFolders(const MachineState& before, const MachineState& after, std::string* folders) {
  for (const auto& [path, size] : after.files) {
    if (before.files.count(path) != 0) continue;
    if (size != -1 || (path != kDefaultTarget && path != kMorvessaFolder)) return false;
    *folders += (folders->empty() ? "" : ", ") + path;
  }
  return true;
}

struct FlowResult {
  int changes = 0;
  int tried = 0;
  int clean = 0;
  std::map<std::string, std::vector<int>> foldersLeft;  // folders -> crash points
  std::vector<std::string> notClean;
};

std::string Utf8(const std::string& gbk) {
  const std::wstring wide = Wide(gbk);
  std::string text(wide.size() * 3, '\0');
  text.resize(
      static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                                   static_cast<int>(text.size()), nullptr, nullptr)));
  return text;
}

void WriteReport(const std::string& path, int stride, const std::vector<std::pair<const Flow*, FlowResult>>& results) {
  std::ostringstream out;
  out << "# Crash points and the user's next step\n\n"
      << "Each flow was ended right after its k-th change to the machine (a file created, copied, written or deleted, "
         "a folder made or removed, a registry key or value set or deleted, a shortcut saved, a log record "
         "appended, a program started), for "
      << (stride == 1 ? std::string("every k") : "one k in " + std::to_string(stride))
      << " from 1 to N, on a medium of three product files, one with a Chinese name. Then the user's next step "
         "ran, and the machine (the files on the system drive, both registry views, the shortcuts, the temporary "
         "folder) was compared with the machine before the flow; what Windows deletes at the next restart counted as "
         "gone.\n\n"
      << "| flow | the user's next step | N | crash points run | clean | only the install folder and its parent left | "
         "not clean |\n"
      << "|---|---|---|---|---|---|---|\n";
  for (const auto& [flow, result] : results) {
    int folders = 0;
    for (const auto& [names, points] : result.foldersLeft) folders += static_cast<int>(points.size());
    out << "| " << flow->name << " | " << flow->nextStep << " | " << result.changes << " | " << result.tried << " | "
        << result.clean << " | " << folders << " | " << result.notClean.size() << " |\n";
  }
  out << "\n## Folders left\n\nOnly the install folder and its parent ever stay, and only empty. Either the ended "
         "run made them (the install and roll-back flows, and the installer's own start-up after a replay), or it was "
         "ended at the very end of a removal, when nothing that records them was left to start from: the log was "
         "deleted, or the entry and the program that lead to it were. Either way the next run finds them and, since it "
         "did not make them, does not record them: start-up records only the folders it makes, so that no removal "
         "takes a folder the user had. Recording found folders would break that rule, so they stay.\n\n";
  for (const auto& [flow, result] : results) {
    for (const auto& [names, points] : result.foldersLeft) {
      out << "- " << flow->name << ": " << Utf8(names) << ", after the crash points";
      for (int k : points) out << " " << k;
      out << "\n";
    }
  }
  out << "\n## Not clean\n\n";
  bool any = false;
  for (const auto& [flow, result] : results) {
    for (const std::string& point : result.notClean) {
      out << "- " << flow->name << ", " << Utf8(point) << "\n";
      any = true;
    }
  }
  if (!any) out << "None.\n";
  WriteBytes(path, out.str());
}

class CrashProofTest : public KitTest {};

TEST_F(CrashProofTest, EveryCrashPointIsFinishedByTheUsersNextStep) {
  if (CrashMediumDir().empty()) GTEST_SKIP() << "QUENDRAL_CRASH_MEDIUM names no medium";
  Tally tally;
  ASSERT_TRUE(tally.Usable());
  const char* strideText = std::getenv("QUENDRAL_CRASH_STRIDE");
  const int stride = std::max(1, strideText != nullptr ? std::atoi(strideText) : 5);

  // The registered commands of the install each uninstall flow starts from.
  std::string uninstallCommand;
  std::string quietCommand;
  auto installForRemoval = [&] {
    ASSERT_TRUE(InstallQuietly());
    uninstallCommand = Registered("UninstallString");
    quietCommand = Registered("QuietUninstallString");
    ASSERT_FALSE(uninstallCommand.empty());
  };
  const std::string installedProgram = kDefaultTarget + "\\uninstall.exe";
  const std::string download = QuietDownload(TestFolder("download"));
  const std::vector<Flow> flows = {
      {"install through the wizard", "the same install again, to the end, then the quiet uninstall", [] {},
       [] { return RunToTheEnd(Installer()); }, [] { return RunToTheEnd(Installer()) && QuietUninstall(); }},
      {"install with /S", "the same install again, to the end, then the quiet uninstall", [] {}, InstallQuietly,
       [] { return InstallQuietly() && QuietUninstall(); }},
      {"the download with /S", "the same download again, to the end, then the quiet uninstall", [] {},
       [&] { return RunToTheEnd(download); }, [&] { return RunToTheEnd(download) && QuietUninstall(); }},
      {"the roll-back after Cancel, Yes", "the install again, then the quiet uninstall", [] {},
       [] { return RunToTheEnd(Installer(), kCancelDuringCopy); },
       [] { return RunToTheEnd(Installer()) && QuietUninstall(); }},
      {"the replay of an earlier version at start-up", "the installer again, answering Yes, then Cancel",
       [] { ASSERT_TRUE(InstallQuietly()); }, [] { return RunToTheEnd(Installer(), kLeaveOnWelcome); },
       [] { return RunToTheEnd(Installer(), kLeaveOnWelcome); }},
      {"the uninstaller, interactive",
       "the same command again; without its program, the installer from the medium, then the uninstall",
       installForRemoval, [&] { return RunRegistered(uninstallCommand); },
       [&] {
         if (FileExists(installedProgram)) return RunRegistered(uninstallCommand);
         if (!RunToTheEnd(Installer())) return false;
         const std::string command = Registered("UninstallString");
         return command.empty() || RunRegistered(command);
       }},
      {"the uninstaller, /S",
       "the same command again; without its program, the installer from the medium, then the quiet uninstall",
       installForRemoval, [&] { return RunToTheEnd(quietCommand); },
       [&] {
         if (FileExists(installedProgram)) return RunToTheEnd(quietCommand);
         return InstallQuietly() && QuietUninstall();
       }},
  };

  std::vector<std::pair<const Flow*, FlowResult>> results;
  for (const Flow& flow : flows) {
    SCOPED_TRACE(flow.name);
    FlowResult result;
    CleanMachine();
    flow.prepare();
    tally.Start(0);
    ASSERT_TRUE(flow.run()) << "the flow did not end";
    result.changes = tally.Changes();
    ASSERT_GT(result.changes, 0);
    for (int k = 1; k <= result.changes; k += stride) {
      CleanMachine();
      const MachineState before = Snapshot();
      flow.prepare();
      g_boxesAnswered.clear();
      tally.Start(k);
      const bool flowEnded = flow.run();
      const int crashedAt = tally.CrashedAt();
      tally.Start(0);
      const bool nextStepEnded = flow.finish();
      const MachineState after = Snapshot();
      ++result.tried;
      std::string folders;
      if (!flowEnded || !nextStepEnded) {
        result.notClean.push_back(std::to_string(k) + (flowEnded ? ": the next step" : ": the flow") +
                                  " did not start or did not end in time");
      } else if (crashedAt != k) {
        result.notClean.push_back(std::to_string(k) + ": the flow did not reach this change");
      } else if (before == after) {
        ++result.clean;
      } else if (before.registry == after.registry && OnlyInstallFolders(before, after, &folders)) {
        result.foldersLeft[folders].push_back(k);
      } else {
        std::string left = Difference(before, after);
        for (char& c : left) c = c == '\n' ? ';' : c;
        result.notClean.push_back(std::to_string(k) + ": " + left + " message boxes answered:" + g_boxesAnswered);
      }
    }
    for (const std::string& point : result.notClean) ADD_FAILURE() << "crash point " << point;
    results.emplace_back(&flow, result);
  }
  tally.Start(0);
  if (const char* report = std::getenv("QUENDRAL_CRASH_RESULTS")) WriteReport(report, stride, results);
}

}  // namespace
}  // namespace e2e
