// Arbitrary bytes as a request to the running utility's core: parsed, answered over the
// recording library and the memory profile (which, like the registry, ends names and texts
// at a zero byte), and the reply always parses again with a status record first. The
// profile list changes only as an accepted request says: one name added by profile-save or
// profile-put, the named one gone after profile-delete.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

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
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> before = profiles.ListProfileNames();
    const std::string reply = service.Answer(text);
    const auto records = hx::ParseControlMessage(reply);
    if (!records || records->empty() || (*records)[0].Find("status") == nullptr) __builtin_trap();

    std::vector<std::string> expected = before;
    const auto request = hx::ParseControlRecord(text.substr(0, text.size() - (text.ends_with('\n') ? 1 : 0)));
    if ((*records)[0].Get("status") == "ok" && request) {
        const std::string verb = request->Get("verb"), name = request->Get("name");
        if (verb == "profile-save" || verb == "profile-put") expected.push_back(name);
        if (verb == "profile-delete") std::erase(expected, name);
    }
    if (profiles.ListProfileNames() != expected) __builtin_trap();
    return 0;
}
