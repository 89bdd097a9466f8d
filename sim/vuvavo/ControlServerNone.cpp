// Natively the world is steered in-process (SimulatorHost.h); there is no channel.
#if !defined(_WIN32)
#include "sim/vuvavo/ControlServer.h"

namespace hxsim {
void StartControlServer() {}
}  // namespace hxsim
#endif
