// Turns a package built by wixl into one that copies its files from the folder tree beside
// it, for the .msi peer of the benchmarks: wixl marks the files uncompressed but writes
// neither a media row nor the summary's source type, and Wine's msiexec needs both.
//   msi_uncompressed.exe <package.msi>
// Exit code 0 when the package was changed.
#include <windows.h>

#include <msi.h>
#include <msiquery.h>
#include <wtypes.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr UINT kWordCountProperty = 15;  // PID_WORDCOUNT: 0 = long names, uncompressed

bool Run(MSIHANDLE database, const char* query) {
  MSIHANDLE view = 0;
  bool done = MsiDatabaseOpenViewA(database, query, &view) == ERROR_SUCCESS && MsiViewExecute(view, 0) == ERROR_SUCCESS;
  if (view != 0) MsiCloseHandle(view);
  return done;
}

int LastFileSequence(MSIHANDLE database) {
  MSIHANDLE view = 0, record = 0;
  int last = 0;
  if (MsiDatabaseOpenViewA(database, "SELECT `Sequence` FROM `File`", &view) == ERROR_SUCCESS &&
      MsiViewExecute(view, 0) == ERROR_SUCCESS) {
    while (MsiViewFetch(view, &record) == ERROR_SUCCESS) {
      last = std::max(last, MsiRecordGetInteger(record, 1));
      MsiCloseHandle(record);
    }
  }
  if (view != 0) MsiCloseHandle(view);
  return last;
}

bool MarkUncompressed(MSIHANDLE database) {
  MSIHANDLE summary = 0;
  bool done = MsiGetSummaryInformationA(database, nullptr, 1, &summary) == ERROR_SUCCESS &&
              MsiSummaryInfoSetPropertyA(summary, kWordCountProperty, VT_I4, 0, nullptr, nullptr) == ERROR_SUCCESS &&
              MsiSummaryInfoPersist(summary) == ERROR_SUCCESS;
  if (summary != 0) MsiCloseHandle(summary);
  return done;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::printf("usage: msi_uncompressed.exe <package.msi>\n");
    return 2;
  }
  MSIHANDLE database = 0;
  if (MsiOpenDatabaseA(argv[1], MSIDBOPEN_TRANSACT, &database) != ERROR_SUCCESS) return 1;
  char media[128];
  std::snprintf(media, sizeof media, "INSERT INTO `Media` (`DiskId`, `LastSequence`) VALUES (1, %d)",
                LastFileSequence(database));
  const bool done = Run(database, "DELETE FROM `Media`") && Run(database, media) && MarkUncompressed(database) &&
                    MsiDatabaseCommit(database) == ERROR_SUCCESS;
  MsiCloseHandle(database);
  return done ? 0 : 1;
}
