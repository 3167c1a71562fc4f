#include "install/app/page_sequence.h"

namespace app {

int RunPageSequence(const std::vector<PageFactory>& pages, const int& direction) {
  std::vector<std::unique_ptr<framework::SequencedPage>> shown;
  auto destroyAll = [&shown] {
    while (!shown.empty()) shown.pop_back();
  };
  if (pages.empty()) return 1;
  shown.push_back(pages[0]());
  for (;;) {
    const std::intptr_t result = shown.back()->ShowModal();
    if (result == framework::kPageCancelled) {
      destroyAll();
      return 0;
    }
    const bool forwards = shown.size() == 1 || direction == framework::kDirectionNext;
    if (!forwards) {
      shown.pop_back();
      continue;
    }
    if (shown.size() == pages.size()) {
      destroyAll();
      return 1;
    }
    shown.push_back(pages[shown.size()]());
  }
}

}  // namespace app
