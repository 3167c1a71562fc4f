// A page of a sequence of modal pages, shown again and again on the same object, and the
// way it leaves: cancelled, or normally, back or forwards.
#pragma once

#include <cstdint>

namespace framework {

inline constexpr std::intptr_t kPageCancelled = 2;  // IDCANCEL
inline constexpr int kDirectionBack = 0;
inline constexpr int kDirectionNext = 1;

class SequencedPage {
 public:
  virtual ~SequencedPage() = default;
  virtual std::intptr_t ShowModal() = 0;
};

}  // namespace framework
