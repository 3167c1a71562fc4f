#include "common/uninstall_log/log_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using uninstall_log::RegistryRoot;
using uninstall_log::RootRule;

std::vector<std::pair<int, std::string>> Records(std::string text) {
  std::vector<std::pair<int, std::string>> seen;
  uninstall_log::ForEachRecord(
      text.data(), [&seen](uninstall_log::Section section, char* line) { seen.emplace_back(section, line); });
  return seen;
}

using Seen = std::vector<std::pair<int, std::string>>;

TEST(LogReader, SectionsFollowTheEmptyLines) {
  EXPECT_EQ(Records("C:\\a\r\nC:\\b\r\n\r\nHKEY_LOCAL_MACHINE,K\r\n\r\nC:\\d\r\n"),
            (Seen{{0, "C:\\a"}, {0, "C:\\b"}, {1, "HKEY_LOCAL_MACHINE,K"}, {2, "C:\\d"}}));
  EXPECT_EQ(Records("C:\\a\r\n\r\n\r\nC:\\users\r\nC:\\x\r\n"), (Seen{{0, "C:\\a"}, {2, "C:\\users"}, {2, "C:\\x"}}));
}

TEST(LogReader, LastLineWithoutCrIsIgnoredAndEmptyTextHoldsNothing) {
  EXPECT_EQ(Records("C:\\a\r\nC:\\b"), (Seen{{0, "C:\\a"}}));
  EXPECT_EQ(Records(""), Seen{});
  EXPECT_EQ(Records("no line end at all"), Seen{});
  EXPECT_EQ(Records("C:\\a\r"), (Seen{{0, "C:\\a"}})) << "a CR at the very end still ends its line";
}

TEST(LogReader, SectionThreeAndLaterAreIgnored) {
  EXPECT_EQ(Records("\r\n\r\nC:\\f\r\n\r\nC:\\ignored\r\n\r\nC:\\also\r\n"), (Seen{{2, "C:\\f"}}));
}

TEST(LogReader, TheByteAfterACrIsSkippedUnexamined) {
  // A lone CR followed by a letter: the letter is the skipped byte, not part of a line.
  EXPECT_EQ(Records("C:\\a\rXC:\\b\r\n"), (Seen{{0, "C:\\a"}, {0, "C:\\b"}}));
  // CR CR: the second CR is skipped, so no empty line and no section change.
  EXPECT_EQ(Records("C:\\a\r\rC:\\b\r\n"), (Seen{{0, "C:\\a"}, {0, "C:\\b"}}));
}

TEST(LogReader, TextEndsAtTheFirstNul) {
  std::string text("C:\\a\r\nC:\\b\r\n", 12);
  text[7] = '\0';
  EXPECT_EQ(Records(text), (Seen{{0, "C:\\a"}}));
}

TEST(RegistryRecord, KeyRecordAndValueRecordWithCommasInTheValueName) {
  std::string key = "HKEY_LOCAL_MACHINE,SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quendral1.3";
  auto record = uninstall_log::SplitRegistryRecord(key.data(), RootRule::kExactName);
  EXPECT_EQ(record.root, RegistryRoot::kLocalMachine);
  EXPECT_STREQ(record.key, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quendral1.3");
  EXPECT_EQ(record.valueName, nullptr);

  std::string value = "HKEY_CURRENT_USER,Software\\X,name,with,commas";
  record = uninstall_log::SplitRegistryRecord(value.data(), RootRule::kExactName);
  EXPECT_EQ(record.root, RegistryRoot::kCurrentUser);
  EXPECT_STREQ(record.key, "Software\\X");
  EXPECT_STREQ(record.valueName, "name,with,commas");
}

TEST(RegistryRecord, FormattedRecordsReadBackUnderBothRules) {
  for (RegistryRoot root : {RegistryRoot::kLocalMachine, RegistryRoot::kCurrentUser}) {
    for (RootRule rule : {RootRule::kExactName, RootRule::kLeadingPart}) {
      std::string key = uninstall_log::KeyRecord(root, "Software\\Microsoft\\Windows\\CurrentVersion\\run");
      auto record = uninstall_log::SplitRegistryRecord(key.data(), rule);
      EXPECT_EQ(record.root, root);
      EXPECT_STREQ(record.key, "Software\\Microsoft\\Windows\\CurrentVersion\\run");
      EXPECT_EQ(record.valueName, nullptr);

      std::string value = uninstall_log::ValueRecord(root, "Software\\X", "Lumora vigilo,2");
      record = uninstall_log::SplitRegistryRecord(value.data(), rule);
      EXPECT_EQ(record.root, root);
      EXPECT_STREQ(record.key, "Software\\X");
      EXPECT_STREQ(record.valueName, "Lumora vigilo,2");
    }
  }
  EXPECT_EQ(uninstall_log::ValueRecord(RegistryRoot::kLocalMachine, "K", "v"), "HKEY_LOCAL_MACHINE,K,v");
}

TEST(RegistryRecord, LineWithoutCommaIsAKeyUnderLocalMachineForBothRules) {
  for (RootRule rule : {RootRule::kExactName, RootRule::kLeadingPart}) {
    std::string line = "Software\\Morvessa";
    const auto record = uninstall_log::SplitRegistryRecord(line.data(), rule);
    EXPECT_EQ(record.root, RegistryRoot::kLocalMachine);
    EXPECT_STREQ(record.key, "Software\\Morvessa");
    EXPECT_EQ(record.valueName, nullptr);
  }
}

TEST(RegistryRecord, TheTwoRootRules) {
  struct Case {
    const char* root;
    RegistryRoot exact;
    RegistryRoot leading;
  };
  const Case cases[] = {
      {"HKEY_CURRENT_USER", RegistryRoot::kCurrentUser, RegistryRoot::kCurrentUser},
      {"HKEY_CU", RegistryRoot::kLocalMachine, RegistryRoot::kCurrentUser},
      {"", RegistryRoot::kLocalMachine, RegistryRoot::kCurrentUser},
      {"HKEY_USERS", RegistryRoot::kLocalMachine, RegistryRoot::kLocalMachine},
      {"HKEY_CURRENT_USERS", RegistryRoot::kLocalMachine, RegistryRoot::kLocalMachine},
      {"HKEY_LOCAL_MACHINE", RegistryRoot::kLocalMachine, RegistryRoot::kLocalMachine},
  };
  for (const Case& c : cases) {
    std::string a = std::string(c.root) + ",Software\\K";
    std::string b = a;
    EXPECT_EQ(uninstall_log::SplitRegistryRecord(a.data(), RootRule::kExactName).root, c.exact) << c.root;
    EXPECT_EQ(uninstall_log::SplitRegistryRecord(b.data(), RootRule::kLeadingPart).root, c.leading) << c.root;
  }
}

}  // namespace
