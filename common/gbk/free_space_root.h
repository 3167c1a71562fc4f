// The root folder whose free space decides whether an install folder is accepted.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace gbk {

// The folder up to and including its first ":\" (C:\ for C:\Program Files\...); for a
// network path \\server\share\..., the share root \\server\share\. Nothing otherwise.
std::optional<std::string> FreeSpaceRoot(std::string_view folder);

}  // namespace gbk
