#include "app/VendorLibraries.h"

#include "app/UtilityState.h"

namespace hx {
namespace {

// A version text comes from a file: at most this long, control characters shown as '?'.
constexpr size_t kMaxVersionText = 40;

std::string Printable(std::string_view text) {
    std::string out(text.substr(0, kMaxVersionText));
    for (char& ch : out) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte == 0x7F) ch = '?';
    }
    return out;
}

std::string LibraryLine(const char* role, const char* file, const LibraryIdentity& library) {
    const std::string head = std::string(role) + " library: ";
    switch (library.kind) {
    case LibraryKind::StandIn: return head + "simulated stand-in (" + file + ")";
    case LibraryKind::Other:
        return head + file + (library.version.empty() ? std::string(", no version given") : " " + library.version);
    case LibraryKind::Unusable: break;
    }
    return head + "no usable " + file;
}

constexpr bool TitlesAgree() {
    const std::string_view plain = kMainWindowTitle, simulated = kSimulatedMainWindowTitle;
    return simulated.substr(0, plain.size()) == plain && simulated.substr(plain.size()) == kSimulatedMark;
}
static_assert(TitlesAgree(), "the simulated title is the title with the mark");

}  // namespace

LibraryIdentity IdentifyLibrary(const VersionStrings& strings) {
    LibraryIdentity identity{LibraryKind::Other, {}};
    for (const auto& [name, value] : strings) {
        if (name == kStandInMark && !value.empty()) return {LibraryKind::StandIn, {}};
        if (name == "FileVersion") identity.version = Printable(value);
    }
    return identity;
}

std::string LibrariesText(const VendorLibraries& libraries) {
    return LibraryLine("Adapter", "VUVAVO.dll", libraries.adapter) + "\r\n" +
           LibraryLine("Supplicant", "dot1x_dll.dll", libraries.supplicant);
}

const char* LibraryStatusValue(LibraryKind kind) {
    switch (kind) {
    case LibraryKind::StandIn: return "simulated";
    case LibraryKind::Other: return "other";
    case LibraryKind::Unusable: break;
    }
    return "none";
}

const char* MainWindowTitle(bool simulatedAdapter) {
    return simulatedAdapter ? kSimulatedMainWindowTitle : kMainWindowTitle;
}

bool IsMainWindowTitle(std::string_view text) { return text == kMainWindowTitle || text == kSimulatedMainWindowTitle; }

}  // namespace hx
