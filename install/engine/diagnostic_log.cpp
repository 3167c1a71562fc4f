#include "install/engine/diagnostic_log.h"

#include <cstdio>
#include <mutex>

#include "common/platform/files.h"
#include "common/platform/gbk_text.h"
#include "common/platform/process.h"
#include "common/platform/user_interface.h"
#include "product/product_facts.h"
#include "resources/installer_texts.h"

namespace engine {

namespace {

HANDLE g_log = INVALID_HANDLE_VALUE;
ULONGLONG g_start = GetTickCount64();
std::mutex g_writing;

// One line of UTF-8 text, with the milliseconds since start.
void WriteLine(const std::string& utf8) {
  if (g_log == INVALID_HANDLE_VALUE) return;
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%llu ", static_cast<unsigned long long>(GetTickCount64() - g_start));
  const std::string line = stamp + utf8 + "\r\n";
  const std::lock_guard<std::mutex> one(g_writing);
  DWORD written = 0;
  WriteFile(g_log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace

bool OpenDiagnosticLog(const std::string& path) {
  g_log = platform::CreateFileGbk(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
  return g_log != INVALID_HANDLE_VALUE;
}

void Diagnose(const std::string& text) { WriteLine(platform::Utf8FromWide(platform::ShownText(text))); }

void ReportError(bool unattended, HWND owner, const std::string& text, DWORD windowsError) {
  // The system's text comes as Unicode and goes to the log as such, whatever GBK holds.
  WriteLine(platform::Utf8FromWide(platform::ShownText("failure: " + text + " (")) +
            platform::WindowsErrorUtf8(windowsError) + ")");
  if (!unattended) platform::MessageBoxGbk(owner, text, product::WizardCaption, texts::kErrorBox);
}

}  // namespace engine
