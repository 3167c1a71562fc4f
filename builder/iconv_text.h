// Text between the maker's machine (UTF-8) and the medium (GBK, code page 936), through
// the same iconv conversion the compiler uses for the programs' own literals.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace builder {

// Nothing when `utf8` is not UTF-8 or holds a character GBK cannot represent.
std::optional<std::string> GbkFromUtf8(std::string_view utf8);
// Nothing when `gbk` is not valid GBK.
std::optional<std::string> Utf8FromGbk(std::string_view gbk);

}  // namespace builder
