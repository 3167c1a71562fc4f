// Writes the uninstall log "uninstall.inf": one record per line, every line ending in
// CR LF, an empty line closing each of the sections 0 (files) and 1 (registry).
#pragma once

#include <cstdio>
#include <string_view>

namespace uninstall_log {

class LogWriter {
 public:
  LogWriter() = default;
  LogWriter(const LogWriter&) = delete;
  LogWriter& operator=(const LogWriter&) = delete;
  ~LogWriter() { Close(); }

  // Takes over `file`, a new or emptied file opened for binary writing (the caller opens
  // it, with the name in the form its system wants); false when it is null.
  bool Create(std::FILE* file);
  // Writes the record's bytes and CR LF in one write, so that a log cut short by a
  // killed process never ends inside a record.
  bool WriteLine(std::string_view record);
  // Writes an empty line, which closes the current section.
  bool EndSection();
  void Close();

  // True once any write has failed; later writes are not attempted, so the log on disk
  // holds whole records only, up to the first failure.
  bool WriteFailed() const { return writeFailed_; }

 private:
  std::FILE* file_ = nullptr;
  bool writeFailed_ = false;
};

}  // namespace uninstall_log
