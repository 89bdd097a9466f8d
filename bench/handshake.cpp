// CPU time of one whole key handshake, both sides natively in one process: the simulated
// access point's authenticator and our supplicant's key handshake, frames handed across in
// memory. One iteration is a 4-way handshake from message 1 to message 4 and the group
// key's delivery (WPA: the group key handshake that follows; WPA2: inside message 3), from
// a given pairwise master key (the pass phrase mapping is bench/psk.cpp's).
#include <benchmark/benchmark.h>

#include <deque>
#include <vector>

#include "sim/core/Authenticator.h"
#include "sim/core/BeaconElements.h"
#include "sim/core/StationElement.h"
#include "sim/dot1x/core/KeyHandshake.h"

namespace {

void Handshake(benchmark::State& state, bool rsn, uint8_t suite) {
    const hxsim::Mac accessPoint{0x06, 0xA0, 0x88, 0x00, 0x00, 0x06};
    const hxsim::Mac station{0x00, 0x48, 0x56, 0x88, 0x00, 0x01};
    const std::vector<uint8_t> pmk(32, 0x42);
    hxsim::SecurityElement offered;
    offered.present = true;
    offered.groupCipher = suite;
    offered.pairwiseCiphers = {suite};
    offered.akms = {hxsim::Suite::AkmPsk};
    const auto networkElement = rsn ? hxsim::RsnElement(offered) : hxsim::WpaElement(offered);
    const auto stationElement =
        rsn ? hxsim::StationRsnElement(networkElement, hxsim::Suite::AkmPsk).element : std::vector<uint8_t>{};

    hxsup::NegotiationSettings settings;
    settings.ownAddress = station;
    std::copy(pmk.begin(), pmk.end(), settings.pmk.begin());
    settings.wpaElement = networkElement;
    settings.stationElement = stationElement;
    settings.pairwiseCipher = settings.groupCipher =
        suite == hxsim::Suite::Ccmp ? hxsup::Cipher::Ccmp : hxsup::Cipher::Tkip;

    for (auto _ : state) {
        std::deque<std::vector<uint8_t>> toStation;
        hxsim::Authenticator authenticator(accessPoint, station, pmk, suite, suite,
                                           hxsim::KeyProtocol{rsn, networkElement, stationElement}, 1000, toStation);
        auto supplicant = hxsup::KeyHandshake::Create(settings);
        supplicant->SetAuthenticatorAddress(accessPoint);
        authenticator.Start(0);
        size_t keys = 0;
        while (!toStation.empty()) {
            const auto frame = std::move(toStation.front());
            toStation.pop_front();
            const auto step = supplicant->HandleFrame(frame);
            keys += step.keys.size();
            authenticator.OnKeyFrame(step.reply.data(), static_cast<int>(step.reply.size()), 0);
        }
        if (!authenticator.GroupDone() || keys != 2) {
            state.SkipWithError("the handshake did not complete");
            break;
        }
    }
}

BENCHMARK_CAPTURE(Handshake, WpaTkip, false, hxsim::Suite::Tkip)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Handshake, WpaCcmp, false, hxsim::Suite::Ccmp)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Handshake, Wpa2Tkip, true, hxsim::Suite::Tkip)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Handshake, Wpa2Ccmp, true, hxsim::Suite::Ccmp)->Unit(benchmark::kMicrosecond);

}  // namespace
