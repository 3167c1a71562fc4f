#include "common/uninstall_log/log_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::FILE* OpenForWriting(const std::string& path) { return std::fopen(path.c_str(), "wb"); }

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class LogWriterTest : public ::testing::Test {
 protected:
  std::string path_ = ::testing::TempDir() + "uninstall_log_writer_test.inf";
  void TearDown() override { std::remove(path_.c_str()); }
};

TEST_F(LogWriterTest, WritesRecordsAndSectionsWithCrLfAndNoTranslation) {
  uninstall_log::LogWriter log;
  ASSERT_TRUE(log.Create(OpenForWriting(path_)));
  log.WriteLine("C:\\Program Files\\Morvessa\\Quendral\\lumora.exe");
  log.WriteLine("C:\\开始菜单\\Quendral帮助.lnk");
  log.EndSection();
  log.WriteLine("HKEY_LOCAL_MACHINE,Software\\Microsoft\\Windows\\CurrentVersion\\run,Lumora vigilo");
  log.EndSection();
  log.WriteLine("C:\\Program Files\\Morvessa");
  log.Close();
  EXPECT_FALSE(log.WriteFailed());
  EXPECT_EQ(ReadAll(path_),
            "C:\\Program Files\\Morvessa\\Quendral\\lumora.exe\r\n"
            "C:\\\xBF\xAA\xCA\xBC\xB2\xCB\xB5\xA5\\Quendral\xB0\xEF\xD6\xFA.lnk\r\n"
            "\r\n"
            "HKEY_LOCAL_MACHINE,Software\\Microsoft\\Windows\\CurrentVersion\\run,Lumora vigilo\r\n"
            "\r\n"
            "C:\\Program Files\\Morvessa\r\n");
}

TEST_F(LogWriterTest, EmptyRegistrySectionIsTwoEmptyLinesInARow) {
  uninstall_log::LogWriter log;
  ASSERT_TRUE(log.Create(OpenForWriting(path_)));
  log.WriteLine("D:\\lumora.exe");
  log.EndSection();
  log.EndSection();
  log.WriteLine("D:\\users");
  log.Close();
  EXPECT_EQ(ReadAll(path_), "D:\\lumora.exe\r\n\r\n\r\nD:\\users\r\n");
}

TEST_F(LogWriterTest, CreateReplacesAnOlderLog) {
  {
    std::ofstream old(path_, std::ios::binary);
    old << "old record that is much longer than the new log\r\n";
  }
  uninstall_log::LogWriter log;
  ASSERT_TRUE(log.Create(OpenForWriting(path_)));
  log.WriteLine("new");
  log.Close();
  EXPECT_EQ(ReadAll(path_), "new\r\n");
}

TEST_F(LogWriterTest, CannotCreateInAMissingFolderAndWritesNothingThen) {
  uninstall_log::LogWriter log;
  EXPECT_FALSE(log.Create(OpenForWriting(::testing::TempDir() + "no/such/folder/uninstall.inf")));
  EXPECT_FALSE(log.WriteLine("x"));
  EXPECT_FALSE(log.EndSection());
}

TEST(LogWriterFailure, AFailedWriteIsReportedAndStopsFurtherWrites) {
  uninstall_log::LogWriter log;
  // /dev/full accepts the open and refuses every write.
  ASSERT_TRUE(log.Create(OpenForWriting("/dev/full")));
  EXPECT_FALSE(log.WriteLine("C:\\a"));
  EXPECT_TRUE(log.WriteFailed());
  EXPECT_FALSE(log.EndSection());
  log.Close();
  EXPECT_TRUE(log.WriteFailed());
}

}  // namespace
