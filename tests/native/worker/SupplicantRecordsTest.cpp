#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "adapter/VuvavoApi.h"
#include "auth/KeyInstaller.h"
#include "auth/SupplicantRecordBuilder.h"
#include "config/WlanSetting.h"
#include "tests/fakes/FakeAdapterLibrary.h"
#include "tests/native/worker/RecordImages.h"

namespace hx::test {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(CipherCode, FollowsEncryptionAndKeyLength) {
    const struct { int wepStatus, keyLength; std::optional<int> code; } cases[] = {
        {WepStatus::Tkip, 64, 8},   {WepStatus::Tkip, 0, 8},   {WepStatus::Aes, 128, 16},
        {WepStatus::Wep, 128, 4},   {WepStatus::Wep, 64, 2},   {WepStatus::Wep, 100, 2},
        {WepStatus::Wep, 0, 2},     {WepStatus::Wep, 256, 4},  {WepStatus::Disabled, 64, std::nullopt},
        {2, 64, std::nullopt},      {5, 128, std::nullopt},    {-1, 64, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CipherCodeFor(c.wepStatus, c.keyLength), c.code) << c.wepStatus << "/" << c.keyLength;
}

TEST(EapConfigRecord, TlsAndPeapAreFilledByteByByte) {
    const Bytes tls = EapTlsImage("alice"), peap = PeapImage("alice", "pa55word");
    const struct { int protocol; const Bytes& expected; } cases[] = {
        {Dot1xMethod::EapTls, tls}, {Dot1xMethod::Peap, peap}};
    for (const auto& c : cases) {
        EapConfigRecord record;
        std::memset(&record, 0x5A, sizeof record);   // the fill must clear what was there
        EXPECT_TRUE(FillEapConfigRecord(record, c.protocol, "alice", "pa55word"));
        EXPECT_EQ(BytesOf(record), c.expected) << "protocol " << c.protocol;
    }
}

TEST(EapConfigRecord, OverlongTextsAreCutInsideTheirFields) {
    EapConfigRecord record;
    const std::string user(400, 'u'), password(400, 'p');
    ASSERT_TRUE(FillEapConfigRecord(record, Dot1xMethod::Peap, user, password));
    EXPECT_EQ(std::string(record.identity), std::string(255, 'u'));
    EXPECT_EQ(std::string(record.password), std::string(254, 'p'));
    EXPECT_STREQ(record.caCertFile, "caroot.pem");   // the next field is untouched
    EXPECT_EQ(std::string(record.innerIdentity), std::string(255, 'u'));
}

TEST(EapConfigRecord, OtherMethodsLeaveAnEmptyRecord) {
    EapConfigRecord record;
    std::memset(&record, 0x5A, sizeof record);
    EXPECT_FALSE(FillEapConfigRecord(record, 2, "alice", "pw"));
    EXPECT_EQ(BytesOf(record), Bytes(sizeof record, 0));
}

void HX_CALLBACK IgnoreKey(const uint8_t*, const uint8_t*, int, int, int) {}

TEST(KeyNegotiationRecord, FieldsLieAtTheDocumentedOffsets) {
    const uint8_t mac[6] = {0x00, 0x0A, 0xEB, 0x12, 0x34, 0x56};
    const Bytes element{0xDD, 0x03, 0x00, 0x50, 0xF2};
    KeyNegotiationRecord record;
    std::memset(&record, 0x5A, sizeof record);
    PrepareKeyNegotiationRecord(record, mac, element, CipherCode::Tkip, &IgnoreKey);
    PutRunConstant(record);
    const Bytes bytes = BytesOf(record);

    auto read = [&](size_t offset, size_t size) {
        uint64_t value = 0;
        for (size_t i = 0; i < size; ++i) value |= uint64_t{bytes[offset + i]} << (8 * i);
        return value;
    };
    const bool wide = sizeof(void*) == 8;
    const size_t lengthAt = wide ? 0x138 : 0x134, pairwiseAt = wide ? 0x13C : 0x138;
    const size_t groupAt = wide ? 0x140 : 0x13C, callbackAt = wide ? 0x148 : 0x140;
    EXPECT_EQ(bytes.size(), wide ? 336u : 324u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), Bytes(mac, mac + 6));
    EXPECT_EQ(Bytes(bytes.begin() + 0x006, bytes.begin() + 0x026), Bytes(32, 0));   // key: the run's
    EXPECT_EQ(Bytes(bytes.begin() + 0x026, bytes.begin() + 0x036),
              Bytes(NegotiationRunConstant().begin(), NegotiationRunConstant().end()));
    EXPECT_EQ(Bytes(bytes.begin() + 0x036, bytes.begin() + 0x130), Bytes(250, 0));
    EXPECT_EQ(read(0x130, sizeof(void*)), reinterpret_cast<uintptr_t>(element.data()));
    EXPECT_EQ(read(lengthAt, 2), 5u);
    EXPECT_EQ(read(lengthAt + 2, 2), 0u);
    EXPECT_EQ(read(pairwiseAt, 4), 8u);
    EXPECT_EQ(read(groupAt, 4), 8u);
    EXPECT_EQ(read(callbackAt, sizeof(void*)), reinterpret_cast<uintptr_t>(&IgnoreKey));
    if (wide) {
        EXPECT_EQ(read(0x144, 4), 0u);   // padding before the callback
    }
}

const uint8_t kRsc[8] = {1, 2, 3, 4, 5, 6, 0, 0};
const uint8_t kBssid[6] = {0x00, 0x0C, 0x41, 0x11, 0x22, 0x33};

Bytes ExpectedKeyRecord(int keyLength, uint32_t keyIndexField, const Bytes& key) {
    Bytes record(static_cast<size_t>(keyLength) + 39, 0);
    auto le32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) record[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    };
    le32(0, static_cast<uint32_t>(keyLength) + 39);
    le32(4, keyIndexField);
    le32(8, static_cast<uint32_t>(keyLength));
    std::memcpy(&record[12], kBssid, 6);
    std::memcpy(&record[24], kRsc, 8);
    std::memcpy(&record[32], key.data(), key.size());
    return record;
}

