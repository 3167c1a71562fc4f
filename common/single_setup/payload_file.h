// The payload of a single-file setup, read through a handle of the setup's own file: the
// setup checks it and writes the kit's own files from it, and the installer it starts
// copies the product's files from it straight into the install folder. Never mapped: a
// read error (a network share that drops, a USB stick pulled out) is a failed read here,
// not an in-page error.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/medium/payload_format.h"

namespace single_setup {

enum class ExtractResult {
  kDone,
  kDamaged,      // the stored bytes are not the entry's file, or cannot be read
  kWriteFailed,  // the file could not be written; its last error stands
};

class PayloadFile {
 public:
  // The setup's own file, opened to be read and handed to the installer: no other program
  // may write or delete it while either holds it.
  static HANDLE OpenOwnFile();
  // A file handle (not owned) whose payload is not located yet.
  explicit PayloadFile(HANDLE file) : file_(file) {}

  // Finds the payload behind the program; false when it is missing or cut off.
  bool Locate();
  // Whether the payload's length and SHA-256 are the header's: reads it all, `done`
  // following the bytes read.
  bool Check(std::atomic<std::uint64_t>& done) const;
  std::uint64_t Bytes() const { return header_.payloadBytes; }
  // The entries; nothing when the table is damaged or cannot be read.
  std::optional<std::vector<medium::PayloadEntry>> Entries() const;
  // The entry's file bytes, inflated, written to `file` a piece at a time and checked
  // against the entry's SHA-256 at the end.
  ExtractResult Extract(const medium::PayloadEntry& entry, HANDLE file) const;

 private:
  bool ReadAt(std::uint64_t offset, void* into, std::size_t length) const;  // in the payload

  HANDLE file_;
  std::uint64_t start_ = 0;  // the payload's first byte in the file
  medium::PayloadHeader header_;
};

// The hand-over of the setup's file to the installer it starts: the handle is inherited
// and named in the installer's environment.
void NamePayloadForInstaller(HANDLE file);  // before the installer starts
void ForgetPayloadName();                   // once it has
// In the installer: the handle a setup handed over (no longer inheritable: nothing it
// starts gets it), or null when none did.
HANDLE TakeHandedOverPayload();

}  // namespace single_setup
