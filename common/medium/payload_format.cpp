#include "common/medium/payload_format.h"

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
                             std::uint64_t storedBytes) {
  std::string out;
  PutNumber(out, name.size(), 2);
  out.append(name);
  out.push_back(static_cast<char>(method));
  PutNumber(out, fileBytes, 8);
  PutNumber(out, storedBytes, 8);
  return out;
}

std::optional<std::size_t> ProgramImageEnd(std::string_view file) {
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
  if (end > file.size()) return std::nullopt;
  return static_cast<std::size_t>(end);
}

std::optional<std::string_view> LocatePayload(std::string_view file, PayloadHeader& header) {
  const std::optional<std::size_t> end = ProgramImageEnd(file);
  if (!end) return std::nullopt;
  std::string_view rest = file.substr(*end);
  const std::optional<std::string_view> head = Take(rest, kPayloadHeaderBytes);
  if (!head || head->substr(0, 8) != std::string_view(kPayloadMagic, 8)) return std::nullopt;
  header.payloadBytes = Number(head->substr(8, 8));
  std::memcpy(header.sha256.data(), head->data() + 16, header.sha256.size());
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

std::optional<PayloadEntry> PayloadEntries::Next() {
  if (damaged_ || rest_.empty()) return std::nullopt;
  std::string_view rest = rest_;
  PayloadEntry entry;
  const std::optional<std::string_view> nameBytes = Take(rest, 2);
  const std::optional<std::string_view> name = nameBytes ? Take(rest, Number(*nameBytes)) : std::nullopt;
  const std::optional<std::string_view> fixed = name ? Take(rest, 17) : std::nullopt;
  const std::optional<std::string_view> stored = fixed ? Take(rest, Number(fixed->substr(9, 8))) : std::nullopt;
  const auto method = fixed ? static_cast<PayloadMethod>(static_cast<unsigned char>((*fixed)[0])) : PayloadMethod{};
  if (!stored || !IsSafeRelativeName(*name) || (method != PayloadMethod::kStored && method != PayloadMethod::kZlib) ||
      (method == PayloadMethod::kStored && Number(fixed->substr(1, 8)) != stored->size())) {
    damaged_ = true;
    return std::nullopt;
  }
  entry.name = *name;
  entry.method = method;
  entry.fileBytes = Number(fixed->substr(1, 8));
  entry.stored = *stored;
  rest_ = rest;
  return entry;
}

}  // namespace medium
