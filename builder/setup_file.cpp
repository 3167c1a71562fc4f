#include "builder/setup_file.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

#include "builder/iconv_text.h"
#include "common/medium/manifest_rules.h"
#include "product/product_facts.h"

namespace fs = std::filesystem;

namespace builder {

namespace {

// A file is worth inflating at install time when compressing saves a twentieth of it.
constexpr std::size_t kWorthCompressingDivisor = 20;
// A file whose first bytes do not compress (sound, pictures, packed programs) is stored
// without compressing the rest.
constexpr std::size_t kSampleBytes = 64 << 10;

class Sha256Digest {
 public:
  Sha256Digest() : context_(EVP_MD_CTX_new(), EVP_MD_CTX_free) {
    EVP_DigestInit_ex(context_.get(), EVP_sha256(), nullptr);
  }
  void Add(std::string_view bytes) { EVP_DigestUpdate(context_.get(), bytes.data(), bytes.size()); }
  medium::Sha256 Finish() {
    medium::Sha256 digest{};
    unsigned int length = 0;
    EVP_DigestFinal_ex(context_.get(), digest.data(), &length);
    return digest;
  }

 private:
  std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> context_;
};

std::optional<std::string> ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(std::istreambuf_iterator<char>(in), {});
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::string Deflated(std::string_view bytes) {
  std::string out(compressBound(bytes.size()), '\0');
  uLongf length = out.size();
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &length, reinterpret_cast<const Bytef*>(bytes.data()),
                bytes.size(), Z_BEST_COMPRESSION) != Z_OK) {
    return {};
  }
  out.resize(length);
  return out;
}

bool Shrinks(std::string_view bytes, std::string_view deflated) {
  return !deflated.empty() && deflated.size() <= bytes.size() - bytes.size() / kWorthCompressingDivisor;
}

// The medium's files in the order the setup writes them: the top folder's (the programs,
// the manifest, the settings), then the product's files as the manifest lists them, and
// any other file of data\ after those. Names relative to the medium, "/" between folders.
std::vector<std::string> MediumFiles(const fs::path& medium) {
  std::vector<std::string> top;
  std::vector<std::string> data;
  for (const auto& entry : fs::recursive_directory_iterator(medium)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = fs::relative(entry.path(), medium).generic_string();
    (name.find('/') == std::string::npos ? top : data).push_back(name);
  }
  std::sort(top.begin(), top.end());
  std::sort(data.begin(), data.end());
  std::vector<std::string> listed;
  const std::string manifest = ReadWhole(medium / product::kManifestFile).value_or("");
  for (const std::string& line : medium::WrittenManifestLines(manifest)) {
    const std::optional<std::string> name = Utf8FromGbk(line);
    if (!name) continue;
    std::string path = "data/" + *name;
    std::replace(path.begin(), path.end(), '\\', '/');
    const auto found = std::find(data.begin(), data.end(), path);
    if (found != data.end()) {
      listed.push_back(path);
      data.erase(found);
    }
  }
  top.insert(top.end(), listed.begin(), listed.end());
  top.insert(top.end(), data.begin(), data.end());
  return top;
}

}  // namespace

bool WriteSetupFile(const fs::path& medium, const fs::path& stub, const fs::path& setup, std::string& error) {
  const std::optional<std::string> program = ReadWhole(stub);
  if (!program || !medium::ProgramImageEnd(*program) || *medium::ProgramImageEnd(*program) != program->size()) {
    error = stub.string() + " is not the setup program as built (missing, or with something appended)";
    return false;
  }
  std::ofstream out(setup, std::ios::binary | std::ios::trunc);
  out << *program << medium::HeaderBytes({});  // the header is written again at the end
  Sha256Digest digest;
  std::uint64_t payloadBytes = 0;
  auto append = [&](std::string_view bytes) {
    out << bytes;
    digest.Add(bytes);
    payloadBytes += bytes.size();
  };
  for (const std::string& name : MediumFiles(medium)) {
    std::string windowsName = name;
    std::replace(windowsName.begin(), windowsName.end(), '/', '\\');
    const std::optional<std::string> gbkName = GbkFromUtf8(windowsName);
    const std::optional<std::string> bytes = ReadWhole(medium / fs::path(name));
    if (!gbkName || !bytes) {
      error = (medium / fs::path(name)).string() + " cannot be read, or its name written in GBK";
      return false;
    }
    std::string deflated;
    if (Shrinks(std::string_view(*bytes).substr(0, kSampleBytes),
                Deflated(std::string_view(*bytes).substr(0, kSampleBytes)))) {
      deflated = Deflated(*bytes);
    }
    const bool compress = Shrinks(*bytes, deflated);
    const std::string_view stored = compress ? std::string_view(deflated) : std::string_view(*bytes);
    Sha256Digest fileDigest;
    fileDigest.Add(*bytes);
    append(medium::EntryHeaderBytes(*gbkName, compress ? medium::PayloadMethod::kZlib : medium::PayloadMethod::kStored,
                                    bytes->size(), stored.size(), fileDigest.Finish()));
    append(stored);
  }
  out.seekp(static_cast<std::streamoff>(program->size()));
  out << medium::HeaderBytes({payloadBytes, digest.Finish()});
  out.close();
  if (!out) {
    error = setup.string() + " could not be written";
    return false;
  }
  return true;
}

std::string FileSha256Hex(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  Sha256Digest digest;
  std::vector<char> buffer(1 << 20);
  while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
    digest.Add(std::string_view(buffer.data(), static_cast<std::size_t>(in.gcount())));
  }
  std::string hex;
  for (unsigned char byte : digest.Finish()) {
    hex.push_back("0123456789abcdef"[byte >> 4]);
    hex.push_back("0123456789abcdef"[byte & 15]);
  }
  return hex;
}

}  // namespace builder
