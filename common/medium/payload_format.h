// The single-file setup: the setup program with the whole medium appended to it. The
// builder's packer writes this layout and the setup and the installer it starts read it;
// nothing else knows it.
//
//   the setup program as linked, then right after its last section:
//   header   "QNDRPAY2", the payload's length (8 bytes), the payload's SHA-256 (32 bytes)
//   payload  one entry a medium file, the top folder's files first:
//            the name's length (2 bytes), the name (GBK, "\" between folders, relative to
//            the medium), the method (1 byte), the file's length (8 bytes), the stored
//            length (8 bytes), the file's SHA-256 (32 bytes), the stored bytes
//   then, when the file is signed, the signature, which covers all of the above.
// Numbers are little-endian.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace medium {

inline constexpr char kPayloadMagic[] = "QNDRPAY2";
inline constexpr std::size_t kPayloadHeaderBytes = 8 + 8 + 32;
// A longer name is no name the medium builder writes.
inline constexpr std::size_t kMaxPayloadNameBytes = 1024;

using Sha256 = std::array<unsigned char, 32>;

enum class PayloadMethod : unsigned char {
  kStored = 0,  // the bytes as they are (what barely compresses: sound, packed programs)
  kZlib = 1,    // a zlib stream
};

struct PayloadHeader {
  std::uint64_t payloadBytes = 0;
  Sha256 sha256{};
};

struct PayloadEntry {
  std::string name;
  PayloadMethod method = PayloadMethod::kStored;
  std::uint64_t fileBytes = 0;
  Sha256 sha256{};  // of the file's bytes
  // Where its stored bytes lie in the payload.
  std::uint64_t storedOffset = 0;
  std::uint64_t storedBytes = 0;
};

std::string HeaderBytes(const PayloadHeader& header);
std::string EntryHeaderBytes(std::string_view name, PayloadMethod method, std::uint64_t fileBytes,
                             std::uint64_t storedBytes, const Sha256& sha256);
// The header's bytes read back; nothing when they are no header.
std::optional<PayloadHeader> ReadHeader(std::string_view bytes);

// Where a Windows program's sections end in its file: the first byte of anything appended.
// Nothing when the bytes are no program's.
std::optional<std::size_t> ProgramImageEnd(std::string_view file);
// The same from the file's first bytes, which hold its headers and its symbols' strings,
// and its length.
std::optional<std::uint64_t> ProgramImageEnd(std::string_view head, std::uint64_t fileBytes);

// The payload appended to the setup program `file`, with its header; nothing when the
// header is missing or the file is shorter than the header says (a cut-off download).
std::optional<std::string_view> LocatePayload(std::string_view file, PayloadHeader& header);

// A name the setup may write inside its folder: GBK, relative, no empty, "." or ".."
// folder, none of the characters Windows forbids in a name.
bool IsSafeRelativeName(std::string_view name);

// The payload's entries, one at a time, read from a payload of `payloadBytes` through
// `read`, which answers `length` bytes at `offset` in the payload (false when it cannot).
// A payload that ends inside an entry, names a file the setup may not write or cannot be
// read is damaged: Next answers nothing from there on.
class PayloadEntries {
 public:
  using Reader = std::function<bool(std::uint64_t offset, std::size_t length, std::string& bytes)>;
  PayloadEntries(std::uint64_t payloadBytes, Reader read) : payloadBytes_(payloadBytes), read_(std::move(read)) {}
  // Over a payload in memory, which must outlive the entries.
  explicit PayloadEntries(std::string_view payload);
  std::optional<PayloadEntry> Next();
  bool Damaged() const { return damaged_; }

 private:
  // `length` bytes at the next entry's `at`, or nothing past the payload's end.
  std::optional<std::string> Read(std::uint64_t at, std::uint64_t length);
  std::uint64_t payloadBytes_;
  Reader read_;
  std::uint64_t next_ = 0;
  bool damaged_ = false;
};

}  // namespace medium
