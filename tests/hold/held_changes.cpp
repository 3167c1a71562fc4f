// The machine-change reports of the test builds that are held but never ended.
#include "common/platform/machine_changes.h"
#include "tests/hold/hold_point.h"

namespace platform {

void MachineChanged() { hold_point::HoldAfterChange(); }

}  // namespace platform
