// The single-file setup: the setup program with the whole medium appended to it. The
// builder's packer writes this layout and the setup's unpacker reads it; nothing else
// knows it.
//
//   the setup program as linked, then right after its last section:
//   header   "QNDRPAY1", the payload's length (8 bytes), the payload's SHA-256 (32 bytes)
//   payload  one entry a medium file, in the order the setup writes them:
//            the name's length (2 bytes), the name (GBK, "\" between folders, relative to
//            the medium), the method (1 byte), the file's length (8 bytes), the stored
//            length (8 bytes), the stored bytes
//   then, when the file is signed, the signature, which covers all of the above.
// Numbers are little-endian.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace medium {

inline constexpr char kPayloadMagic[] = "QNDRPAY1";
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
  std::string_view name;
  PayloadMethod method = PayloadMethod::kStored;
  std::uint64_t fileBytes = 0;
  std::string_view stored;
};

std::string HeaderBytes(const PayloadHeader& header);
std::string EntryHeaderBytes(std::string_view name, PayloadMethod method, std::uint64_t fileBytes,
                             std::uint64_t storedBytes);

// Where a Windows program's sections end in its file: the first byte of anything appended.
// Nothing when the bytes are no program's.
std::optional<std::size_t> ProgramImageEnd(std::string_view file);

// The payload appended to the setup program `file`, with its header; nothing when the
// header is missing or the file is shorter than the header says (a cut-off download).
std::optional<std::string_view> LocatePayload(std::string_view file, PayloadHeader& header);

// A name the setup may write inside its folder: GBK, relative, no empty, "." or ".."
// folder, none of the characters Windows forbids in a name.
bool IsSafeRelativeName(std::string_view name);

// The payload's entries, one at a time. A payload that ends inside an entry, or names a
// file the setup may not write, is damaged: Next answers nothing from there on.
class PayloadEntries {
 public:
  explicit PayloadEntries(std::string_view payload) : rest_(payload) {}
  // The entries point into the payload: it must outlive them, never a temporary.
  explicit PayloadEntries(std::string&&) = delete;
  std::optional<PayloadEntry> Next();
  bool Damaged() const { return damaged_; }
  // Bytes of the payload not read yet: how far the setup has come.
  std::size_t RemainingBytes() const { return rest_.size(); }

 private:
  std::string_view rest_;
  bool damaged_ = false;
};

}  // namespace medium
