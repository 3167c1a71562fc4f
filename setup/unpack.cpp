#include "setup/unpack.h"

#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <vector>

#include "common/medium/payload_format.h"
#include "common/platform/files.h"
#include "common/platform/gbk_text.h"

namespace setup {

namespace {

constexpr std::size_t kWriteChunk = 1 << 20;

class FileWriter {
 public:
  explicit FileWriter(const std::wstring& path) : file_(platform::CreateNewFileWide(path)) {}
  ~FileWriter() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  bool Open() const { return file_ != INVALID_HANDLE_VALUE; }
  bool Write(const void* bytes, std::size_t length) {
    const char* next = static_cast<const char*>(bytes);
    while (length > 0) {
      const DWORD chunk = static_cast<DWORD>(std::min(length, kWriteChunk));
      DWORD written = 0;
      if (!WriteFile(file_, next, chunk, &written, nullptr) || written != chunk) return false;
      next += chunk;
      length -= chunk;
    }
    return true;
  }
  bool Close() {
    const bool closed = CloseHandle(file_) != FALSE;
    file_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE file_;
};

UnpackResult WriteFailure() {
  return GetLastError() == ERROR_DISK_FULL ? UnpackResult::kDiskFull : UnpackResult::kWriteFailed;
}

// Inflates a zlib stream into `file`; kDamaged unless it holds exactly `fileBytes`.
UnpackResult Inflate(std::string_view stored, std::uint64_t fileBytes, FileWriter& file) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return UnpackResult::kWriteFailed;
  std::vector<unsigned char> buffer(kWriteChunk);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stored.data()));
  std::uint64_t written = 0;
  UnpackResult result = UnpackResult::kDone;
  int status = Z_OK;
  while (status == Z_OK) {
    // zlib counts in 32 bits: fed a gigabyte at a time.
    if (stream.avail_in == 0) {
      const std::size_t fed = static_cast<std::size_t>(reinterpret_cast<const char*>(stream.next_in) - stored.data());
      stream.avail_in = static_cast<uInt>(std::min<std::size_t>(stored.size() - fed, 1u << 30));
    }
    stream.next_out = buffer.data();
    stream.avail_out = static_cast<uInt>(buffer.size());
    status = inflate(&stream, Z_NO_FLUSH);
    const std::size_t produced = buffer.size() - stream.avail_out;
    written += produced;
    if (written > fileBytes || (status != Z_OK && status != Z_STREAM_END)) {
      result = UnpackResult::kDamaged;
      break;
    }
    if (!file.Write(buffer.data(), produced)) {
      result = WriteFailure();
      break;
    }
  }
  inflateEnd(&stream);
  if (result == UnpackResult::kDone && written != fileBytes) result = UnpackResult::kDamaged;
  return result;
}

// Makes each folder on the way to `name` (relative, "\" between folders) that is not there yet.
bool MakeFolders(const std::wstring& folder, const std::wstring& name) {
  for (std::size_t end = name.find(L'\\'); end != std::wstring::npos; end = name.find(L'\\', end + 1)) {
    const std::wstring path = folder + name.substr(0, end);
    if (platform::GetFileAttributesWide(path) == INVALID_FILE_ATTRIBUTES && !platform::CreateDirectoryWide(path)) {
      return false;
    }
  }
  return true;
}

}  // namespace

UnpackResult Unpack(std::string_view payload, const std::wstring& folder, std::atomic<std::size_t>& remainingBytes) {
  medium::PayloadEntries entries(payload);
  while (const std::optional<medium::PayloadEntry> entry = entries.Next()) {
    const std::optional<std::wstring> name = platform::WideFromGbk(entry->name);
    if (!name) return UnpackResult::kDamaged;
    if (!MakeFolders(folder, *name)) return WriteFailure();
    FileWriter file(folder + *name);
    if (!file.Open()) return WriteFailure();
    if (entry->method == medium::PayloadMethod::kZlib) {
      const UnpackResult inflated = Inflate(entry->stored, entry->fileBytes, file);
      if (inflated != UnpackResult::kDone) return inflated;
    } else if (!file.Write(entry->stored.data(), entry->stored.size())) {
      return WriteFailure();
    }
    if (!file.Close()) return WriteFailure();
    remainingBytes = entries.RemainingBytes();
  }
  return entries.Damaged() ? UnpackResult::kDamaged : UnpackResult::kDone;
}

}  // namespace setup
