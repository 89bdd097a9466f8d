#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>

#include "tools/hxctl/ProfileFields.h"

namespace hx::ctl {
namespace {

// profile-get's fields, exported with the keys in clear and imported again, come back as
// the profile-put fields they were (the ones the XML can carry).
TEST(ProfileFields, ExportThenImportGivesBackTheStoredFields) {
    // name=value fields separated by '|'.
    const std::string cases[] = {
        "SSID=WEP-Lab|NetworkType=1|AuthenticationMode=0|WEPStatus=0|WEPDefaultKeyId=0|WEPKeyLength=64|"
        "WEPKey64_0=12 34 56 78 90",
        "SSID=Home Net|NetworkType=1|AuthenticationMode=4|WEPStatus=4|Dot1xPassphrase=tkip-passphrase",
        "SSID=Cafe|NetworkType=0|AuthenticationMode=0|WEPStatus=1",
        "SSID=Lab128|NetworkType=1|AuthenticationMode=1|WEPStatus=0|WEPDefaultKeyId=2|WEPKeyLength=128|"
        "WEPKey128_2=00 11 22 33 44 55 66 77 88 99 AA BB CC",
    };
    for (const bool lowerCase : {false, true})
    for (const std::string& text : cases) {
        // The utility sends more fields than the XML maps, and the other lengths' keys; its
        // names may come in the wire format's lower case ("wepkey64-0").
        ControlRecord stored;
        std::istringstream fields(text);
        for (std::string field; std::getline(fields, field, '|');) {
            std::string name = field.substr(0, field.find('='));
            for (char& c : name) c = !lowerCase ? c : c == '_' ? '-' : static_cast<char>(std::tolower(c));
            stored.Set(name, field.substr(field.find('=') + 1));
        }
        stored.Set("Channel", 6).Set("PowerSaveMode", 0).Set("WEPKey256_2", "01");
        const ExportedWlanProfile exported = WlanProfileToXml("P", SettingFromProfileFields(stored), true);
        ASSERT_TRUE(exported.Written()) << exported.error;
        const ImportedWlanProfile imported = WlanProfileFromXml(exported.root);
        ASSERT_TRUE(imported.Accepted()) << imported.error;
        EXPECT_EQ(imported.name, "P");
        std::string back;
        for (const auto& [name, value] : ProfilePutFields(imported).fields) back += (back.empty() ? "" : "|") + name + "=" + value;
        EXPECT_EQ(back, text) << exported.xml;
    }
}

}  // namespace
}  // namespace hx::ctl
