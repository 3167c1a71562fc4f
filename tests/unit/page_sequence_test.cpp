#include "install/app/page_sequence.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace {

// Test pages that record their lives and leave with scripted results and directions.
struct Script {
  struct Exit {
    std::intptr_t result;
    int direction;
  };
  std::deque<Exit> exits;
  std::vector<std::string> events;
  int direction = 0;
  int nextObjectId = 0;
};

class ScriptedPage : public framework::SequencedPage {
 public:
  ScriptedPage(Script& script, int pageNumber) : script_(script), page_(pageNumber), object_(++script.nextObjectId) {
    script_.events.push_back("new " + Name());
  }
  ~ScriptedPage() override { script_.events.push_back("delete " + Name()); }
  std::intptr_t ShowModal() override {
    script_.events.push_back("show " + Name());
    const Script::Exit exit = script_.exits.front();
    script_.exits.pop_front();
    script_.direction = exit.direction;
    return exit.result;
  }

 private:
  std::string Name() const { return std::to_string(page_) + "#" + std::to_string(object_); }
  Script& script_;
  int page_;
  int object_;
};

std::vector<app::PageFactory> Pages(Script& script, int count) {
  std::vector<app::PageFactory> pages;
  for (int n = 1; n <= count; ++n) {
    pages.push_back([&script, n] { return std::make_unique<ScriptedPage>(script, n); });
  }
  return pages;
}

constexpr std::intptr_t kOk = 1;
constexpr std::intptr_t kCancel = framework::kPageCancelled;

TEST(PageSequence, BackReshowsTheSameObjectAndNextMakesANewOne) {
  Script script;
  script.exits = {{kOk, 1}, {kOk, 1}, {kOk, 0}, {kOk, 1}, {kOk, 1}};
  EXPECT_EQ(app::RunPageSequence(Pages(script, 3), script.direction), 1);
  EXPECT_EQ(script.events,
            (std::vector<std::string>{"new 1#1", "show 1#1", "new 2#2", "show 2#2", "new 3#3", "show 3#3", "delete 3#3",
                                      "show 2#2", "new 3#4", "show 3#4", "delete 3#4", "delete 2#2", "delete 1#1"}));
}

TEST(PageSequence, BackToTheFirstPageThenAnyResultGoesForward) {
  Script script;
  // Page 2 goes back; page 1 leaves with direction 0 and an odd result, which still
  // leads forward to a newly made page 2.
  script.exits = {{kOk, 1}, {kOk, 0}, {-1, 0}, {kCancel, 0}};
  EXPECT_EQ(app::RunPageSequence(Pages(script, 3), script.direction), 0);
  EXPECT_EQ(script.events, (std::vector<std::string>{"new 1#1", "show 1#1", "new 2#2", "show 2#2", "delete 2#2",
                                                     "show 1#1", "new 2#3", "show 2#3", "delete 2#3", "delete 1#1"}));
}

TEST(PageSequence, CancelOnTheFirstPageAnswersZeroAtOnce) {
  Script script;
  script.exits = {{kCancel, 1}};
  EXPECT_EQ(app::RunPageSequence(Pages(script, 6), script.direction), 0);
  EXPECT_EQ(script.events, (std::vector<std::string>{"new 1#1", "show 1#1", "delete 1#1"}));
}

TEST(PageSequence, APageThatCouldNotBeShownCountsAsLeftNormally) {
  Script script;
  script.exits = {{kOk, 1}, {-1, 1}};
  EXPECT_EQ(app::RunPageSequence(Pages(script, 2), script.direction), 1);
}

TEST(PageSequence, BackFromTheLastPageReturnsToThePreviousObject) {
  Script script;
  script.exits = {{kOk, 1}, {kOk, 1}, {kOk, 0}, {kCancel, 0}};
  EXPECT_EQ(app::RunPageSequence(Pages(script, 3), script.direction), 0);
  EXPECT_EQ(script.events.back(), "delete 1#1");
  EXPECT_EQ(script.events[7], "show 2#2");
}

}  // namespace
