// The single-file setup's payload: what the builder appends, the setup reads back; a
// damaged or hostile payload is refused, never read past its end or written outside.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/medium/payload_format.h"

namespace {

// The smallest program file: an MZ header naming a PE header with one section of 0x200
// bytes at 0x200.
std::string Program() {
  std::string file(0x400, '\0');
  file[0] = 'M';
  file[1] = 'Z';
  file[0x3C] = 0x40;
  file.replace(0x40, 4, std::string("PE\0\0", 4));
  file[0x46] = 1;     // one section
  file[0x54] = 0x10;  // a 16-byte optional header
  const std::size_t section = 0x40 + 24 + 0x10;
  file[section + 17] = 0x02;  // 0x200 raw bytes
  file[section + 21] = 0x02;  // at 0x200
  return file;
}

std::string Entry(const std::string& name, const std::string& bytes) {
  return medium::EntryHeaderBytes(name, medium::PayloadMethod::kStored, bytes.size(), bytes.size()) + bytes;
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
  EXPECT_EQ(first->stored, "MZ...");
  EXPECT_EQ(entries.RemainingBytes(), payload.size() - Entry("install.exe", "MZ...").size());
  const auto second = entries.Next();
  ASSERT_TRUE(second);
  EXPECT_EQ(second->name, "data\\\xD5\x5C.txt");
  EXPECT_FALSE(entries.Next());
  EXPECT_FALSE(entries.Damaged());

  const std::string cut = file.substr(0, Program().size() + medium::kPayloadHeaderBytes + payload.size() - 1);
  EXPECT_FALSE(medium::LocatePayload(cut, read)) << "a cut-off download";
  EXPECT_FALSE(medium::LocatePayload(Program() + payload, read)) << "no header";
  EXPECT_FALSE(medium::ProgramImageEnd("MZ" + std::string(100, '\xFF')));
}

TEST(PayloadFormat, EntriesThatEndEarlyOrLeaveTheFolderAreDamage) {
  for (const std::string& name : std::vector<std::string>{"..\\evil.exe", "data\\..\\..\\x", "\\Windows\\x.dll", "C:\\x", "a\\\\b", "a/b",
                                  "a\\", "", std::string("a\0b", 3), "a\x81"}) {
    medium::PayloadEntries entries(Entry(name, "x"));
    EXPECT_FALSE(entries.Next()) << name;
    EXPECT_TRUE(entries.Damaged()) << name;
  }
  const std::string whole = Entry("a.txt", "12345");
  medium::PayloadEntries cut(whole.substr(0, whole.size() - 1));
  EXPECT_FALSE(cut.Next());
  EXPECT_TRUE(cut.Damaged());
  std::string unknownMethod = whole;
  unknownMethod[2 + 5] = 7;
  EXPECT_FALSE(medium::PayloadEntries(unknownMethod).Next());
}

}  // namespace
