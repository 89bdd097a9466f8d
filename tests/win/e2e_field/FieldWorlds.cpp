#include "tests/win/e2e_field/FieldWorlds.h"

#include "tests/fakes/CrowdedStreet.h"

namespace hx::test {
namespace {

struct FieldWorld {
    const char* name;
    void (*build)(ScenarioFile&);
};

// The table of worlds.
const FieldWorld kWorlds[] = {
    {"crowded-street", [](ScenarioFile& f) { f.Append(CrowdedStreetNetworks()); }},
    // The enterprise network with the user's certificates, as the default world has them.
    {"enterprise-floor", [](ScenarioFile&) {}},
    {"back-office",
     [](ScenarioFile& f) {
         f.Append(std::string("[network]\nssid = ") + kHiddenSsid + "\nbssid = " + kHiddenBssid +
                  "\nchannel = 4\nrssi = -58\nsecurity = open\nhidden = yes");
     }},
    // The home network's signal holds still, so a fade is exactly what the test sets.
    {"garden", [](ScenarioFile& f) { f.Replace("rssi = -47\n", "rssi = -47\ndrift = 0\n"); }},
    {"flat", [](ScenarioFile&) {}},
    // The default world is a street of today; a wrong key is refused, and the adapter back,
    // sooner than by default.
    {"street-of-today", [](ScenarioFile& f) { f.Append("[timing]\nhandshake-timeout = 2500\nreconnect = 1000"); }},
};

}  // namespace

bool EnterWorld(ScenarioFile& file, const std::string& name) {
    for (const FieldWorld& world : kWorlds) {
        if (name != world.name) continue;
        world.build(file);
        return file.Append("# " + name).Install("field_" + name);
    }
    return false;
}

}  // namespace hx::test
