// When the program that loaded the library ends normally and HXSIM_EXIT_REPORT names a
// file, the world's last state report and events are written there: how the program left
// the adapter and the Zero Configuration service, which no control command can ask once the
// program (and the control channel with it) is gone.
#include <cstdlib>
#include <fstream>

#include "sim/vuvavo/SimulatorHost.h"

namespace {

struct ExitReport {
    ~ExitReport() {
        const char* path = std::getenv("HXSIM_EXIT_REPORT");
        if (path == nullptr || *path == '\0') return;
        const std::string report = hxsim::SimulatorHost::Instance().FinalReport();
        if (report.empty()) return;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << report;
    }
};

const ExitReport exitReport;

}  // namespace
