#include "common/platform/gbk_text.h"

namespace platform {

namespace {

std::wstring Convert(std::string_view gbk, DWORD flags, bool& ok) {
  ok = true;
  if (gbk.empty()) return {};
  const int length = MultiByteToWideChar(kGbkCodePage, flags, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  if (length <= 0) {
    ok = false;
    return {};
  }
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(kGbkCodePage, flags, gbk.data(), static_cast<int>(gbk.size()), wide.data(), length);
  return wide;
}

// Text in a byte code page; what it lacks becomes its default character.
std::string Narrow(UINT codePage, std::wstring_view text) {
  if (text.empty()) return {};
  const int length =
      WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr, nullptr);
  return narrow;
}

}  // namespace

std::optional<std::wstring> WideFromGbk(std::string_view gbk) {
  bool ok = false;
  std::wstring wide = Convert(gbk, MB_ERR_INVALID_CHARS, ok);
  if (!ok) return std::nullopt;
  return wide;
}

std::wstring ShownText(std::string_view gbk) {
  bool ok = false;
  return Convert(gbk, 0, ok);
}

std::optional<std::string> GbkFromWide(std::wstring_view text) {
  if (text.empty()) return std::string();
  BOOL lossy = FALSE;
  const int length = WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, &lossy);
  if (length <= 0 || lossy) return std::nullopt;
  std::string gbk(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), gbk.data(),
                      length, nullptr, nullptr);
  return gbk;
}

std::string GbkForShowing(std::wstring_view text) { return Narrow(kGbkCodePage, text); }

std::string Utf8FromWide(std::wstring_view text) { return Narrow(CP_UTF8, text); }

WideName::WideName(std::string_view gbk) : text_(WideFromGbk(gbk)) {
  if (!text_) SetLastError(ERROR_NO_UNICODE_TRANSLATION);
}

}  // namespace platform
