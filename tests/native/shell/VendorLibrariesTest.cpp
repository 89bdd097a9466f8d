// What the utility says about the two libraries it runs on, and how a library it cannot use
// in full is taken: as none at all.
#include <gtest/gtest.h>

#include "adapter/AdapterExports.h"
#include "app/VendorLibraries.h"
#include "auth/SupplicantExports.h"

namespace hx {
namespace {

TEST(VendorLibraries, OnlyTheStandInsMarkMakesAStandIn) {
    const struct {
        VersionStrings strings;
        LibraryKind kind;
        std::string version;
    } cases[] = {
        {{}, LibraryKind::Other, ""},   // no version resource
        {{{"FileVersion", "5.1.0.3"}}, LibraryKind::Other, "5.1.0.3"},
        {{{"FileVersion", "5.1\x01" + std::string(60, '9')}}, LibraryKind::Other, "5.1?" + std::string(36, '9')},
        {{{"HX88UStandIn", ""}, {"FileVersion", "1.0"}}, LibraryKind::Other, "1.0"},
        {{{"HX88UStandIn", "simulated adapter"}, {"FileVersion", "1.2.0.1"}}, LibraryKind::StandIn, ""},
    };
    for (const auto& c : cases) {
        const LibraryIdentity identity = IdentifyLibrary(c.strings);
        EXPECT_EQ(identity.kind, c.kind) << c.version;
        EXPECT_EQ(identity.version, c.version);
    }
}

TEST(VendorLibraries, AboutAndTheTitleSayWhatEachLibraryIs) {
    VendorLibraries simulated{{LibraryKind::StandIn, {}}, {LibraryKind::StandIn, {}}};
    EXPECT_EQ(LibrariesText(simulated),
              "Adapter library: simulated stand-in (VUVAVO.dll)\r\nSupplicant library: simulated stand-in (dot1x_dll.dll)");
    EXPECT_STREQ(MainWindowTitle(simulated.SimulatedAdapter()), "Halvorn HX-88U Utility (simulated)");
    VendorLibraries real{{LibraryKind::Other, "5.1.0.3"}, {LibraryKind::Unusable, {}}};
    EXPECT_EQ(LibrariesText(real), "Adapter library: VUVAVO.dll 5.1.0.3\r\nSupplicant library: no usable dot1x_dll.dll");
    EXPECT_STREQ(MainWindowTitle(real.SimulatedAdapter()), "Halvorn HX-88U Utility");
    for (const char* title : {"Halvorn HX-88U Utility", "Halvorn HX-88U Utility (simulated)"})
        EXPECT_TRUE(IsMainWindowTitle(title)) << title;
    EXPECT_FALSE(IsMainWindowTitle("Halvorn HX-88U Utility (other)"));
}

// A library that lacks one export is not half used: nothing is called through it.
TEST(VendorLibraries, ALibraryWithoutEveryExportFailsEveryCall) {
    AdapterExports adapterExports = LinkedAdapterExports();
    ASSERT_TRUE(adapterExports.Complete());
    adapterExports.WriteOid = nullptr;
    const auto adapter = AdapterLibraryOver(adapterExports);
    AdapterListEntry entries[4]{};
    EXPECT_EQ(adapter->CreateNICAdapterList(entries, 4), -1);
    const unsigned char bytes[2] = {0xAB, 0xCD};
    char text[8] = "stale";
    EXPECT_EQ(adapter->BinToHexStr(bytes, text, 2, 1), -1);
    EXPECT_STREQ(text, "");

    SupplicantExports supplicantExports = LinkedSupplicantExports();
    ASSERT_TRUE(supplicantExports.Complete());
    supplicantExports.genMySSLFile = nullptr;
    const auto supplicant = SupplicantLibraryOver(supplicantExports);
    EXPECT_EQ(supplicant->do_eapol_run(), 0) << "never reported as an EAP success";
    unsigned char key[32] = {};
    EXPECT_EQ(supplicant->Get_PSK_Key_32byte("passphrase", "ssid", 4, 4096, key, 32), -1);
}

}  // namespace
}  // namespace hx
