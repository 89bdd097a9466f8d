// Profile XML read by XmlLite from files as Windows writes them, and what it refuses.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "config/WlanProfileXml.h"
#include "tools/hxctl/win32/XmlLiteTree.h"

namespace hx::win {
namespace {

// Written from the published schema the way Windows' export lays a profile out, with the
// byte-order mark, a comment, and an element of a later schema version.
const char kWpaPskProfile[] =
    "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n"
    "<WLANProfile xmlns=\"http://www.microsoft.com/networking/WLAN/profile/v1\">\r\n"
    "\t<name>Caf\xC3\xA9 &amp; Bar</name>\r\n\t<SSIDConfig>\r\n\t\t<SSID>\r\n\t\t\t<hex>436166C3A9</hex>\r\n"
    "\t\t\t<name>Caf\xC3\xA9</name>\r\n\t\t</SSID>\r\n\t</SSIDConfig>\r\n\t<!-- exported -->\r\n"
    "\t<connectionType>ESS</connectionType>\r\n\t<connectionMode>auto</connectionMode>\r\n"
    "\t<MSM>\r\n\t\t<security>\r\n\t\t\t<authEncryption>\r\n\t\t\t\t<authentication>WPAPSK</authentication>\r\n"
    "\t\t\t\t<encryption>TKIP</encryption>\r\n\t\t\t\t<useOneX>false</useOneX>\r\n\t\t\t</authEncryption>\r\n"
    "\t\t\t<sharedKey>\r\n\t\t\t\t<keyType>passPhrase</keyType>\r\n\t\t\t\t<protected>false</protected>\r\n"
    "\t\t\t\t<keyMaterial><![CDATA[pass <word>]]> &amp; more</keyMaterial>\r\n\t\t\t</sharedKey>\r\n"
    "\t\t</security>\r\n\t</MSM>\r\n"
    "\t<MacRandomization xmlns=\"http://www.microsoft.com/networking/WLAN/profile/v3\">\r\n"
    "\t\t<enableRandomization>false</enableRandomization>\r\n\t</MacRandomization>\r\n</WLANProfile>\r\n";

const char kWepProfile[] =
    "<?xml version=\"1.0\"?>\n<WLANProfile xmlns=\"http://www.microsoft.com/networking/WLAN/profile/v1\">\n"
    "<name>Lab</name><SSIDConfig><SSID><name>LabNet</name></SSID></SSIDConfig>\n"
    "<connectionType>IBSS</connectionType><connectionMode>manual</connectionMode>\n"
    "<MSM><security><authEncryption><authentication>shared</authentication><encryption>WEP</encryption>"
    "<useOneX>false</useOneX></authEncryption><sharedKey><keyType>networkKey</keyType><protected>false</protected>"
    "<keyMaterial>0A1B2C3D4E</keyMaterial></sharedKey><keyIndex>1</keyIndex></security></MSM></WLANProfile>";

std::wstring TempFile(const std::string& bytes) {
    wchar_t folder[MAX_PATH], path[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    ::GetTempFileNameW(folder, L"hxp", 0, path);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST(XmlLiteTree, ReadsProfilesFromFilesAsWindowsWritesThem) {
    const struct { const char* text; const char* ssid; const char* name; int mode; } cases[] = {
        {kWpaPskProfile, "Caf\xC3\xA9", "Caf\xC3\xA9 & Bar", AuthMode::WpaPsk},
        {kWepProfile, "LabNet", "Lab", AuthMode::Shared},
    };
    for (const auto& c : cases) {
        const std::wstring path = TempFile(c.text);
        const XmlTree tree = ReadXmlFile(path);
        ::DeleteFileW(path.c_str());
        ASSERT_TRUE(tree.Read()) << tree.error;
        const ImportedWlanProfile profile = WlanProfileFromXml(tree.root);
        ASSERT_TRUE(profile.Accepted()) << profile.error;
        EXPECT_EQ(std::tie(profile.name, profile.setting.SSID, profile.setting.AuthenticationMode),
                  std::tie(c.name, c.ssid, c.mode));
    }
    EXPECT_EQ(WlanProfileFromXml(ReadXmlTree(kWpaPskProfile).root).setting.Dot1xPassphrase, "pass <word> & more");
    EXPECT_EQ(WlanProfileFromXml(ReadXmlTree(kWepProfile).root).setting.WEPKey[1], "0A 1B 2C 3D 4E");
}

TEST(XmlLiteTree, ReadsBackExactlyWhatTheExportWrote) {
    WlanSetting setting;
    // No tab, CR or LF: Wine's XmlLite turns their character references into spaces.
    setting.SSID = "here & <x> \"q\" \xE2\x82\xAC";
    setting.NetworkType = NetworkType::Infrastructure;
    setting.AuthenticationMode = AuthMode::WpaPsk;
    setting.WEPStatus = WepStatus::Aes;
    setting.Dot1xPassphrase = "  <&>'\"]]>  ";
    const ExportedWlanProfile out = WlanProfileToXml("Caf\xC3\xA9 \\ 1", setting, true);
    ASSERT_TRUE(out.Written()) << out.error;
    const XmlTree tree = ReadXmlTree(out.xml);
    ASSERT_TRUE(tree.Read()) << tree.error;
    EXPECT_EQ(XmlDocumentText(tree.root), out.xml);
    EXPECT_EQ(tree.root, out.root);
}

TEST(XmlLiteTree, RefusesWhatIsNotAWholeSmallXmlDocument) {
    const std::string whole = kWepProfile;
    std::string huge = whole + std::string(kMaxXmlDocumentBytes, ' ');
    const struct { std::string bytes; const char* because; } cases[] = {
        {whole.substr(0, whole.size() / 2), "truncated"},
        {whole.substr(0, whole.size() - 1), "truncated"},
        {"<WLANProfile><name>x</WLANProfile>", "not well-formed"},
        {"<a><b></a>", "not well-formed"},
        {"<a/><b/>", "not well-formed"},
        {"<!DOCTYPE a [<!ENTITY x \"xx\">]><a>&x;</a>", "document type definition"},
        {"", "no element"},
        {"   <!-- nothing -->  ", "no element"},
        {huge, "larger than 1 MB"},
    };
    for (const auto& c : cases) {
        const XmlTree tree = ReadXmlTree(c.bytes);
        EXPECT_NE(tree.error.find(c.because), std::string::npos) << c.because << ": " << tree.error;
        EXPECT_EQ(tree.root, XmlElement{}) << c.because;
    }
    const std::wstring path = TempFile(huge);
    EXPECT_NE(ReadXmlFile(path).error.find("larger than 1 MB"), std::string::npos);
    ::DeleteFileW(path.c_str());
    EXPECT_NE(ReadXmlFile(L"Z:\\no\\such\\profile.xml").error.find("cannot be opened"), std::string::npos);
}

}  // namespace
}  // namespace hx::win
