#include <gtest/gtest.h>

#include <string>

#include "auth/WpaElement.h"
#include "tests/native/worker/SurveyList.h"

namespace hx::test {
namespace {

const Mac kElementAp{0x00, 0x0C, 0x41, 0x11, 0x22, 0x33};
const Mac kElementOther{0x00, 0x0C, 0x41, 0x99, 0x99, 0x99};
const Bytes kElementRsn{0x30, 0x04, 0x01, 0x00, 0xAA, 0xBB};
const Bytes kElementVendor{0xDD, 0x05, 0x00, 0x10, 0x18, 0x02, 0x00};

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
    std::memcpy(&shortRecord[BssidRecord::MacAddress], kElementAp.data(), 6);
    const Bytes shortThenAp = Concat({Bytes{2, 0, 0, 0}, shortRecord, SurveyRecord({kElementAp, kElementVendor})});
    Bytes truncated = SurveyList({{kElementAp, Concat({kElementRsn, wpa})}});
    truncated.resize(truncated.size() - 10);   // the record's Length now runs past the buffer
    const Case cases[] = {
        {"second record matches", SurveyList({{kElementOther, wpa}, {kElementAp, Concat({kElementRsn, wpa})}}), {wpa}},
        {"first of two matching records", SurveyList({{kElementAp, kElementVendor}, {kElementAp, wpa}}), {kElementVendor}},
        {"several vendor elements in order", SurveyList({{kElementAp, Concat({wpa, kElementRsn, kElementVendor})}}),
         {wpa, kElementVendor}},
        {"no vendor element", SurveyList({{kElementAp, kElementRsn}}), {}},
        {"bssid absent", SurveyList({{kElementOther, wpa}}), kNoRecord},
        {"empty list", SurveyList({}), kNoRecord},
        {"NumberOfItems stops before the record", SurveyList({{kElementOther, wpa}, {kElementAp, wpa}}, 1), kNoRecord},
        {"NumberOfItems larger than the list", SurveyList({{kElementAp, wpa}}, 50), {wpa}},
        {"Length 0 ends the walk", SurveyList({{kElementOther, wpa, 0}, {kElementAp, wpa}}), kNoRecord},
        {"Length past the buffer", truncated, kNoRecord},
        {"record shorter than its fixed fields is stepped over", shortThenAp, {kElementVendor}},
        {"IELength past the record keeps to the record",
         SurveyList({{kElementAp, Concat({kElementRsn, wpa}), std::nullopt, 4000}}), {wpa}},
        {"IELength shorter than the fixed bytes", SurveyList({{kElementAp, wpa, std::nullopt, 8}}), {}},
        {"IELength cuts into an element", SurveyList({{kElementAp, Concat({kElementVendor, wpa}), std::nullopt, 12 + 7 + 5}}),
         {kElementVendor}},
        {"element body running past the end is not taken",
         SurveyList({{kElementAp, Concat({kElementVendor, Bytes{0xDD, 0x40, 0x00, 0x50}})}}), {kElementVendor}},
        {"element one byte short at the end",
         SurveyList({{kElementAp, Concat({kElementVendor, Bytes{0xDD, 0x03, 0x01, 0x02}})}}), {kElementVendor}},
        {"lone id byte at the end", SurveyList({{kElementAp, Concat({kElementVendor, Bytes{0xDD}})}}), {kElementVendor}},
        {"empty vendor element", SurveyList({{kElementAp, Bytes{0xDD, 0x00}}}), {Bytes{0xDD, 0x00}}},
    };
    for (const auto& c : cases) EXPECT_EQ(Found(c.list, kElementAp), c.expected) << c.name;
}

TEST(WpaElementWalk, ShortListsAreEmpty) {
    for (size_t size : {0u, 3u}) {
        const Bytes list(size, 0xFF);
        EXPECT_FALSE(FindSurveyRecord(list, kElementAp.data()).has_value()) << size;
    }
}

}  // namespace
}  // namespace hx::test
