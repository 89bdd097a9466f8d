// When HXSIM_EXIT_REPORT names a file, the world's state report and recent events are
// written there when the program that loaded the library ends normally, and each time the
// program stops or starts the Zero Configuration service: how the program left the adapter
// and the service, which no control command can ask once the program (and the control
// channel with it) is gone. A program ended from outside (as Windows ends every program at
// the end of a session) leaves the report of its last service change.
#include <cstdlib>
#include <fstream>

#include "sim/vuvavo/SimulatorHost.h"

namespace hxsim {
namespace {

const char* ReportPath() {
    const char* path = std::getenv("HXSIM_EXIT_REPORT");
    return path != nullptr && *path != '\0' ? path : nullptr;
}

void WriteReport(const char* path, const std::string& report) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << report;
}

struct ExitReport {
    ~ExitReport() {
        const char* path = ReportPath();
        if (path == nullptr) return;
        const std::string report = SimulatorHost::Instance().FinalReport();
        if (!report.empty()) WriteReport(path, report);
    }
};

const ExitReport exitReport;

}  // namespace

void RefreshExitReport(World& world) {
    if (const char* path = ReportPath()) WriteReport(path, WorldReport(world));
}

}  // namespace hxsim
