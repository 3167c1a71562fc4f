// The kit keeps every string as GBK bytes; Windows takes and gives UTF-16. Here the two
// meet, always through code page 936 named explicitly, never the system's code page, so
// the kit behaves alike on every Windows and on a Chinese one byte for byte as before.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace platform {

inline constexpr UINT kGbkCodePage = 936;

// The text of GBK bytes; nothing when they are not GBK. For names Windows acts on: a
// wrong name must never reach a file or a registry key.
std::optional<std::wstring> WideFromGbk(std::string_view gbk);
// The same for text that is only shown: bytes that are not GBK are shown as the system
// shows them on a Chinese Windows.
std::wstring ShownText(std::string_view gbk);
// The GBK bytes of a text; nothing when GBK cannot hold one of its characters.
std::optional<std::string> GbkFromWide(std::wstring_view text);
// The same for text that is only read to be shown or compared: a character GBK lacks
// becomes "?".
std::string GbkForShowing(std::wstring_view text);
std::string Utf8FromWide(std::wstring_view text);

// A name for a W call, or the failure the call would have reported for a name it cannot
// take: ERROR_NO_UNICODE_TRANSLATION is set when the bytes are not GBK.
class WideName {
 public:
  explicit WideName(std::string_view gbk);
  bool Valid() const { return text_.has_value(); }
  const wchar_t* Get() const { return text_ ? text_->c_str() : nullptr; }

 private:
  std::optional<std::wstring> text_;
};

}  // namespace platform
