// What a user could see of the kit on the machine: the files and folders under Program
// Files, the program and desktop folders and the temporary folder, and the product's
// registry values. Two records compare equal when an install left nothing behind.
#pragma once

#include <map>
#include <ostream>
#include <string>

namespace e2e {

struct MachineState {
  std::map<std::string, long long> files;       // path -> size, -1 for a folder
  std::map<std::string, std::string> registry;  // key\value -> data
  bool operator==(const MachineState& other) const { return files == other.files && registry == other.registry; }
};

MachineState CaptureMachineState();
// The entries that differ, one a line, for a failure message.
std::string Difference(const MachineState& before, const MachineState& after);

}  // namespace e2e
