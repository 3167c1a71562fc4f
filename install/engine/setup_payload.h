// The product's files when a single-file setup started the installer: read from the
// setup's own file, through the handle it handed over, and written straight into the
// install folder with the outcome of a copy from a folder.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "common/platform/files.h"
#include "common/single_setup/payload_file.h"

namespace engine {

class SetupPayload {
 public:
  // What a setup handed over: null when no setup started this installer, and when one did
  // but its file cannot be read back (`damaged` is set then).
  static std::unique_ptr<SetupPayload> HandedOver(bool& damaged);

  enum class CopyResult {
    kCopied,
    kFailed,   // as a copy fails: no such file, or the target cannot be written (GetLastError)
    kDamaged,  // the bytes read are not the file the setup carried, or cannot be read
  };
  // The product file `line` of the manifest, written to `destination`; no part of it is
  // left when it fails.
  CopyResult CopyProductFile(const std::string& line, const std::string& destination) const;

 private:
  explicit SetupPayload(HANDLE file) : file_(file), payload_(file) {}

  platform::OwnedHandle file_;
  single_setup::PayloadFile payload_;
  // By name, its ASCII letters folded: the names Windows would take for the same file.
  std::map<std::string, medium::PayloadEntry> entries_;
};

}  // namespace engine
