#include "builder/disc_image.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "product/product_facts.h"

namespace builder {

namespace {

// What xorriso prints when it compares the image with the medium; nothing when it cannot run.
std::string Differences(const std::string& compare, int& status) {
  FILE* output = popen(compare.c_str(), "r");
  std::string report;
  char buffer[512];
  while (output != nullptr && std::fgets(buffer, sizeof buffer, output) != nullptr) report += buffer;
  status = output != nullptr ? pclose(output) : -1;
  return report;
}

// With SOURCE_DATE_EPOCH (seconds since 1970) set, every file and folder of the image gets
// that time, as xorriso gives it to the volume itself: the same medium always makes the same
// image. Without it, nothing.
std::string FileDatesFromSourceDate() {
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  if (epoch == nullptr || *epoch == '\0') return "";
  for (const char* digit = epoch; *digit != '\0'; ++digit) {
    if (*digit < '0' || *digit > '9') return "";
  }
  return std::string(" -volume_date all_file_dates =") + epoch;
}

// Whether xorriso's comparison names a difference other than a file's time: with
// SOURCE_DATE_EPOCH the image's times are the commit's, not the files' own.
bool DiffersBeyondTimes(const std::string& report) {
  std::size_t start = 0;
  while (start < report.size()) {
    const std::size_t end = std::min(report.find('\n', start), report.size());
    const std::string line = report.substr(start, end - start);
    const bool time = line.find(": st_mtime") != std::string::npos || line.find(": st_ctime") != std::string::npos ||
                      line.find(": st_atime") != std::string::npos;
    if ((line.rfind("- '", 0) == 0 && !time) || line.find("MISMATCH") != std::string::npos) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

bool WriteDiscImage(const std::filesystem::path& medium, const std::string& image) {
  std::filesystem::remove(image);
  const std::string make = "xorriso -report_about WARNING -local_charset UTF-8 -outdev '" + image + "' -volid " +
                           product::kVolumeLabel + " -joliet on" + FileDatesFromSourceDate() + " -map '" +
                           medium.string() + "' / -commit";
  const std::string compare = "xorriso -report_about WARNING -local_charset UTF-8 -indev '" + image + "' -compare_r '" +
                              medium.string() + "' / 2>&1";
  if (std::system((make + " >/dev/null 2>&1").c_str()) != 0) {
    std::cerr << image << ": error: xorriso could not write the image\n";
    return false;
  }
  int status = 0;
  const std::string report = Differences(compare, status);
  if (status != 0 || DiffersBeyondTimes(report)) {
    std::cerr << image << ": error: the image differs from the medium:\n" << report;
    return false;
  }
  std::printf("disc image %s: volume %s, Joliet names, read back and equal to the medium\n", image.c_str(),
              product::kVolumeLabel);
  return true;
}

}  // namespace builder