Bytes KeyOf(int length) {
    Bytes key(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i) key[static_cast<size_t>(i)] = static_cast<uint8_t>(0xA0 + i);
    return key;
}

TEST(NdisKeyRecord, PairwiseGroupAndOtherKinds) {
    const struct { int length, index, kind; uint32_t keyIndexField; } cases[] = {
        {32, 0, KeyKind::Pairwise, 0xE0000000u}, {16, 3, KeyKind::Pairwise, 0xE0000000u},
        {32, 2, KeyKind::Group, 0x20000002u},    {16, 1, KeyKind::Group, 0x20000001u},
        {5, 1, 7, 0x20000000u},                  {13, 0, -1, 0x20000000u},
        {1, 0, KeyKind::Pairwise, 0xE0000000u},
    };
    for (const auto& c : cases) {
        const Bytes key = KeyOf(c.length);
        EXPECT_EQ(BuildNdisKeyRecord(kRsc, key.data(), c.length, c.index, c.kind, kBssid),
                  ExpectedKeyRecord(c.length, c.keyIndexField, key))
            << c.length << "/" << c.index << "/" << c.kind;
    }
}

TEST(NdisKeyRecord, RefusesKeysThatCannotBeReal) {
    const Bytes key = KeyOf(64);
    for (int length : {0, -1, 33, 64, 1 << 30})
        EXPECT_TRUE(BuildNdisKeyRecord(kRsc, key.data(), length, 0, 0, kBssid).empty()) << length;
    EXPECT_TRUE(BuildNdisKeyRecord(nullptr, key.data(), 16, 0, 0, kBssid).empty());
    EXPECT_TRUE(BuildNdisKeyRecord(kRsc, nullptr, 16, 0, 0, kBssid).empty());
}

class KeyInstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
        adapter.bssid = {0x00, 0x0C, 0x41, 0x11, 0x22, 0x33};
        SetKeyInstallTarget(adapter, handle);
    }
    void TearDown() override { ClearKeyInstallTarget(); }
    FakeAdapterLibrary adapter;
    AdapterHandle handle{};
};

TEST_F(KeyInstallerTest, WritesEachKeyRecordWithTheBssidOfThatMoment) {
    const Bytes pairwise = KeyOf(32), group = KeyOf(16);
    InstallNegotiatedKey(kRsc, pairwise.data(), 32, 0, KeyKind::Pairwise);
    adapter.bssid = {0x00, 0x0C, 0x41, 0x44, 0x55, 0x66};
    InstallNegotiatedKey(kRsc, group.data(), 16, 2, KeyKind::Group);

    ASSERT_EQ(adapter.oids.size(), 2u);
    EXPECT_EQ(adapter.oids[0].oid, kOidAddKey);
    EXPECT_EQ(adapter.oids[0].bytes, ExpectedKeyRecord(32, 0xE0000000u, pairwise));
    EXPECT_EQ(adapter.oids[1].oid, kOidAddKey);
    Bytes expectedGroup = ExpectedKeyRecord(16, 0x20000002u, group);
    std::memcpy(&expectedGroup[12], adapter.bssid.data(), 6);
    EXPECT_EQ(adapter.oids[1].bytes, expectedGroup);
    EXPECT_EQ(adapter.CallNames(), (std::vector<std::string>{"QueryWL_BSSID", "WriteOid", "QueryWL_BSSID", "WriteOid"}));
    EXPECT_EQ(adapter.Calls()[1], "WriteOid(" + std::to_string(0xFF12FF1DUL) + ",71)");
}

TEST_F(KeyInstallerTest, RefusedKeysAndMissingTargetWriteNothing) {
    const Bytes key = KeyOf(64);
    InstallNegotiatedKey(kRsc, key.data(), 64, 0, KeyKind::Pairwise);
    InstallNegotiatedKey(kRsc, key.data(), -5, 0, KeyKind::Group);
    InstallNegotiatedKey(nullptr, key.data(), 16, 0, KeyKind::Group);
    ClearKeyInstallTarget();
    InstallNegotiatedKey(kRsc, key.data(), 16, 0, KeyKind::Pairwise);
    EXPECT_TRUE(adapter.Calls().empty());
}

}  // namespace
}  // namespace hx::test
