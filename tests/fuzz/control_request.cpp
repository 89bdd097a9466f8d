// Arbitrary bytes as a request to the running utility's core: parsed, answered over the
// recording library and the memory profile, and the reply always parses again with a
// status record first.
#include <cstdint>
#include <string>

#include "app/ControlService.h"
#include "config/ProfileStore.h"
#include "tests/native/adapterops/Fixture.h"

namespace {

struct NoWindow final : hx::ControlWindowPort {
    std::vector<hx::SurveyEntry> SurveyEntries() override { return {{{1, 2, 3, 4, 5, 6}, "Lobby", 1, 4, 4, 6, 50}}; }
    void RefreshProfileList() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    hx::test::AdapterFixture f;
    f.state.adapterReady = 1;
    f.state.adapterLookedFor = true;
    hx::ProfileStore profiles{f.profile};
    profiles.LinkProfile("Home");
    NoWindow window;
    hx::ControlService service{{f.state, f.library, f.applier, f.worker, f.store, profiles, f.shell, window}};
    const std::string reply = service.Answer(std::string(reinterpret_cast<const char*>(data), size));
    const auto records = hx::ParseControlMessage(reply);
    if (!records || records->empty() || (*records)[0].Find("status") == nullptr) __builtin_trap();
    return 0;
}
