// The order in which the wizard shows its modal pages, apart from the pages themselves.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace app {

inline constexpr std::intptr_t kPageCancelled = 2;  // IDCANCEL
inline constexpr int kDirectionBack = 0;
inline constexpr int kDirectionNext = 1;

// A page that can be shown modally, again and again on the same object.
class SequencedPage {
 public:
  virtual ~SequencedPage() = default;
  virtual std::intptr_t ShowModal() = 0;
};

using PageFactory = std::function<std::unique_ptr<SequencedPage>()>;

// Shows the pages in order. A page reached forwards is a new object; a page reached with
// Back is the object that still exists from before. Any result but kPageCancelled leaves
// the page normally and `direction` (read after each page) decides where to go; the first
// page always leads forwards. Answers 1 when the last page is left forwards and 0 when any
// page is cancelled. The objects left are destroyed last first.
int RunPageSequence(const std::vector<PageFactory>& pages, const int& direction);

}  // namespace app
