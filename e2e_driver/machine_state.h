// What a user could see of the kit on the machine: the files and folders under Program
// Files, the program and desktop folders and the temporary folder, and the product's
// registry values. Two records compare equal when an install left nothing behind.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace e2e {

struct MachineState {
  std::map<std::string, long long> files;       // path -> size, -1 for a folder
  std::map<std::string, std::string> registry;  // key\value -> data
  bool operator==(const MachineState& other) const { return files == other.files && registry == other.registry; }
};

// Files and folders that Windows deletes when it next starts count as gone already: what a
// user sees after that restart.
MachineState CaptureMachineState();
// The same rule for files added to a state by hand.
void ForgetDeletedAtRestart(MachineState& state);
// The paths Windows deletes when it next starts, in the order it deletes them.
std::vector<std::string> DeletedAtRestart();
// Windows starts again, as far as the kit can tell: the deletions scheduled for the
// restart are carried out (wineboot -r). False when that did not end in time.
bool Restart();
// The entries that differ, one a line, for a failure message.
std::string Difference(const MachineState& before, const MachineState& after);

}  // namespace e2e
