// Which libraries the utility runs on: the adapter's driver library (VUVAVO.dll) and the
// supplicant library (dot1x_dll.dll). Each is our simulated stand-in, another library of
// that name (the adapter's own, from its driver package), or none the utility could use.
// The stand-ins say what they are in their version resource; nothing else is taken for
// it, so a library is never shown as the real adapter's because of its name or its folder.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hx {

// The string value of its version resource by which a library is our stand-in. Its text
// says what the library stands in for; no other library carries the value.
inline constexpr const char* kStandInMark = "HX88UStandIn";

// The strings read from a library's version resource, by name.
using VersionStrings = std::vector<std::pair<std::string, std::string>>;
// The names read (the mark, and the version shown for another library).
inline constexpr const char* kVersionStringNames[] = {kStandInMark, "FileVersion"};

enum class LibraryKind {
    Unusable,   // not there, not loadable, or without one of the exports the utility calls
    StandIn,    // our simulated stand-in
    Other,      // another library of that name
};

struct LibraryIdentity {
    LibraryKind kind = LibraryKind::Unusable;
    std::string version;   // another library's FileVersion, when it has one
};

struct VendorLibraries {
    LibraryIdentity adapter;
    LibraryIdentity supplicant;

    // While it is so, the utility shows the simulated radio world, not the air around it.
    bool SimulatedAdapter() const { return adapter.kind == LibraryKind::StandIn; }
};

// A usable library's identity from its version strings (none: no version resource).
LibraryIdentity IdentifyLibrary(const VersionStrings& strings);

// The About page's two lines, adapter library first.
std::string LibrariesText(const VendorLibraries& libraries);

// The control channel's value for a library: "simulated", "other" or "none".
const char* LibraryStatusValue(LibraryKind kind);

// Said wherever the utility shows itself while the simulated adapter is loaded: at the end
// of the tray tooltip and of the window's title.
inline constexpr std::string_view kSimulatedMark = " (simulated)";

// The main window's title: the utility's own, with the mark while the simulated adapter is
// loaded. Another instance, hxctl and the installer find the window by either.
inline constexpr const char* kSimulatedMainWindowTitle = "Halvorn HX-88U Utility (simulated)";
const char* MainWindowTitle(bool simulatedAdapter);
// Either of the two titles.
bool IsMainWindowTitle(std::string_view text);

}  // namespace hx
