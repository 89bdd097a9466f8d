// A setting with every one of its 22 fields away from its fresh value, for round trips.
#pragma once

#include <string>

#include "config/WlanSetting.h"

namespace hx::test {

inline WlanSetting FullSetting(int bits = 128) {
    WlanSetting s;
    s.SSID = "office";
    s.Channel = 11;
    s.NetworkType = 0;
    s.DesiredRate = "16 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
    s.AuthenticationMode = 1;
    s.WEPStatus = 0;
    const int bytes = bits == 128 ? 13 : (bits == 256 ? 29 : 5);
    for (int i = 0; i < 4; ++i) {
        std::string key;
        for (int b = 0; b < bytes; ++b) {
            if (b > 0) key += ' ';
            key += static_cast<char>('0' + i);
            key += "0123456789ABCDEF"[b % 16];
        }
        s.WEPKey[static_cast<size_t>(i)] = key;
    }
    s.WEPDefaultKeyId = 2;
    s.WEPKeyLength = bits;
    s.PowerSaveMode = 2;
    s.PreambleMode = 1;
    s.Domain = 0x30;
    s.Dot1xProtocol = 1;
    s.Dot1xPassphrase = "correct horse";
    s.Dot1xUsername = "alice";
    s.Dot1xPassword = "s3cret";
    s.Dot1xWPAIEs = "DD 18 00 50 F2 01 01 00";
    s.Dot1xCertSubject = "CN=alice";
    s.Dot1xCertIssuer = "Not Found";
    return s;
}

}  // namespace hx::test
