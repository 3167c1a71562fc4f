#include "common/medium/payload_format.h"

#include <algorithm>
#include <cstring>

#include "common/gbk/gbk_search.h"

namespace medium {

namespace {

void PutNumber(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t Number(std::string_view bytes) {
  std::uint64_t value = 0;
  for (std::size_t i = bytes.size(); i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
  return value;
}

// Takes `count` bytes off the front of `rest`; nothing when it has fewer.
std::optional<std::string_view> Take(std::string_view& rest, std::uint64_t count) {
  if (count > rest.size()) return std::nullopt;
  const std::string_view taken = rest.substr(0, static_cast<std::size_t>(count));
  rest.remove_prefix(static_cast<std::size_t>(count));
  return taken;
}

}  // namespace

std::string HeaderBytes(const PayloadHeader& header) {
  std::string out(kPayloadMagic, 8);
  PutNumber(out, header.payloadBytes, 8);
  out.append(reinterpret_cast<const char*>(header.sha256.data()), header.sha256.size());
  return out;
}

std::string EntryHeaderBytes(std::string_view name, PayloadMethod method, std::uint64_t fileBytes,
                             std::uint64_t storedBytes, const Sha256& sha256) {
  std::string out;
  PutNumber(out, name.size(), 2);
  out.append(name);
  out.push_back(static_cast<char>(method));
  PutNumber(out, fileBytes, 8);
  PutNumber(out, storedBytes, 8);
  out.append(reinterpret_cast<const char*>(sha256.data()), sha256.size());
  return out;
}

std::optional<PayloadHeader> ReadHeader(std::string_view bytes) {
  if (bytes.size() != kPayloadHeaderBytes || bytes.substr(0, 8) != std::string_view(kPayloadMagic, 8)) {
    return std::nullopt;
  }
  PayloadHeader header;
  header.payloadBytes = Number(bytes.substr(8, 8));
  std::memcpy(header.sha256.data(), bytes.data() + 16, header.sha256.size());
  return header;
}

std::optional<std::size_t> ProgramImageEnd(std::string_view file) {
  const std::optional<std::uint64_t> end = ProgramImageEnd(file, file.size());
  if (!end) return std::nullopt;
  return static_cast<std::size_t>(*end);
}

std::optional<std::uint64_t> ProgramImageEnd(std::string_view file, std::uint64_t fileBytes) {
  // The MZ header names where the PE header starts; the COFF header after "PE\0\0" gives
  // the number of sections and the optional header's size, after which the sections'
  // table lists each one's place in the file.
  if (file.size() < 0x40 || file.substr(0, 2) != "MZ") return std::nullopt;
  const std::uint64_t pe = Number(file.substr(0x3C, 4));
  if (pe > file.size() || file.size() - pe < 24 || file.substr(pe, 4) != std::string_view("PE\0\0", 4)) {
    return std::nullopt;
  }
  const std::uint64_t sections = Number(file.substr(pe + 6, 2));
  const std::uint64_t table = pe + 24 + Number(file.substr(pe + 20, 2));
  if (sections == 0 || table > file.size() || (file.size() - table) / 40 < sections) return std::nullopt;
  std::uint64_t end = 0;
  for (std::uint64_t i = 0; i < sections; ++i) {
    const std::string_view section = file.substr(table + 40 * i, 40);
    const std::uint64_t rawBytes = Number(section.substr(16, 4));
    const std::uint64_t rawStart = Number(section.substr(20, 4));
    if (rawBytes != 0 && rawStart + rawBytes > end) end = rawStart + rawBytes;
  }
  // The symbols left by the strip and their strings, which hold the long name of the
  // section that links the program to its debug information, come after the sections.
  const std::uint64_t symbols = Number(file.substr(pe + 12, 4));
  if (symbols != 0) {
    const std::uint64_t strings = symbols + 18 * Number(file.substr(pe + 16, 4));
    if (strings > file.size() || file.size() - strings < 4) return std::nullopt;
    end = std::max(end, strings + Number(file.substr(strings, 4)));
  }
  if (end > fileBytes) return std::nullopt;
  return end;
}

std::optional<std::string_view> LocatePayload(std::string_view file, PayloadHeader& header) {
  const std::optional<std::size_t> end = ProgramImageEnd(file);
  if (!end) return std::nullopt;
  std::string_view rest = file.substr(*end);
  const std::optional<std::string_view> head = Take(rest, kPayloadHeaderBytes);
  const std::optional<PayloadHeader> read = head ? ReadHeader(*head) : std::nullopt;
  if (!read) return std::nullopt;
  header = *read;
  return Take(rest, header.payloadBytes);
}

bool IsSafeRelativeName(std::string_view name) {
  if (name.empty() || name.size() > kMaxPayloadNameBytes) return false;
  std::size_t componentStart = 0;
  for (std::size_t i = 0; i <= name.size(); ++i) {
    if (i < name.size() && gbk::IsLeadByte(static_cast<unsigned char>(name[i]))) {
      // A GBK character: its trail byte may be 0x5C, which is no folder separator here.
      const unsigned char trail = i + 1 < name.size() ? static_cast<unsigned char>(name[i + 1]) : 0;
      if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return false;
      ++i;
      continue;
    }
    if (i == name.size() || name[i] == '\\') {
      const std::string_view component = name.substr(componentStart, i - componentStart);
      if (component.empty() || component == "." || component == "..") return false;
      componentStart = i + 1;
      continue;
    }
    const auto byte = static_cast<unsigned char>(name[i]);
    if (byte < 0x20 || byte >= 0x80 || std::strchr("/:*?\"<>|", byte) != nullptr) return false;
  }
  return true;
}

PayloadEntries::PayloadEntries(std::string_view payload)
    : PayloadEntries(payload.size(), [payload](std::uint64_t offset, std::size_t length, std::string& bytes) {
        bytes.assign(payload.substr(static_cast<std::size_t>(offset), length));
        return true;
      }) {}

std::optional<std::string> PayloadEntries::Read(std::uint64_t at, std::uint64_t length) {
  std::string bytes;
  if (at > payloadBytes_ || length > payloadBytes_ - at ||
      !read_(at, static_cast<std::size_t>(length), bytes) || bytes.size() != length) {
    return std::nullopt;
  }
  return bytes;
}

std::optional<PayloadEntry> PayloadEntries::Next() {
  if (damaged_ || next_ == payloadBytes_) return std::nullopt;
  // The name's length, then the name and the numbers after it.
  constexpr std::size_t kFixedBytes = 1 + 8 + 8 + 32;
  const std::optional<std::string> nameLength = Read(next_, 2);
  const std::optional<std::string> rest = nameLength ? Read(next_ + 2, Number(*nameLength) + kFixedBytes) : std::nullopt;
  damaged_ = true;
  if (!rest) return std::nullopt;
  PayloadEntry entry;
  const std::string_view fixed = std::string_view(*rest).substr(rest->size() - kFixedBytes);
  entry.name = rest->substr(0, rest->size() - kFixedBytes);
  entry.method = static_cast<PayloadMethod>(static_cast<unsigned char>(fixed[0]));
  entry.fileBytes = Number(fixed.substr(1, 8));
  entry.storedBytes = Number(fixed.substr(9, 8));
  std::memcpy(entry.sha256.data(), fixed.data() + 17, entry.sha256.size());
  entry.storedOffset = next_ + 2 + rest->size();
  if (!IsSafeRelativeName(entry.name) ||
      (entry.method != PayloadMethod::kStored && entry.method != PayloadMethod::kZlib) ||
      (entry.method == PayloadMethod::kStored && entry.fileBytes != entry.storedBytes) ||
      entry.storedOffset > payloadBytes_ || entry.storedBytes > payloadBytes_ - entry.storedOffset) {
    return std::nullopt;
  }
  damaged_ = false;
  next_ = entry.storedOffset + entry.storedBytes;
  return entry;
}

}  // namespace medium
