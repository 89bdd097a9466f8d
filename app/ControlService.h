// The control channel's requests, answered in the core: one request record in, the reply's
// records out. Each verb goes through the operations the pages use, so a request does what
// the user could do with the windows, in the same order, with the same stored values, and
// the windows show the result (through ShellPort and ControlWindowPort).
//
// Verbs and their answers (after the status record):
//   status          adapter control link [ssid bssid channel rate-kbps quality signal
//                   signal-dbm network] auth cipher pairwise-key group-key failed-joins joins
//                   adapter-library supplicant-library (simulated|other|none)
//   scan            survey=<lists collected so far>; the new list is in once the count passes it
//   survey          survey= scanning=, then bssid= ssid= security= mode= channel= signal= per network
//   connect         ssid= [bssid=] [wep-key=<1-4>:<key> [wep-auth=]] [passphrase= [cipher=]];
//                   a listed network Connect would refuse is refused with its message
//   profile-list    name= per profile
//   profile-load, profile-delete, profile-save   name=
//   profile-get     name= [keys=clear|none]: one record, name= first, then the stored values
//   profile-put     name= and any of the stored values: a new profile over a fresh setting
//                   (FreshSetting: none of the keys or credentials of the setting in force)
//
// The stored values of profile-get and profile-put are named after their registry values:
// SSID, Channel, NetworkType, DesiredRate, AuthenticationMode, WEPStatus, WEPDefaultKeyId,
// WEPKeyLength, WEPKey<bits>_0..3 (the key texts of the profile's key length, as hex text),
// PowerSaveMode, PreambleMode, Domain, Dot1xProtocol, Dot1xPassphrase, Dot1xUsername,
// Dot1xPassword, Dot1xWPAIEs, Dot1xCertSubject, Dot1xCertIssuer. The keys, Dot1xPassphrase
// and Dot1xPassword are sent only with keys=clear.
//
// Until the heartbeat has first looked for the adapter, every request is refused with
// code 8 and starting=yes: the utility is starting, and the client may ask again.
//
// A refused request (unknown verb or field, a zero byte in any value, a value out of range,
// an unknown or taken profile name, a secured network without its key) changes nothing;
// its message is the text the page would show, where the page has one.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "app/ControlRecord.h"
#include "app/ShellPort.h"
#include "app/UtilityState.h"
#include "pages/SurveyList.h"

namespace hx {

class AdapterLibrary;
class JoinFailureNotice;
class LastSettingStore;
class ProfileStore;
class SettingApplier;
class WorkerControl;

// What a request needs of the windows beyond ShellPort.
class ControlWindowPort {
public:
    virtual ~ControlWindowPort() = default;
    // The networks of the Site Survey page's last collected list, in row order.
    virtual std::vector<SurveyEntry> SurveyEntries() = 0;
    // The Profile page lists the stored profiles again.
    virtual void RefreshProfileList() = 0;
};

struct ControlContext {
    UtilityState& state;
    AdapterLibrary& library;
    SettingApplier& applier;
    WorkerControl& worker;
    LastSettingStore& lastSetting;
    ProfileStore& profiles;
    ShellPort& shell;
    ControlWindowPort& window;
    JoinFailureNotice* notice = nullptr;  // keys and failed joins; none: reported as none
};

// "00-11-22-33-44-55".
std::string ControlBssidText(const uint8_t* bssid);
// "open", "WEP", "WPA-PSK TKIP", "WPA-PSK AES", "WPA TKIP", "WPA AES", the same with WPA2
// ("WPA2-PSK AES", ...), and for networks Connect refuses "WPA3-SAE" (SAE only),
// "WPA2-PSK PMF" or "WPA2 PMF" (management frame protection required) and "WPA2 unusable".
std::string SurveySecurityText(const SurveyEntry& entry);

class ControlService {
public:
    explicit ControlService(ControlContext context) : c_(context) {}

    // The request as it came off the pipe (one record, a line end optional) to the reply text.
    std::string Answer(std::string_view request);
    std::vector<ControlRecord> Handle(const ControlRecord& request);

private:
    std::vector<ControlRecord> Status();
    std::vector<ControlRecord> Scan();
    std::vector<ControlRecord> Survey();

    ControlContext c_;
};

// Refusals, shared by the verb families.
std::vector<ControlRecord> Refused(int code, std::string_view message);
// Why the windows could not do what changes the adapter or the stores now: no adapter
// ("Open" does nothing) or Windows' Zero Configuration in control (its message). Empty
// when they could.
std::string WindowsUnavailable(const UtilityState& state);
// The answer to a request that applied the setting: ok when the adapter took all of it;
// status 4 when a call to the adapter library was refused, so that part is still owed
// (the heartbeat applies it again).
std::vector<ControlRecord> AppliedOrOwed(const UtilityState& state);
// Null when every field of the request is one of the allowed names (verb included).
const std::string* UnknownField(const ControlRecord& request, std::initializer_list<std::string_view> allowed);

// The verb families' own files.
std::vector<ControlRecord> ConnectRequest(ControlContext& c, const ControlRecord& request);
std::vector<ControlRecord> ProfileRequest(ControlContext& c, const std::string& verb, const ControlRecord& request);

}  // namespace hx
