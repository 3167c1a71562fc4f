// The tests' texts are GBK literals, like the kit's. Windows is asked in Unicode, the text
// converted through code page 936 here (not by the kit's own code), so that a test reads
// the same on a Windows of any code page.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

inline std::wstring Wide(const std::string& gbk) {
  std::wstring wide(gbk.size(), L'\0');
  const int length =
      MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), static_cast<int>(wide.size()));
  wide.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return wide;
}

inline std::string Gbk(const std::wstring& text) {
  std::string gbk(text.size() * 2, '\0');
  const int length = WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), gbk.data(),
                                         static_cast<int>(gbk.size()), nullptr, nullptr);
  gbk.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return gbk;
}

}  // namespace e2e
