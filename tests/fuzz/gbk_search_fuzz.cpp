// The GBK-aware searches and the free-space root built on them.
#include "common/gbk/gbk_search.h"
#include "common/gbk/free_space_root.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // First byte: needle length; then the needle; the rest is the text.
  const size_t needleLength = data[0] % 8;
  const std::string input = fuzz::Bytes(data + 1, size - 1);
  const std::string needle = input.substr(0, needleLength);
  const std::string text = input.substr(needle.size());
  for (size_t found :
       {gbk::Find(text, needle), gbk::FindLast(text, needle), gbk::Find(text, needle, text.size() / 2)}) {
    if (found != gbk::npos) {
      fuzz::Require(found + needle.size() <= text.size(), "a match lies inside the text");
      fuzz::Require(text.compare(found, needle.size(), needle) == 0, "a match is the needle");
    }
  }
  const size_t backslash = gbk::FindLastBackslash(text);
  fuzz::Require(backslash == gbk::npos || text[backslash] == '\\', "a backslash found is one");
  if (const auto root = gbk::FreeSpaceRoot(text)) {
    fuzz::Require(!root->empty() && root->back() == '\\', "a root ends with a backslash");
    fuzz::Require(text.compare(0, root->size() - 1, *root, 0, root->size() - 1) == 0, "a root is the folder's start");
  }
  return 0;
}
