#include "common/uninstall_log/log_writer.h"

#include <string>

namespace uninstall_log {

bool LogWriter::Create(std::FILE* file) {
  Close();
  writeFailed_ = false;
  file_ = file;
  if (file_ != nullptr) std::setvbuf(file_, nullptr, _IONBF, 0);
  return file_ != nullptr;
}

bool LogWriter::WriteLine(std::string_view bytes) {
  if (file_ == nullptr || writeFailed_) return false;
  std::string line;
  line.reserve(bytes.size() + 2);
  line.append(bytes).append("\r\n");
  if (std::fwrite(line.data(), 1, line.size(), file_) != line.size()) writeFailed_ = true;
  return !writeFailed_;
}

bool LogWriter::EndSection() { return WriteLine({}); }

void LogWriter::Close() {
  if (file_ == nullptr) return;
  if (std::fclose(file_) != 0) writeFailed_ = true;
  file_ = nullptr;
}

}  // namespace uninstall_log
