#include "common/platform/machine_changes.h"

namespace platform {

void MachineChanged() {}

}  // namespace platform
