// The single-file setup's payload: what the builder appends, the setup reads back; a
// damaged or hostile payload is refused, never read past its end or written outside.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/medium/payload_format.h"
#include "tests/unit/minimal_program.h"

namespace {

std::string Program() { return test_support::MinimalProgram(); }

std::string Entry(const std::string& name, const std::string& bytes) {
  return medium::EntryHeaderBytes(name, medium::PayloadMethod::kStored, bytes.size(), bytes.size(), {}) + bytes;
}

TEST(PayloadFormat, WhatTheBuilderAppendsIsFoundAndReadBack) {
  const std::string payload = Entry("install.exe", "MZ...") + Entry("data\\\xD5\x5C.txt", "");  // a 0x5C trail byte
  medium::PayloadHeader written{payload.size(), {}};
  written.sha256[0] = 0xAB;
  const std::string file = Program() + medium::HeaderBytes(written) + payload + "signature";
  EXPECT_EQ(medium::ProgramImageEnd(Program()), 0x400u);
  medium::PayloadHeader read;
  ASSERT_EQ(medium::LocatePayload(file, read), payload);
  EXPECT_EQ(read.sha256, written.sha256);
  medium::PayloadEntries entries(payload);
  const auto first = entries.Next();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->name, "install.exe");
  EXPECT_EQ(payload.substr(first->storedOffset, first->storedBytes), "MZ...");
  const auto second = entries.Next();
  ASSERT_TRUE(second);
  EXPECT_EQ(second->name, "data\\\xD5\x5C.txt");
  EXPECT_FALSE(entries.Next());
  EXPECT_FALSE(entries.Damaged());

  const std::string cut = file.substr(0, Program().size() + medium::kPayloadHeaderBytes + payload.size() - 1);
  EXPECT_FALSE(medium::LocatePayload(cut, read)) << "a cut-off download";
  EXPECT_FALSE(medium::LocatePayload(Program() + payload, read)) << "no header";
  EXPECT_FALSE(medium::ProgramImageEnd("MZ" + std::string(100, '\xFF')));

  // A stripped program linked to its debug information: one symbol and the strings with the
  // link section's long name follow the sections, and the payload follows them.
  std::string linked = Program();
  linked[0x40 + 12] = 0x00, linked[0x40 + 13] = 0x04;  // the symbols at 0x400
  linked[0x40 + 16] = 1;                               // one of 18 bytes
  linked += std::string(18, 's') + std::string("\x14\0\0\0.gnu_debuglink\0", 20);
  EXPECT_EQ(medium::ProgramImageEnd(linked), linked.size());
  EXPECT_FALSE(medium::ProgramImageEnd(linked.substr(0, linked.size() - 1))) << "strings cut off";
  ASSERT_EQ(medium::LocatePayload(linked + medium::HeaderBytes(written) + payload, read), payload);
}

TEST(PayloadFormat, EntriesThatEndEarlyOrLeaveTheFolderAreDamage) {
  for (const std::string& name : std::vector<std::string>{"..\\evil.exe", "data\\..\\..\\x", "\\Windows\\x.dll", "C:\\x", "a\\\\b", "a/b",
                                  "a\\", "", std::string("a\0b", 3), "a\x81"}) {
    const std::string payload = Entry(name, "x");
    medium::PayloadEntries entries(payload);
    EXPECT_FALSE(entries.Next()) << name;
    EXPECT_TRUE(entries.Damaged()) << name;
  }
  const std::string whole = Entry("a.txt", "12345");
  const std::string cutOff = whole.substr(0, whole.size() - 1);
  medium::PayloadEntries cut(cutOff);
  EXPECT_FALSE(cut.Next());
  EXPECT_TRUE(cut.Damaged());
  std::string unknownMethod = whole;
  unknownMethod[2 + 5] = 7;
  EXPECT_FALSE(medium::PayloadEntries(unknownMethod).Next());
  // A payload whose file cannot be read there.
  medium::PayloadEntries unreadable(whole.size(), [](std::uint64_t, std::size_t, std::string&) { return false; });
  EXPECT_FALSE(unreadable.Next());
  EXPECT_TRUE(unreadable.Damaged());
}

}  // namespace
