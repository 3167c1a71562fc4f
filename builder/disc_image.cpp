#include "builder/disc_image.h"

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
  if (status != 0 || report.find("Differences") != std::string::npos || report.find("MISMATCH") != std::string::npos) {
    std::cerr << image << ": error: the image differs from the medium:\n" << report;
    return false;
  }
  std::printf("disc image %s: volume %s, Joliet names, read back and equal to the medium\n", image.c_str(),
              product::kVolumeLabel);
  return true;
}

}  // namespace builder
