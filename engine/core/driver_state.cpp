#include "engine/core/driver_state.h"

#include "engine/core/engine_state.h"

namespace qorv::core {

namespace {
DriverState g_driver;
const ResetRegistration g_reset([] { g_driver = DriverState{}; });
}  // namespace

DriverState& driver_state() { return g_driver; }

}  // namespace qorv::core
