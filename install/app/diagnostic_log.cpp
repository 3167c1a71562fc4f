#include "install/app/diagnostic_log.h"

#include <cstdio>
#include <mutex>
#include <vector>

#include "install/app/installer_state.h"

namespace app {

namespace {

HANDLE g_log = INVALID_HANDLE_VALUE;
ULONGLONG g_start = GetTickCount64();
std::mutex g_writing;

std::string Utf8FromGbk(const std::string& text) {
  if (text.empty()) return text;
  const int wideLength = MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::vector<wchar_t> wide(static_cast<size_t>(wideLength));
  MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), wide.data(), wideLength);
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

}  // namespace

bool OpenDiagnosticLog(const std::string& path) {
  g_log =
      CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return g_log != INVALID_HANDLE_VALUE;
}

bool DiagnosticLogOpen() { return g_log != INVALID_HANDLE_VALUE; }

void Diagnose(const std::string& text) {
  if (!DiagnosticLogOpen()) return;
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%llu ", static_cast<unsigned long long>(GetTickCount64() - g_start));
  const std::string line = stamp + Utf8FromGbk(text) + "\r\n";
  const std::lock_guard<std::mutex> one(g_writing);
  DWORD written = 0;
  WriteFile(g_log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::string WindowsErrorText(DWORD error) {
  char* message = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 error, 0, reinterpret_cast<char*>(&message), 0, nullptr);
  std::string text = "Windows error " + std::to_string(error) + ": " + (message != nullptr ? message : "");
  if (message != nullptr) LocalFree(message);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

void ReportError(HWND owner, const std::string& text, DWORD windowsError) {
  Diagnose("failure: " + text + " (" + WindowsErrorText(windowsError) + ")");
  if (!Unattended) MessageBoxA(owner, text.c_str(), WizardCaption, kErrorBox);
}

}  // namespace app
