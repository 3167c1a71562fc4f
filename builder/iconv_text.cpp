#include "builder/iconv_text.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace builder {

namespace {

std::optional<std::string> Convert(const char* to, const char* from, std::string_view text) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::vector<char> in(text.begin(), text.end());
  std::vector<char> out(text.size() * 2 + 16);
  char* inPointer = in.data();
  size_t inLeft = in.size();
  char* outPointer = out.data();
  size_t outLeft = out.size();
  const bool converted = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) != static_cast<size_t>(-1);
  iconv_close(converter);
  if (!converted || inLeft != 0) return std::nullopt;
  return std::string(out.data(), out.size() - outLeft);
}

}  // namespace

std::optional<std::string> GbkFromUtf8(std::string_view utf8) { return Convert("GBK", "UTF-8", utf8); }

std::optional<std::string> Utf8FromGbk(std::string_view gbk) { return Convert("UTF-8", "GBK", gbk); }

}  // namespace builder
