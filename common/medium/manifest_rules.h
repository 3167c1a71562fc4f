// The line rules of the install manifest "install.inf" (one product file name a line).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace medium {

// Lines considered at most; a longer manifest is cut here. Also bounds the progress range.
inline constexpr int kMaxLines = 1000;
// Bytes taken of a line at most; a longer line is cut to its first 255 bytes.
inline constexpr int kMaxLineBytes = 255;

// The manifest's first kMaxLines lines, split as a multi-line edit control splits its
// text: it ends at the first NUL; a line ends at CR LF, or at CR CR LF (a soft break); a
// lone CR or LF is part of its line; the text after the last break is a line of its own,
// empty when the text ends with a break. Each line is cut to kMaxLineBytes. The views
// point into `text`.
std::vector<std::string_view> ManifestLines(std::string_view text);

// The manifest as the builder writes it: CR LF between the lines and none after the last,
// so that the progress bar ends full.
std::string ManifestText(const std::vector<std::string>& lines);
// Every line of a manifest so written, split at each CR LF, as the builder reads one back.
std::vector<std::string> WrittenManifestLines(std::string_view text);

// An empty line or exactly "*****" ends the list of names.
bool EndsList(std::string_view line);

// A name holding ".ini" at any byte but its first is recorded in the log but not copied:
// it is a settings file the product writes itself.
bool IsLoggedNotCopied(std::string_view line);

}  // namespace medium
