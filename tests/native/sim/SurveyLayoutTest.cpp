// The scan list read back byte by byte by a parser of the test's own, written from the
// NDIS 5.1 layout: offsets, record lengths, the fixed IE bytes and real elements. Its
// offsets are written out rather than taken from adapter/BssidListLayout.h on purpose: the
// utility and the simulator share that header, and this reading checks it.
#include <map>

#include "SimTestSupport.h"
#include "tests/fakes/CrowdedStreet.h"

namespace {

using simtest::SimFixture;

uint32_t Le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

struct Element {
    int id;
    std::vector<unsigned char> body;
};

struct Record {
    std::string bssid;
    std::string ssid;
    uint32_t privacy;
    int32_t rssi;
    uint32_t dsConfig;
    uint32_t mode;
    uint16_t capability;
    std::vector<Element> elements;
    std::vector<unsigned char> rates;
};

std::string MacOf(const unsigned char* p) {
    hxsim::Mac mac;
    std::copy(p, p + 6, mac.begin());
    return hxsim::MacText(mac);
}

// Every length is checked against the buffer; a record that does not add up fails the test.
std::vector<Record> ReadList(const unsigned char* buffer, size_t size) {
    std::vector<Record> records;
    const uint32_t count = Le32(buffer);
    size_t offset = 4;
    for (uint32_t i = 0; i < count; ++i) {
        EXPECT_LE(offset + 116, size);
        if (offset + 116 > size) break;
        const unsigned char* r = buffer + offset;
        const uint32_t length = Le32(r);
        const uint32_t ieLength = Le32(r + 112);
        EXPECT_GE(length, 116 + ieLength) << "record " << i;
        EXPECT_EQ(length % 4, 0u);
        EXPECT_LE(offset + length, size);
        EXPECT_GE(ieLength, 12u);
        Record rec;
        rec.bssid = MacOf(r + 4);
        const uint32_t ssidLength = Le32(r + 12);
        EXPECT_LE(ssidLength, 32u);
        rec.ssid.assign(reinterpret_cast<const char*>(r + 16), ssidLength);
        rec.privacy = Le32(r + 48);
        rec.rssi = static_cast<int32_t>(Le32(r + 52));
        EXPECT_EQ(Le32(r + 60), 32u);  // Configuration.Length
        rec.dsConfig = Le32(r + 72);
        rec.mode = Le32(r + 92);
        for (int k = 0; k < 16 && r[96 + k]; ++k) rec.rates.push_back(r[96 + k]);
        const unsigned char* ies = r + 116;
        rec.capability = static_cast<uint16_t>(ies[10] | (ies[11] << 8));
        EXPECT_EQ(ies[8] | (ies[9] << 8), 100);  // beacon interval
        size_t e = 12;
        while (e + 2 <= ieLength) {
            const int id = ies[e];
            const size_t n = ies[e + 1];
            EXPECT_LE(e + 2 + n, ieLength) << "element " << id << " runs past IELength";
            if (e + 2 + n > ieLength) break;
            rec.elements.push_back({id, std::vector<unsigned char>(ies + e + 2, ies + e + 2 + n)});
            e += 2 + n;
        }
        EXPECT_EQ(e, ieLength);
        records.push_back(rec);
        offset += length;
    }
    return records;
}

const Element* Find(const Record& r, int id, size_t nth = 0) {
    for (const Element& e : r.elements)
        if (e.id == id && nth-- == 0) return &e;
    return nullptr;
}

class Survey : public SimFixture {
protected:
    std::vector<Record> Scan(bool filter) {
        EXPECT_EQ(WL_SiteSurveyStart(&adapter), 0);
        Advance(3000);
        buffer.assign(12004, 0xCC);
        EXPECT_EQ(WL_RetrieveSiteSurveyData(&adapter, buffer.data(), 12004), 0);
        if (filter) {
            EXPECT_EQ(WL_FilteSiteSurveyData(&adapter, buffer.data()), 0);
        }
        return ReadList(buffer.data(), buffer.size());
    }
    std::map<std::string, Record> ByBssid(const std::vector<Record>& records) {
        std::map<std::string, Record> m;
        for (const Record& r : records) m.emplace(r.bssid, r);  // the first of each
        return m;
    }
    std::vector<unsigned char> buffer;
};

TEST_F(Survey, RecordsCarryTheNetworksAsBeaconsAnnounceThem) {
    const auto records = Scan(true);
    const auto all = ByBssid(records);
    ASSERT_EQ(records.size(), all.size()) << "the filter leaves one record per BSSID";
    ASSERT_EQ(all.size(), 24u) << "the whole street in the first 12004-byte read";

    const Record& open = all.at("06:A0:88:00:00:01");
    EXPECT_EQ(open.ssid, "Open-Lobby");
    EXPECT_EQ(open.privacy, 0u);
    EXPECT_EQ(open.dsConfig, 2412000u);
    EXPECT_EQ(open.mode, 1u);
    EXPECT_GE(open.rssi, -56);
    EXPECT_LE(open.rssi, -48);
    EXPECT_EQ(open.capability & 0x0013, 0x0001);  // ESS, not IBSS, no privacy
    ASSERT_NE(Find(open, 0), nullptr);
    EXPECT_EQ(std::string(Find(open, 0)->body.begin(), Find(open, 0)->body.end()), "Open-Lobby");
    ASSERT_NE(Find(open, 1), nullptr);
    EXPECT_EQ(Find(open, 1)->body.size(), 8u);         // eight rates in the element
    ASSERT_NE(Find(open, 50), nullptr);
    EXPECT_EQ(Find(open, 50)->body, (std::vector<unsigned char>{0x30, 0x48, 0x60, 0x6C}));
    ASSERT_NE(Find(open, 3), nullptr);
    EXPECT_EQ(Find(open, 3)->body, std::vector<unsigned char>{1});
    EXPECT_EQ(open.rates.size(), 12u);
    EXPECT_EQ(open.rates[0], 0x82);

    const Record& tkip = all.at("06:A0:88:00:00:03");
    EXPECT_EQ(tkip.privacy, 1u);
    EXPECT_EQ(tkip.dsConfig, 2462000u);
    const Element* wpa = Find(tkip, 0xDD);
    ASSERT_NE(wpa, nullptr);
    const std::vector<unsigned char> expected{0x00, 0x50, 0xF2, 0x01, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x02,
                                              0x01, 0x00, 0x00, 0x50, 0xF2, 0x02, 0x01, 0x00, 0x00, 0x50,
                                              0xF2, 0x02};
    EXPECT_EQ(wpa->body, expected);

    // The AES network carries another vendor element before its WPA element, which comes last.
    const Record& aes = all.at("06:A0:88:00:00:04");
    ASSERT_NE(Find(aes, 0xDD, 1), nullptr);
    EXPECT_EQ(Find(aes, 0xDD, 0)->body[3], 0x02);
    EXPECT_EQ(Find(aes, 0xDD, 1)->body[3], 0x01);
    EXPECT_EQ(Find(aes, 0xDD, 1)->body[9], 0x04);  // group CCMP
    EXPECT_EQ(aes.elements.back().id, 0xDD);

    const Record& rsn = all.at("06:A0:88:00:00:06");
    EXPECT_EQ(Find(rsn, 0xDD), nullptr);
    ASSERT_NE(Find(rsn, 48), nullptr);
    EXPECT_EQ(Find(rsn, 48)->body[0], 1);
    EXPECT_EQ(rsn.privacy, 1u);

    // A WPA2/WPA3 transition network: PSK and SAE, protected management frames capable
    // (not required), and so the group management cipher after an empty PMKID list.
    const Element* transition = Find(all.at("06:A0:88:00:00:09"), 48);
    ASSERT_NE(transition, nullptr);
    EXPECT_EQ(transition->body, (std::vector<unsigned char>{1, 0, 0x00, 0x0F, 0xAC, 4, 1, 0, 0x00, 0x0F, 0xAC, 4,
                                                             2, 0, 0x00, 0x0F, 0xAC, 2, 0x00, 0x0F, 0xAC, 8,
                                                             0x80, 0x00, 0, 0, 0x00, 0x0F, 0xAC, 6}));

    const Record& cell = all.at("02:48:56:C0:FF:EE");
    EXPECT_EQ(cell.mode, 0u);
    EXPECT_EQ(cell.capability & 0x0003, 0x0002);
    EXPECT_NE(Find(cell, 6), nullptr);  // IBSS parameter set
    EXPECT_EQ(cell.dsConfig, 2457000u);
}

TEST_F(Survey, UnfilteredListsHearStrongAccessPointsOnTheNextChannelTooAndTheFilterDropsThem) {
    const auto raw = Scan(false);
    int tkipRecords = 0;
    for (const Record& r : raw)
        if (r.bssid == "06:A0:88:00:00:03") {
            ++tkipRecords;
            EXPECT_TRUE(r.dsConfig == 2462000u || r.dsConfig == 2457000u);
        }
    EXPECT_EQ(tkipRecords, 2);
    ASSERT_EQ(WL_FilteSiteSurveyData(&adapter, buffer.data()), 0);
    const auto filtered = ReadList(buffer.data(), buffer.size());
    EXPECT_EQ(filtered.size(), raw.size() - 2);  // two strong access points were echoed
    for (const Record& r : filtered)
        if (r.bssid == "06:A0:88:00:00:03") {
            EXPECT_EQ(r.dsConfig, 2462000u);
        }
}

TEST_F(Survey, ABufferTooSmallFailsAndLeavesItUntouched) {
    Scan(true);
    std::vector<unsigned char> small(600, 0xAB);
    EXPECT_EQ(WL_RetrieveSiteSurveyData(&adapter, small.data(), static_cast<int>(small.size())), -1);
    EXPECT_EQ(small[0], 0xAB);
    EXPECT_EQ(WL_RetrieveSiteSurveyData(&adapter, small.data(), 3), -1);
}

TEST_F(Survey, AScanTakesTimeAndTheOldListIsKeptMeanwhile) {
    Advance(5000);  // the scan the adapter made when it came up
    ASSERT_TRUE(hxsim::Control("signal WEP-Lab -100").ok);
    ASSERT_EQ(WL_SiteSurveyStart(&adapter), 0);
    buffer.assign(12004, 0);
    ASSERT_EQ(WL_RetrieveSiteSurveyData(&adapter, buffer.data(), 12004), 0);
    EXPECT_EQ(ByBssid(ReadList(buffer.data(), 12004)).count("06:A0:88:00:00:02"), 1u);
    Advance(2600);
    ASSERT_EQ(WL_RetrieveSiteSurveyData(&adapter, buffer.data(), 12004), 0);
    EXPECT_EQ(ByBssid(ReadList(buffer.data(), 12004)).count("06:A0:88:00:00:02"), 0u);
}

TEST_F(Survey, OnlyChannelsOfTheRegionAreHeard) {
    ASSERT_EQ(SetWL_RegionAndSupportChannel(&adapter, 0x31), 0);  // Spain: 10 and 11
    const auto records = ByBssid(Scan(true));
    for (const auto& [bssid, r] : records) EXPECT_GE(r.dsConfig, 2457000u) << bssid;
    EXPECT_EQ(records.count("06:A0:88:00:00:03"), 1u);
    EXPECT_EQ(records.count("06:A0:88:00:00:01"), 0u);
}

TEST_F(Survey, HiddenNetworksShowAnEmptySsidButCanBeJoined) {
    Start(simtest::DefaultWorldPlus(R"([network]
ssid = Secret-Corner
bssid = 06:A0:88:00:00:42
channel = 4
rssi = -40
hidden = yes
security = open
)"));
    const auto records = ByBssid(Scan(true));
    ASSERT_EQ(records.count("06:A0:88:00:00:42"), 1u);
    EXPECT_EQ(records.at("06:A0:88:00:00:42").ssid, "");
    Join("", 1, 0, 1);
    EXPECT_EQ(CurrentSsid(), "Open-Lobby") << "the strongest open network that says its name";
    Join("Secret-Corner", 1, 0, 1);
    EXPECT_EQ(CurrentSsid(), "Secret-Corner");
}

// A crowded street's list is many times the usual 12004 bytes. The filter, which is given
// no length, keeps it whole and walks no further than the read wrote.
TEST_F(Survey, AListLargerThanTheUsualBufferIsFilteredWholeAndNoFurtherThanWasRead) {
    Start(simtest::DefaultWorldPlus(hx::test::CrowdedStreetNetworks()));
    Advance(5000);  // the scan the adapter made when it came up
    const int size = hxsim::WithWorld([](hxsim::World& w) { return hxsim::SurveyListSize(w.LastScan()); });
    ASSERT_GT(size, 2 * 12004);
    buffer.assign(static_cast<size_t>(size) + 1000, 0);
    EXPECT_EQ(WL_RetrieveSiteSurveyData(&adapter, buffer.data(), 12004), -1);
    ASSERT_EQ(WL_RetrieveSiteSurveyData(&adapter, buffer.data(), static_cast<int>(buffer.size())), 0);
    const auto raw = ReadList(buffer.data(), static_cast<size_t>(size));
    // Past the list: a whole record of a network nobody heard, and a count that takes it in.
    const uint32_t firstLength = Le32(buffer.data() + 4);
    std::copy_n(buffer.begin() + 4, firstLength, buffer.begin() + size);
    buffer[static_cast<size_t>(size) + 4 + 5] = 0x77;
    const std::string planted = MacOf(buffer.data() + size + 4);
    const uint32_t count = Le32(buffer.data()) + 1;
    for (int i = 0; i < 4; ++i) buffer[static_cast<size_t>(i)] = static_cast<unsigned char>(count >> (8 * i));

    ASSERT_EQ(WL_FilteSiteSurveyData(&adapter, buffer.data()), 0);
    const auto filtered = ByBssid(ReadList(buffer.data(), buffer.size()));
    EXPECT_EQ(filtered.size(), 24u + hx::test::kCrowdedStreetNetworks) << "every network once";
    EXPECT_EQ(Le32(buffer.data()), filtered.size());
    EXPECT_GT(raw.size(), filtered.size()) << "strong access points were heard twice";
    EXPECT_EQ(filtered.count(planted), 0u) << "the filter read past the list";
}

// The filter never reads past the buffer, whatever the lengths in it say.
TEST(SurveyFilter, MalformedRecordsAreDroppedWithoutReadingPastTheBuffer) {
    struct Case {
        const char* what;
        uint32_t count;
        uint32_t length;
        uint32_t ieLength;
        uint32_t ssidLength;
        int kept;
    };
    const Case cases[] = {
        {"whole", 1, 140, 20, 4, 1},
        {"length shorter than the fixed part", 1, 100, 12, 4, 0},
        {"IELength past the record", 1, 140, 40, 4, 0},
        {"IELength below the fixed bytes", 1, 140, 8, 4, 0},
        {"SSID longer than 32", 1, 140, 20, 33, 0},
        {"length past the buffer", 1, 20000, 20, 4, 0},
        {"count larger than the records", 500, 140, 20, 4, 1},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> buffer(12004, 0);
        auto put = [&](size_t at, uint32_t v) {
            for (int i = 0; i < 4; ++i) buffer[at + i] = static_cast<unsigned char>(v >> (8 * i));
        };
        put(0, c.count);
        put(4, c.length);
        buffer[8] = 0x06;
        put(4 + 12, c.ssidLength);
        put(4 + 112, c.ieLength);
        EXPECT_EQ(hxsim::FilterSurveyList(buffer.data(), 12004), c.kept) << c.what;
        EXPECT_EQ(Le32(buffer.data()), static_cast<uint32_t>(c.kept)) << c.what;
    }
}

}  // namespace
