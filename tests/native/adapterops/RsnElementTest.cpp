#include <gtest/gtest.h>

#include <vector>

#include "adapter/RsnElement.h"

namespace hx {
namespace {

using Bytes = std::vector<uint8_t>;

// An element of id 48 around a body; its length byte counts the body.
Bytes Element(const Bytes& body) {
    Bytes element{kRsnElementId, static_cast<uint8_t>(body.size())};
    element.insert(element.end(), body.begin(), body.end());
    return element;
}

RsnSuite Std(uint8_t type) { return RsnSuite{{0x00, 0x0F, 0xAC}, type}; }

TEST(RsnElement, EveryPartReadAndTheMissingTailsDefaulted) {
    const Bytes version{1, 0};
    const Bytes group{0x00, 0x0F, 0xAC, 2};
    const Bytes pairwise{2, 0, 0x00, 0x0F, 0xAC, 4, 0x00, 0x0F, 0xAC, 2};
    const Bytes akms{2, 0, 0x00, 0x0F, 0xAC, 2, 0x00, 0x10, 0x18, 8};
    const Bytes capabilities{0xC0, 0x00};
    Bytes pmkids{1, 0};
    for (uint8_t i = 0; i < 16; ++i) pmkids.push_back(i);
    const Bytes management{0x00, 0x0F, 0xAC, 6};
    auto join = [](std::initializer_list<Bytes> parts) {
        Bytes body;
        for (const Bytes& part : parts) body.insert(body.end(), part.begin(), part.end());
        return body;
    };

    RsnInfo full;
    full.groupCipher = Std(RsnCipher::Tkip);
    full.pairwise = {Std(RsnCipher::Ccmp), Std(RsnCipher::Tkip)};
    full.akms = {Std(RsnAkm::Psk), RsnSuite{{0x00, 0x10, 0x18}, 8}};  // a vendor's suite kept as it is
    full.capabilities = RsnCapability::Mfpc | RsnCapability::Mfpr;
    full.pmkids = {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}};
    full.groupManagementCipher = Std(RsnCipher::BipCmac);
    auto upTo = [&](int parts) {
        RsnInfo info;  // the defaults: CCMP, CCMP, 802.1X, nothing else
        if (parts > 0) info.groupCipher = full.groupCipher;
        if (parts > 1) info.pairwise = full.pairwise;
        if (parts > 2) info.akms = full.akms;
        if (parts > 3) info.capabilities = full.capabilities;
        if (parts > 4) info.pmkids = full.pmkids;
        if (parts > 5) info.groupManagementCipher = full.groupManagementCipher;
        return info;
    };
    Bytes noPmkids = join({version, group, pairwise, akms, capabilities, {0, 0}, management});
    RsnInfo withoutPmkids = full;
    withoutPmkids.pmkids.clear();

    const struct {
        const char* name;
        Bytes element;
        std::optional<RsnInfo> expected;
    } cases[] = {
        {"version only", Element(version), upTo(0)},
        {"to the group cipher", Element(join({version, group})), upTo(1)},
        {"to the pairwise list", Element(join({version, group, pairwise})), upTo(2)},
        {"to the AKM list", Element(join({version, group, pairwise, akms})), upTo(3)},
        {"to the capabilities", Element(join({version, group, pairwise, akms, capabilities})), upTo(4)},
        {"to the PMKIDs", Element(join({version, group, pairwise, akms, capabilities, pmkids})), upTo(5)},
        {"whole", Element(join({version, group, pairwise, akms, capabilities, pmkids, management})), full},
        {"no PMKIDs, then the management cipher", Element(noPmkids), withoutPmkids},
        {"a later extension passed over",
         Element(join({version, group, pairwise, akms, capabilities, pmkids, management, {7, 7, 7}})), full},

        {"another element's id", Bytes{0xDD, 2, 1, 0}, std::nullopt},
        {"nothing but the id", Bytes{kRsnElementId}, std::nullopt},
        {"a length byte beyond the bytes", Bytes{kRsnElementId, 4, 1, 0}, std::nullopt},
        {"bytes beyond the length byte", Bytes{kRsnElementId, 2, 1, 0, 0}, std::nullopt},
        {"an empty body", Element({}), std::nullopt},
        {"half a version", Element({1}), std::nullopt},
        {"version 2", Element({2, 0}), std::nullopt},
        {"a group cipher cut short", Element(join({version, {0x00, 0x0F, 0xAC}})), std::nullopt},
        {"a pairwise count without its second byte", Element(join({version, group, {1}})), std::nullopt},
        {"a pairwise count past the end", Element(join({version, group, {2, 0, 0x00, 0x0F, 0xAC, 4}})), std::nullopt},
        {"a pairwise count of 0", Element(join({version, group, {0, 0}, akms})), std::nullopt},
        {"a huge pairwise count", Element(join({version, group, {0xFF, 0xFF}, pairwise})), std::nullopt},
        {"an AKM count of 0", Element(join({version, group, pairwise, {0, 0}})), std::nullopt},
        {"an AKM list cut short", Element(join({version, group, pairwise, {1, 0, 0x00, 0x0F}})), std::nullopt},
        {"half the capabilities", Element(join({version, group, pairwise, akms, {0xC0}})), std::nullopt},
        {"a PMKID count past the end",
         Element(join({version, group, pairwise, akms, capabilities, {2, 0}, Bytes(16, 1)})), std::nullopt},
        {"a management cipher cut short",
         Element(join({version, group, pairwise, akms, capabilities, {0, 0}, {0x00, 0x0F}})), std::nullopt},
    };
    for (const auto& c : cases) {
        // An exactly sized copy, so a read past the element is caught by ASan.
        const Bytes exact = c.element;
        EXPECT_EQ(ParseRsnElement(exact), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace hx
