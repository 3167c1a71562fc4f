// The line rules of the install manifest "install.inf" (one product file name a line).
#pragma once

#include <string_view>

namespace engine {

// Lines considered at most; a longer manifest is cut here. Also bounds the progress range.
inline constexpr int kMaxLines = 1000;
// Bytes taken of a line at most; a longer line is cut to its first 255 bytes.
inline constexpr int kMaxLineBytes = 255;

inline int ConsideredLineCount(int lineCount) { return lineCount > kMaxLines ? kMaxLines : lineCount; }

// An empty line or exactly "*****" ends the list of names.
bool EndsList(std::string_view line);

// A name holding ".ini" at any byte but its first is recorded in the log but not copied:
// it is a settings file the product writes itself.
bool IsLoggedNotCopied(std::string_view line);

}  // namespace engine
