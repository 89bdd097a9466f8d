#include <gtest/gtest.h>

#include <string>

#include "auth/WpaElement.h"
#include "tests/native/worker/SurveyList.h"

namespace hx::test {
namespace {

const Mac kAp{0x00, 0x0C, 0x41, 0x11, 0x22, 0x33};
const Mac kOther{0x00, 0x0C, 0x41, 0x99, 0x99, 0x99};
const Bytes kRsn{0x30, 0x04, 0x01, 0x00, 0xAA, 0xBB};
const Bytes kVendor{0xDD, 0x05, 0x00, 0x10, 0x18, 0x02, 0x00};

std::vector<Bytes> Found(const Bytes& list, const Mac& bssid) {
    std::vector<Bytes> elements;
    const auto record = FindSurveyRecord(list, bssid.data());
    if (!record) return {{0xEE}};   // marks "no record"
    for (auto element : VendorElements(*record)) elements.emplace_back(element.begin(), element.end());
    return elements;
}

const std::vector<Bytes> kNoRecord{{0xEE}};

TEST(WpaElementWalk, FindsTheRecordAndItsVendorElementsInsideTheBounds) {
    const Bytes wpa = WpaElement(0x02);
    struct Case {
        const char* name;
        Bytes list;
        std::vector<Bytes> expected;
    };
    Bytes shortRecord(20, 0);   // matching address, but too short for the fixed fields
    PutLe32(shortRecord, BssidRecord::Length, 20);
    std::memcpy(&shortRecord[BssidRecord::MacAddress], kAp.data(), 6);
    const Bytes shortThenAp = Concat({Bytes{2, 0, 0, 0}, shortRecord, SurveyRecord({kAp, kVendor})});
    Bytes truncated = SurveyList({{kAp, Concat({kRsn, wpa})}});
    truncated.resize(truncated.size() - 10);   // the record's Length now runs past the buffer
    const Case cases[] = {
        {"second record matches", SurveyList({{kOther, wpa}, {kAp, Concat({kRsn, wpa})}}), {wpa}},
        {"first of two matching records", SurveyList({{kAp, kVendor}, {kAp, wpa}}), {kVendor}},
        {"several vendor elements in order", SurveyList({{kAp, Concat({wpa, kRsn, kVendor})}}),
         {wpa, kVendor}},
        {"no vendor element", SurveyList({{kAp, kRsn}}), {}},
        {"bssid absent", SurveyList({{kOther, wpa}}), kNoRecord},
        {"empty list", SurveyList({}), kNoRecord},
        {"NumberOfItems stops before the record", SurveyList({{kOther, wpa}, {kAp, wpa}}, 1), kNoRecord},
        {"NumberOfItems larger than the list", SurveyList({{kAp, wpa}}, 50), {wpa}},
        {"Length 0 ends the walk", SurveyList({{kOther, wpa, 0}, {kAp, wpa}}), kNoRecord},
        {"Length past the buffer", truncated, kNoRecord},
        {"record shorter than its fixed fields is stepped over", shortThenAp, {kVendor}},
        {"IELength past the record keeps to the record",
         SurveyList({{kAp, Concat({kRsn, wpa}), std::nullopt, 4000}}), {wpa}},
        {"IELength shorter than the fixed bytes", SurveyList({{kAp, wpa, std::nullopt, 8}}), {}},
        {"IELength cuts into an element", SurveyList({{kAp, Concat({kVendor, wpa}), std::nullopt, 12 + 7 + 5}}),
         {kVendor}},
        {"element body running past the end is not taken",
         SurveyList({{kAp, Concat({kVendor, Bytes{0xDD, 0x40, 0x00, 0x50}})}}), {kVendor}},
        {"element one byte short at the end",
         SurveyList({{kAp, Concat({kVendor, Bytes{0xDD, 0x03, 0x01, 0x02}})}}), {kVendor}},
        {"lone id byte at the end", SurveyList({{kAp, Concat({kVendor, Bytes{0xDD}})}}), {kVendor}},
        {"empty vendor element", SurveyList({{kAp, Bytes{0xDD, 0x00}}}), {Bytes{0xDD, 0x00}}},
    };
    for (const auto& c : cases) EXPECT_EQ(Found(c.list, kAp), c.expected) << c.name;
}

TEST(WpaElementWalk, ShortListsAreEmpty) {
    for (size_t size : {0u, 3u}) {
        const Bytes list(size, 0xFF);
        EXPECT_FALSE(FindSurveyRecord(list, kAp.data()).has_value()) << size;
    }
}

}  // namespace
}  // namespace hx::test
