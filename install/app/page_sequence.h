// The order in which the wizard shows its modal pages, apart from the pages themselves.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "install/framework/sequenced_page.h"

namespace app {

using PageFactory = std::function<std::unique_ptr<framework::SequencedPage>()>;

// Shows the pages in order. A page reached forwards is a new object; a page reached with
// Back is the object that still exists from before. Any result but kPageCancelled leaves
// the page normally and `direction` (read after each page) decides where to go; the first
// page always leads forwards. Answers 1 when the last page is left forwards and 0 when any
// page is cancelled. The objects left are destroyed last first.
int RunPageSequence(const std::vector<PageFactory>& pages, const int& direction);

}  // namespace app
