// Reaching VUVAVO.dll's simulated world from the supplicant's Windows tests: its control
// commands, and the adapter opened the way the utility opens it.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "adapter/VuvavoApi.h"
#include "sim/SimulatorExports.h"

namespace suptest {

inline std::string Control(const std::string& command) {
    std::vector<char> reply(64 * 1024);
    HxSimControl(command.c_str(), reply.data(), static_cast<int>(reply.size()));
    return reply.data();
}

inline bool ShowHas(const std::string& text) { return Control("show").find(text) != std::string::npos; }

// How often the access point has given up on a station so far; the world lives as long as
// the process, so tests compare counts.
inline size_t HandshakeTimeouts() {
    const std::string events = Control("events");
    const std::string what = "4-way handshake timeout";
    size_t n = 0;
    for (size_t at = events.find(what); at != std::string::npos; at = events.find(what, at + 1)) ++n;
    return n;
}

template <typename Predicate>
bool WaitUntil(Predicate done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(20);
    }
    return true;
}

inline bool OpenAdapter(hx::AdapterHandle& record) {
    std::vector<hx::AdapterListEntry> list(100);
    const int n = CreateNICAdapterList(list.data(), 100);
    for (int i = 0; i < n; ++i) {
        const std::string key = std::string("SYSTEM\\CurrentControlSet\\Control\\Class\\"
                                            "{4D36E972-E325-11CE-BFC1-08002BE10318}\\") + list[i].instanceKey;
        char value[256] = {};
        unsigned long size = sizeof value;
        if (QueryHLMReg(key.c_str(), "MatchingDeviceId", value, &size) != 0) continue;
        if (_stricmp(value, "usb\\vid_4856&pid_0088") != 0) continue;
        std::memcpy(record.name, list[i].name, sizeof record.name);
        std::memcpy(record.description, list[i].description, sizeof record.description);
        std::memcpy(record.instanceKey, list[i].instanceKey, sizeof record.instanceKey);
        if (HxOpenAdapter(&record) != 0) return true;
    }
    return false;
}

}  // namespace suptest
