#include "common/single_setup/payload_file.h"

#include <zlib.h>

#include <algorithm>
#include <cwchar>

#include "common/platform/files.h"
#include "common/platform/sha256.h"

namespace single_setup {

namespace {

constexpr std::size_t kChunkBytes = 1 << 20;
// More than the whole setup program: its headers and the strings after its sections.
constexpr std::size_t kProgramHeadBytes = 1 << 20;
constexpr wchar_t kPayloadVariable[] = L"QUENDRAL_SETUP_PAYLOAD";

// Writes the file's bytes to the file, hashing them, and says whether they are the entry's
// at the end.
class CheckedWriter {
 public:
  CheckedWriter(const medium::PayloadEntry& entry, HANDLE file) : entry_(entry), file_(file) {}
  bool Write(const char* bytes, std::size_t length) {
    written_ += length;
    if (written_ > entry_.fileBytes) return true;  // judged at the end
    hash_.Add(bytes, length);
    DWORD done = 0;
    return WriteFile(file_, bytes, static_cast<DWORD>(length), &done, nullptr) && done == length;
  }
  bool Matches() { return written_ == entry_.fileBytes && hash_.Finish() == std::optional(entry_.sha256); }

 private:
  const medium::PayloadEntry& entry_;
  HANDLE file_;
  platform::Sha256Hash hash_;
  std::uint64_t written_ = 0;
};

}  // namespace

HANDLE PayloadFile::OpenOwnFile() {
  const std::optional<std::wstring> own = platform::ModuleFileNameWide();
  if (!own) return INVALID_HANDLE_VALUE;
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  return CreateFileW(own->c_str(), GENERIC_READ, FILE_SHARE_READ, &inherited, OPEN_EXISTING,
                     FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

bool PayloadFile::ReadAt(std::uint64_t offset, void* into, std::size_t length) const {
  auto* next = static_cast<char*>(into);
  offset += start_;
  while (length > 0) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const DWORD chunk = static_cast<DWORD>(std::min(length, kChunkBytes));
    DWORD read = 0;
    if (!ReadFile(file_, next, chunk, &read, &at) || read == 0) return false;
    next += read;
    offset += read;
    length -= read;
  }
  return true;
}

bool PayloadFile::Locate() {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file_, &size)) return false;
  const auto fileBytes = static_cast<std::uint64_t>(size.QuadPart);
  start_ = 0;
  std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(fileBytes, kProgramHeadBytes)), '\0');
  if (!ReadAt(0, head.data(), head.size())) return false;
  const std::optional<std::uint64_t> end = medium::ProgramImageEnd(head, fileBytes);
  if (!end || fileBytes - *end < medium::kPayloadHeaderBytes) return false;
  std::string headerBytes(medium::kPayloadHeaderBytes, '\0');
  if (!ReadAt(*end, headerBytes.data(), headerBytes.size())) return false;
  const std::optional<medium::PayloadHeader> header = medium::ReadHeader(headerBytes);
  start_ = *end + medium::kPayloadHeaderBytes;
  if (!header || header->payloadBytes > fileBytes - start_) return false;  // a cut-off download
  header_ = *header;
  return true;
}

bool PayloadFile::Check(std::atomic<std::uint64_t>& done) const {
  platform::Sha256Hash hash;
  std::string chunk(kChunkBytes, '\0');
  for (std::uint64_t offset = 0; offset < header_.payloadBytes; offset += chunk.size()) {
    const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkBytes, header_.payloadBytes - offset));
    if (!ReadAt(offset, chunk.data(), length)) return false;
    hash.Add(chunk.data(), length);
    done = offset + length;
  }
  return hash.Finish() == std::optional(header_.sha256);
}

std::optional<std::vector<medium::PayloadEntry>> PayloadFile::Entries() const {
  medium::PayloadEntries table(header_.payloadBytes, [this](std::uint64_t offset, std::size_t length, std::string& bytes) {
    bytes.resize(length);
    return ReadAt(offset, bytes.data(), length);
  });
  std::vector<medium::PayloadEntry> entries;
  while (std::optional<medium::PayloadEntry> entry = table.Next()) entries.push_back(std::move(*entry));
  if (table.Damaged()) return std::nullopt;
  return entries;
}

ExtractResult PayloadFile::Extract(const medium::PayloadEntry& entry, HANDLE file) const {
  CheckedWriter out(entry, file);
  // No larger than the file: a megabyte for each small file would cost more than its copy.
  std::string stored(static_cast<std::size_t>(std::min<std::uint64_t>(kChunkBytes, entry.storedBytes)), '\0');
  std::string inflated(entry.method == medium::PayloadMethod::kZlib
                           ? static_cast<std::size_t>(std::min<std::uint64_t>(kChunkBytes, entry.fileBytes + 1))
                           : 0,
                       '\0');
  z_stream stream{};
  if (entry.method == medium::PayloadMethod::kZlib && inflateInit(&stream) != Z_OK) return ExtractResult::kDamaged;
  ExtractResult result = ExtractResult::kDone;
  int status = Z_OK;
  for (std::uint64_t offset = 0; offset < entry.storedBytes && result == ExtractResult::kDone;) {
    const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(stored.size(), entry.storedBytes - offset));
    if (!ReadAt(entry.storedOffset + offset, stored.data(), length)) {
      result = ExtractResult::kDamaged;
      break;
    }
    offset += length;
    if (entry.method == medium::PayloadMethod::kStored) {
      if (!out.Write(stored.data(), length)) result = ExtractResult::kWriteFailed;
      continue;
    }
    stream.next_in = reinterpret_cast<Bytef*>(stored.data());
    stream.avail_in = static_cast<uInt>(length);
    // On while there is input, or output that did not fit.
    while (status == Z_OK && result == ExtractResult::kDone) {
      stream.next_out = reinterpret_cast<Bytef*>(inflated.data());
      stream.avail_out = static_cast<uInt>(inflated.size());
      status = inflate(&stream, Z_NO_FLUSH);
      if (status == Z_BUF_ERROR) {  // nothing more without more input
        status = Z_OK;
        break;
      }
      if (status != Z_OK && status != Z_STREAM_END) {
        result = ExtractResult::kDamaged;
      } else if (!out.Write(inflated.data(), inflated.size() - stream.avail_out)) {
        result = ExtractResult::kWriteFailed;
      }
      if (stream.avail_in == 0 && stream.avail_out != 0) break;
    }
  }
  if (entry.method == medium::PayloadMethod::kZlib) {
    inflateEnd(&stream);
    if (result == ExtractResult::kDone && status != Z_STREAM_END) result = ExtractResult::kDamaged;
  }
  if (result == ExtractResult::kDone && !out.Matches()) result = ExtractResult::kDamaged;
  return result;
}

void NamePayloadForInstaller(HANDLE file) {
  SetEnvironmentVariableW(kPayloadVariable, std::to_wstring(reinterpret_cast<std::uintptr_t>(file)).c_str());
}

void ForgetPayloadName() { SetEnvironmentVariableW(kPayloadVariable, nullptr); }

HANDLE TakeHandedOverPayload() {
  wchar_t value[32] = L"";
  const DWORD length = GetEnvironmentVariableW(kPayloadVariable, value, 32);
  if (length == 0) return nullptr;
  ForgetPayloadName();  // not for the programs this one starts
  if (length >= 32) return INVALID_HANDLE_VALUE;
  const auto file = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(std::wcstoull(value, nullptr, 10)));
  if (file == nullptr || !SetHandleInformation(file, HANDLE_FLAG_INHERIT, 0)) return INVALID_HANDLE_VALUE;
  return file;
}

}  // namespace single_setup
