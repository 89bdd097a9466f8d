#include <gtest/gtest.h>

#include "config/WlanProfileXml.h"
#include "tests/fakes/SampleSetting.h"

namespace hx {
namespace {

// A profile as Windows writes it; nullptr leaves an element out.
struct Spec {
    const char* hex = "4F6666696365";  // "Office"
    const char* ssid = "Office";
    const char* type = "ESS";
    const char* auth = "WPAPSK";
    const char* enc = "TKIP";
    const char* oneX = "false";
    const char* keyType = "passPhrase";
    const char* isProtected = "false";
    const char* key = "correct horse";
    const char* index = nullptr;
};

XmlElement Tree(const Spec& s) {
    const std::string ns = kWlanProfileNamespace;
    const auto add = [&](XmlElement& parent, const char* name, const char* text) {
        if (text != nullptr) parent.Add(name, ns, text);
    };
    XmlElement root{"WLANProfile", ns, {}, {}};
    root.Add("name", ns, "Office & <Lab>");
    XmlElement& ssid = root.Add("SSIDConfig", ns).Add("SSID", ns);
    add(ssid, "hex", s.hex);
    add(ssid, "name", s.ssid);
    add(root, "connectionType", s.type);
    root.Add("connectionMode", ns, "auto");
    XmlElement& security = root.Add("MSM", ns).Add("security", ns);
    XmlElement& pair = security.Add("authEncryption", ns);
    add(pair, "authentication", s.auth);
    add(pair, "encryption", s.enc);
    add(pair, "useOneX", s.oneX);
    if (s.key != nullptr) {
        XmlElement& shared = security.Add("sharedKey", ns);
        add(shared, "keyType", s.keyType);
        add(shared, "protected", s.isProtected);
        add(shared, "keyMaterial", s.key);
    }
    add(security, "keyIndex", s.index);
    root.Add("MacRandomization", "http://www.microsoft.com/networking/WLAN/profile/v3").Add("x", "y", "ignored");
    return root;
}

std::string Joined(const std::vector<std::string>& fields) {
    std::string text;
    for (const auto& f : fields) text += (text.empty() ? "" : " ") + f;
    return text;
}

TEST(WlanProfileXml, RefusesWhatTheAdapterCannotDoAndKeepsNothing) {
    const std::string longName(33, 'x');
    const struct { Spec spec; const char* because; } cases[] = {
        {{.auth = "WPA3SAE", .enc = "AES"}, "cannot join WPA3 or OWE"},
        {{.auth = "OWE", .enc = "AES"}, "cannot join WPA3 or OWE"},
        {{.isProtected = "true", .key = "01000000D08C9DDF0115D1118C7A00C0"}, "protected by Windows; export it with key=clear"},
        {{.auth = "open", .enc = "WEP", .keyType = "networkKey", .key = "123456"}, "a WEP key is"},
        {{.auth = "open", .enc = "WEP", .keyType = "networkKey", .key = "12345678zz"}, "a WEP key is"},
        {{.auth = "shared", .enc = "WEP", .keyType = "networkKey", .key = "abcde", .index = "4"}, "keyIndex"},
        {{.auth = "open", .enc = "WEP", .keyType = "passPhrase", .key = "abcde"}, "networkKey"},
        {{.key = "seven77"}, "8 to 63"},
        {{.key = "0123456789012345678901234567890123456789012345678901234567890123"}, "8 to 63"},
        {{.keyType = "networkKey"}, "passPhrase"},
        {{.hex = nullptr, .ssid = nullptr}, "no SSID"},
        {{.hex = nullptr, .ssid = longName.c_str()}, "longer than 32 bytes"},
        {{.hex = "4F6"}, "odd number of digits"},
        {{.hex = "4G66"}, "not a hexadecimal digit"},
        {{.hex = "4F00"}, "zero byte"},
        {{.type = "IBSS"}, "ad hoc"},
        {{.type = "mesh"}, "connection type"},
        {{.auth = "open", .enc = "TKIP"}, "cannot be used with"},
        {{.enc = "GCMP"}, "cannot use the encryption"},
        {{.auth = "Kerberos"}, "unknown authentication"},
        {{.oneX = "true"}, "802.1X"},
    };
    for (const auto& c : cases) {
        const ImportedWlanProfile profile = WlanProfileFromXml(Tree(c.spec));
        EXPECT_NE(profile.error.find(c.because), std::string::npos) << c.because << ": " << profile.error;
        EXPECT_TRUE(profile.fields.empty() && profile.name.empty() && profile.setting == WlanSetting{}) << c.because;
    }
    XmlElement other = Tree({});
    other.namespaceUri = "http://www.microsoft.com/networking/WLAN/profile/v2";
    EXPECT_NE(WlanProfileFromXml(other).error.find("not a WLAN profile"), std::string::npos);
    EXPECT_NE(WlanProfileFromXml(XmlElement{"html", "", "", {}}).error.find("not a WLAN profile"), std::string::npos);
}

TEST(WlanProfileXml, MapsEachFieldAndComesBackTheSameThroughItsOwnExport) {
    const struct { Spec spec; int type, mode, status, bits, id; const char* key; const char* fields; } cases[] = {
        {{}, 1, 4, 4, 0, 0, "", "Dot1xPassphrase"},
        {{.enc = "AES", .key = " spaces kept "}, 1, 4, 6, 0, 0, "", "Dot1xPassphrase"},
        {{.auth = "open", .enc = "WEP", .keyType = "networkKey", .key = "abcde", .index = "2"},
         1, 0, 0, 64, 2, "61 62 63 64 65", "WEPDefaultKeyId WEPKeyLength WEPKey64_2"},
        {{.type = "IBSS", .auth = "shared", .enc = "WEP", .keyType = "networkKey", .key = "0102030405060708090a0b0c0d"},
         0, 1, 0, 128, 0, "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D", "WEPDefaultKeyId WEPKeyLength WEPKey128_0"},
        {{.auth = "open", .enc = "WEP", .keyType = "networkKey", .key = "abcdefghijklmnopqrstuvwxyz012", .index = "3"},
         1, 0, 0, 256, 3, "61 62 63 64 65 66 67 68 69 6A 6B 6C 6D 6E 6F 70 71 72 73 74 75 76 77 78 79 7A 30 31 32",
         "WEPDefaultKeyId WEPKeyLength WEPKey256_3"},
        {{.hex = nullptr, .type = nullptr, .auth = "open", .enc = "none", .key = nullptr}, 1, 0, 1, 0, 0, "", ""},
        {{.ssid = "Other", .auth = "WPA", .enc = "AES", .oneX = "true"}, 1, 3, 6, 0, 0, "", ""},
        {{.auth = "WPA2PSK", .enc = "AES"}, 1, 7, 6, 0, 0, "", "Dot1xPassphrase"},
        {{.auth = "WPA2", .enc = "AES", .oneX = "true", .key = nullptr}, 1, 6, 6, 0, 0, "", ""},
    };
    for (const auto& c : cases) {
        const ImportedWlanProfile in = WlanProfileFromXml(Tree(c.spec));
        ASSERT_TRUE(in.Accepted()) << in.error;
        const WlanSetting& s = in.setting;
        EXPECT_EQ(in.name, "Office & <Lab>");
        EXPECT_EQ(s.SSID, "Office");  // from the hex form when both are given
        EXPECT_EQ(std::tie(s.NetworkType, s.AuthenticationMode, s.WEPStatus), std::tie(c.type, c.mode, c.status));
        EXPECT_EQ(Joined(in.fields), "SSID NetworkType AuthenticationMode WEPStatus" + std::string(*c.fields ? " " : "") + c.fields);
        if (c.bits != 0) {
            EXPECT_EQ(std::tie(s.WEPKeyLength, s.WEPDefaultKeyId, s.WEPKey[c.id]), std::tie(c.bits, c.id, c.key));
        }
        EXPECT_EQ(s.Dot1xPassphrase, c.mode == 4 || c.mode == 7 ? c.spec.key : "");
        EXPECT_EQ(in.notes.size(), c.mode == 3 || c.mode == 6 ? 1u : 0u);
        const ExportedWlanProfile out = WlanProfileToXml(in.name, s, true);
        ASSERT_TRUE(out.Written()) << out.error;
        const ImportedWlanProfile back = WlanProfileFromXml(out.root);
        EXPECT_EQ(std::tie(back.name, back.setting, back.fields), std::tie(in.name, in.setting, in.fields));
        EXPECT_EQ(MappedFieldValues(back).size(), back.fields.size());
    }
}

TEST(WlanProfileXml, ExportsAStoredProfileAsWindowsWritesItWithTheKeyOnlyOnRequest) {
    WlanSetting wep = test::FullSetting(128);  // ad hoc, shared, WEP, default key 2
    const std::string wepXml = WlanProfileToXml("Lab \"B\"", wep, true).xml;
    EXPECT_EQ(wepXml,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<WLANProfile xmlns=\"http://www.microsoft.com/networking/WLAN/profile/v1\">\n"
              "\t<name>Lab &quot;B&quot;</name>\n"
              "\t<SSIDConfig>\n\t\t<SSID>\n\t\t\t<hex>6F6666696365</hex>\n\t\t\t<name>office</name>\n\t\t</SSID>\n\t</SSIDConfig>\n"
              "\t<connectionType>IBSS</connectionType>\n\t<connectionMode>manual</connectionMode>\n"
              "\t<MSM>\n\t\t<security>\n"
              "\t\t\t<authEncryption>\n\t\t\t\t<authentication>shared</authentication>\n"
              "\t\t\t\t<encryption>WEP</encryption>\n\t\t\t\t<useOneX>false</useOneX>\n\t\t\t</authEncryption>\n"
              "\t\t\t<sharedKey>\n\t\t\t\t<keyType>networkKey</keyType>\n\t\t\t\t<protected>false</protected>\n"
              "\t\t\t\t<keyMaterial>202122232425262728292A2B2C</keyMaterial>\n\t\t\t</sharedKey>\n"
              "\t\t\t<keyIndex>2</keyIndex>\n\t\t</security>\n\t</MSM>\n</WLANProfile>\n");
    WlanSetting psk = wep;
    psk.NetworkType = 1, psk.AuthenticationMode = 4, psk.WEPStatus = 6, psk.SSID = "caf\xC3\xA9\xFF\n";
    const std::string pskXml = WlanProfileToXml("p", psk, true).xml;
    EXPECT_NE(pskXml.find("<hex>636166C3A9FF0A</hex>\n\t\t\t<name>caf\xC3\xA9\xEF\xBF\xBD&#10;</name>"), std::string::npos);
    EXPECT_NE(pskXml.find("<keyType>passPhrase</keyType>\n\t\t\t\t<protected>false</protected>\n"
                          "\t\t\t\t<keyMaterial>correct horse</keyMaterial>"), std::string::npos);
    for (const WlanSetting& s : {wep, psk}) {
        const ExportedWlanProfile noKey = WlanProfileToXml("p", s, false);
        EXPECT_EQ(noKey.xml.find("sharedKey"), std::string::npos);
        EXPECT_EQ(noKey.xml.find("keyIndex"), std::string::npos);
        EXPECT_EQ(Joined(WlanProfileFromXml(noKey.root).fields), "SSID NetworkType AuthenticationMode WEPStatus");
    }
    WlanSetting autoSwitch = wep;
    autoSwitch.AuthenticationMode = 2;
    EXPECT_EQ(WlanProfileFromXml(WlanProfileToXml("p", autoSwitch, true).root).setting.AuthenticationMode, 0);

    const struct { int type, mode, status; const char* ssid; const char* phrase; const char* because; } refused[] = {
        {1, 4, 0, "x", "correct horse", "has no counterpart"},
        {0, 4, 4, "x", "correct horse", "ad hoc network with WPA"},
        {1, 4, 4, "", "correct horse", "no SSID"},
        {1, 4, 4, "x", "short", "pass phrase"},
        {1, 7, 6, "x", "short", "pass phrase"},
        {2, 0, 1, "x", "", "network type 2"},
    };
    for (const auto& r : refused) {
        WlanSetting s = psk;
        s.NetworkType = r.type, s.AuthenticationMode = r.mode, s.WEPStatus = r.status, s.SSID = r.ssid;
        s.Dot1xPassphrase = r.phrase;
        const ExportedWlanProfile out = WlanProfileToXml("p", s, true);
        EXPECT_NE(out.error.find(r.because), std::string::npos) << r.because << ": " << out.error;
        EXPECT_TRUE(out.xml.empty());
    }
}

}  // namespace
}  // namespace hx
