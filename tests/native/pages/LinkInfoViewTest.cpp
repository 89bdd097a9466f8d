#include <gtest/gtest.h>

#include "pages/LinkInfoView.h"
#include "tests/fakes/FakeAdapterLibrary.h"

namespace hx {
namespace {

TEST(LinkInfoView, RateTexts) {
    const struct { int kbps; const char* text; } cases[] = {
        {1000, "1 Mbps"}, {1500, "1.5 Mbps"}, {5500, "5.5 Mbps"}, {11000, "11 Mbps"},
        {54000, "54 Mbps"}, {0, "0 Mbps"},
    };
    for (const auto& c : cases) EXPECT_EQ(TxRateText(c.kbps), c.text) << c.kbps;
}

TEST(LinkInfoView, StatusAndAreaRulesByConnectionAndNetworkType) {
    test::FakeAdapterLibrary library;
    const struct {
        int connectState, networkType;
        const char* status;
        bool infrastructureArea;
    } cases[] = {
        {1, 1, "No connection to Network", true},
        {1, 0, "No connection to Network", false},
        {0, 1, "Associated BSSID = 00-0C-F1-12-34-5A", true},
        {0, 0, "Joined IBSSID = 00-0C-F1-12-34-5A", false},
        {-1, 1, "Associated BSSID = 00-0C-F1-12-34-5A", true},  // only 1 reads as not connected
        {0, 2, "Associated BSSID = 00-0C-F1-12-34-5A", false},
    };
    for (const auto& c : cases) {
        LinkStatus link;
        link.connectState = c.connectState;
        link.networkType = c.networkType;
        link.bssid = {0x00, 0x0C, 0xF1, 0x12, 0x34, 0x5A};
        link.ssid = "home";
        link.channel = 11;
        link.linkQuality = 87;
        link.signalStrength = 0;
        const auto view = MakeLinkInfoView(link, library);
        EXPECT_EQ(view.status, c.status);
        EXPECT_EQ(view.qualityAreaEnabled, c.infrastructureArea);
        EXPECT_EQ(view.qualityPercentShown, c.infrastructureArea);
        EXPECT_EQ(view.signalLabelShown, c.infrastructureArea);
        EXPECT_EQ(view.ssid, "home");
        EXPECT_EQ(view.channel, "11");
        EXPECT_EQ(view.qualityPercent, "87 %");
        EXPECT_EQ(view.signalPercent, "0 %");
        EXPECT_EQ(view.qualityPosition, 87);
    }
}

// A driver library whose separated form ends with a separator too, as its contract allows:
// three characters a byte and the end.
class TrailingSeparatorLibrary : public test::FakeAdapterLibrary {
public:
    int BinToHexStr(const unsigned char* bytes, char* out, int count, int separated) override {
        const int length = FakeAdapterLibrary::BinToHexStr(bytes, out, count, separated);
        if (length <= 0 || separated == 0) return length;
        out[length] = ' ';
        out[length + 1] = '\0';
        return length + 1;
    }
};

TEST(LinkInfoView, AnAddressTextEndingInASeparatorFitsAndShowsSixPairs) {
    TrailingSeparatorLibrary library;
    const uint8_t address[6] = {0x00, 0x0C, 0xF1, 0x12, 0x34, 0x5A};
    EXPECT_EQ(DashedAddress(library, address), "00-0C-F1-12-34-5A");
}

}  // namespace
}  // namespace hx
